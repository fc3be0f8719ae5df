#pragma once
// The digest routine on the CryptoAPI: MD5 from the system's RSA provider.
#include <string>

#include "engine/services.h"
#include "win32/unique_handle.h"

class CryptoDigest : public Digest {
 public:
  // 32 lowercase hexadecimal digits; empty when the hash service fails.
  std::string ofBytes(const std::string& bytes) override;
  // Read in 1 MiB pieces; a file that cannot be opened or read counts as
  // empty content.
  std::string ofFile(const std::string& path) override;

 private:
  // The provider, acquired on first use (and again after a failure).
  HCRYPTPROV provider();
  // A fresh MD5 hash object, or an empty one when the service fails.
  UniqueCryptHash newHash();

  UniqueCryptProvider provider_;
};

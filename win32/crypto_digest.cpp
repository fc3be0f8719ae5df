#include "win32/crypto_digest.h"

#include <algorithm>
#include <cstddef>
#include <memory>

namespace {
constexpr DWORD kChunk = 1024 * 1024;

bool hashData(HCRYPTHASH hash, const char* data, std::size_t size) {
  // CryptHashData takes a DWORD length: feed a long text in pieces.
  while (size > 0) {
    const DWORD n = static_cast<DWORD>(std::min<std::size_t>(size, kChunk));
    if (!CryptHashData(hash, reinterpret_cast<const BYTE*>(data), n, 0)) return false;
    data += n;
    size -= n;
  }
  return true;
}

std::string hexValue(HCRYPTHASH hash) {
  BYTE value[16];
  DWORD size = sizeof value;
  if (!CryptGetHashParam(hash, HP_HASHVAL, value, &size, 0) || size != sizeof value) return {};
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (BYTE b : value) {
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}
}  // namespace

HCRYPTPROV CryptoDigest::provider() {
  if (!provider_)
    CryptAcquireContextA(provider_.put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT);
  return provider_.get();
}

UniqueCryptHash CryptoDigest::newHash() {
  UniqueCryptHash hash;
  const HCRYPTPROV p = provider();
  if (p) CryptCreateHash(p, CALG_MD5, 0, 0, hash.put());
  return hash;
}

std::string CryptoDigest::ofBytes(const std::string& bytes) {
  UniqueCryptHash hash = newHash();
  if (!hash || !hashData(hash.get(), bytes.data(), bytes.size())) return {};
  return hexValue(hash.get());
}

std::string CryptoDigest::ofFile(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return ofBytes({});
  UniqueCryptHash hash = newHash();
  if (!hash) return {};
  // On the heap, and one piece at a time: backup files may be large.
  std::unique_ptr<char[]> buffer(new char[kChunk]);
  for (;;) {
    DWORD read = 0;
    // A read that fails part way leaves no whole content: count it as empty.
    if (!ReadFile(file.get(), buffer.get(), kChunk, &read, nullptr)) return ofBytes({});
    if (read == 0) break;
    if (!hashData(hash.get(), buffer.get(), read)) return {};
  }
  return hexValue(hash.get());
}

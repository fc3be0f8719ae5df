#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + separator + name.
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// Whole-file helpers for tests: bytes in, bytes out.
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);
bool pathExists(const std::string& path);

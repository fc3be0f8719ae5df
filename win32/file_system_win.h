#pragma once
// The engine's file operations on the real file system, with the ANSI
// functions: paths are bytes in the system code page.
#include <cstdint>
#include <string>

#include "engine/services.h"

class Win32FileSystem : public FileSystem {
 public:
  // By FindFirstFileA, so the file is never opened: a file that another
  // program holds exclusively still shows its time.
  FileStamp stamp(const std::string& path) override;
  std::int64_t openedSize(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool copyFile(const std::string& from, const std::string& to) override;
  bool deleteFile(const std::string& path) override;
};

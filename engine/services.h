#pragma once
// What the backup engine needs from the system, as a few small interfaces.
// The Win32 layer (win32/) implements them on the real file system, the
// CryptoAPI, the uptime clock and the message loop; tests may hand in their own.
#include <cstdint>
#include <string>

#include "common/oledate.h"

// What a directory lookup tells of a file.
struct FileStamp {
  bool found = false;
  // Last-write time in local time, whole seconds (oledate::kNoTime if not found).
  double localTime = oledate::kNoTime;
  // The same time at full resolution (100 ns units since 1601, UTC); 0 if not found.
  std::uint64_t rawTime = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Last-write time by directory lookup (no opening of the file).
  virtual FileStamp stamp(const std::string& path) = 0;
  // Size of the file as found by opening it for reading; 0 if it cannot be opened.
  virtual std::int64_t openedSize(const std::string& path) = 0;
  // Whether anything (file or directory) exists at the path.
  virtual bool exists(const std::string& path) = 0;
  virtual bool createDirectory(const std::string& path) = 0;
  // Copies, replacing a file that is already at `to`.
  virtual bool copyFile(const std::string& from, const std::string& to) = 0;
  virtual bool deleteFile(const std::string& path) = 0;
};

// The digest routine: MD5 as 32 lowercase hexadecimal digits, or the empty
// text when the system's hash service is unavailable.
class Digest {
 public:
  virtual ~Digest() = default;
  virtual std::string ofBytes(const std::string& bytes) = 0;
  // The digest of a file's content, read in chunks (never whole into memory);
  // a file that cannot be read counts as empty content.
  virtual std::string ofFile(const std::string& path) = 0;
};

// Milliseconds since the system started.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t uptimeMs() = 0;
};

// The window thread's message loop, run from inside a handler.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Dispatches the window messages that are waiting, then returns.
  virtual void handlePendingEvents() = 0;
  virtual void sleepMs(unsigned milliseconds) = 0;
};

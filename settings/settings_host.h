#pragma once
// What the settings store needs from the system. win32/ implements it on the
// real file and message loop; tests hand in their own to step inside a write.
#include <cstdint>
#include <memory>
#include <string>

// The open settings file. Every change to it goes through this one narrow
// operation, so how a change is made durable lives in one place.
class SettingsFile {
 public:
  virtual ~SettingsFile() = default;
  // A count that reaches past the end of the file: everything from the offset.
  static constexpr std::uint64_t kToEnd = ~std::uint64_t{0};
  // At `offset`, replace `count` bytes by `bytes` (the rest of the file moves).
  // False when the offset lies beyond the end or the file could not be changed;
  // the bytes before the offset are never touched.
  virtual bool replace(std::uint64_t offset, std::uint64_t count, const std::string& bytes) = 0;
};

enum class StoreMessageKind { kWarningSystemModal, kPlain };

class SettingsHost {
 public:
  virtual ~SettingsHost() = default;
  // The whole file; false when it is missing or cannot be read.
  virtual bool readFile(const std::string& path, std::string& bytes) = 0;
  // Opens for reading and writing, creating it empty if missing, never
  // truncating it, letting other programs read but not write it. Null on failure.
  virtual std::unique_ptr<SettingsFile> openForEditing(const std::string& path) = 0;
  // Writes a side file whole, replacing what was there.
  virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
  // Creates one directory; true also when it already exists.
  virtual bool createDirectory(const std::string& path) = 0;
  // Called once per search round: lets pending window messages run.
  virtual void dispatchPendingMessages() = 0;
  // A message box (OK button) with this text and title.
  virtual void showMessage(const std::string& text, const std::string& title,
                           StoreMessageKind kind) = 0;
};

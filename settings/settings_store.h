#pragma once
// The one settings object of the program: the INI-style settings file held
// in memory and edited in place, every change reaching the open file at once.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "settings/menu_item.h"
#include "settings/settings_host.h"

class SettingsStore {
 public:
  // Statuses of WriteEntry and ProcessPendingWrites.
  static constexpr int kWritten = 0;
  static constexpr int kQueued = 3;
  static constexpr int kGivenUp = -1;
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  explicit SettingsStore(SettingsHost& host);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  void Close();
  bool LoadFile(const std::string& path);
  int ProcessPendingWrites();
  int WriteEntry(const std::string& section, const std::string& key, const std::string& value);
  std::string ReadEntry(const std::string& section, const std::string& key,
                        const std::string& defaultValue, bool emptyMeansMissing) const;
  // Position of the "[" of the next header line between from and to, or kNotFound.
  std::size_t FindNextSection(std::size_t from, std::size_t to) const;
  bool Open(const std::string& path, int mode = 0);

  void SetSection(const std::string& name);
  std::string ReadBytes(const std::string& key, const std::string& defaultBytes);
  bool WriteBytes(const std::string& key, const std::string& bytes);
  bool WriteText(const std::string& key, const std::string& value);
  std::string ReadText(const std::string& key, const std::string& defaultValue);
  bool WriteNumber(const std::string& key, double value);
  double ReadNumber(const std::string& key, double defaultValue);
  bool WriteBool(const std::string& key, bool value);
  bool ReadBool(const std::string& key, bool defaultValue);
  bool ReadBoolNotFalse(const std::string& key, bool defaultValue);
  bool WriteDate(const std::string& key, double value);
  double ReadDate(const std::string& key, double defaultValue);
  bool SaveMenuChecked(MenuItem& item);
  bool LoadMenuChecked(MenuItem& item);

  const std::string& document() const { return document_; }
  bool isOpen() const { return file_ != nullptr; }
  const std::string& currentSection() const { return currentSection_; }
  // The side file of a byte value under the current section.
  std::string sideFilePath(const std::string& key) const;

 private:
  struct PendingWrite {
    int kind;  // 0: write value (section, key, value)
    std::vector<std::string> texts;
  };

  int applyWrite(const std::string& section, const std::string& key, const std::string& value);
  // The one way the document changes: at `offset`, `count` bytes become `bytes`,
  // in the document and in the open file alike.
  void change(std::size_t offset, std::size_t count, const std::string& bytes);
  // Puts the file back in step with the document after a change that failed.
  bool catchUpFile();
  void reportGivingUp();

  SettingsHost& host_;
  std::string document_;
  std::unique_ptr<SettingsFile> file_;
  std::string fileName_;
  bool busy_ = false;
  std::deque<PendingWrite> pendingWrites_;
  std::string path_;
  std::string currentSection_;
  // From here on the file may differ from the document (a change to it
  // failed); kNotFound while the two are equal.
  std::size_t fileBehindFrom_ = kNotFound;
};

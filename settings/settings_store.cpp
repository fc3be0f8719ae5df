#include "settings/settings_store.h"

#include <algorithm>
#include <utility>

#include "common/oledate.h"
#include "common/text.h"
#include "settings/ini_document.h"
#include "settings/value_forms.h"

namespace {
const char kCrLf[] = "\r\n";
// A write that keeps losing the header it has just appended gives up.
constexpr int kMostAppendedHeaders = 10;

// The side files' folder: "inibin" in the settings file's folder, or in the
// current folder for a bare file name.
std::string sideFolderOf(const std::string& settingsPath) {
  if (text::findLast(settingsPath, "\\") == text::npos) return "inibin";
  return text::directoryOf(settingsPath) + "\\inibin";
}
}  // namespace

SettingsStore::SettingsStore(SettingsHost& host) : host_(host) {}

SettingsStore::~SettingsStore() { Close(); }

void SettingsStore::Close() {
  if (file_ && fileBehindFrom_ != kNotFound) catchUpFile();
  file_.reset();
  fileBehindFrom_ = kNotFound;
  document_.clear();
}

bool SettingsStore::LoadFile(const std::string& path) {
  Close();
  fileName_ = path;
  std::string bytes;
  if (!host_.readFile(path, bytes)) return false;
  document_ = std::move(bytes);
  return true;
}

int SettingsStore::ProcessPendingWrites() {
  if (pendingWrites_.empty()) return kGivenUp;
  // Called again from inside a change: the run in progress gets to it.
  if (busy_) return kQueued;
  int firstStatus = kGivenUp;
  bool first = true;
  while (!pendingWrites_.empty()) {
    busy_ = true;
    // A copy: handlers may queue more entries while this one is applied.
    PendingWrite entry = pendingWrites_.front();
    int status = kGivenUp;
    if (entry.kind == 0 && entry.texts.size() == 3)
      status = applyWrite(entry.texts[0], entry.texts[1], entry.texts[2]);
    pendingWrites_.pop_front();
    busy_ = false;
    if (first) firstStatus = status;
    first = false;
  }
  return firstStatus;
}

int SettingsStore::WriteEntry(const std::string& section, const std::string& key,
                              const std::string& value) {
  pendingWrites_.push_back(PendingWrite{0, {section, key, value}});
  if (busy_) return kQueued;
  return ProcessPendingWrites();
}

std::string SettingsStore::ReadEntry(const std::string& section, const std::string& key,
                                     const std::string& defaultValue,
                                     bool emptyMeansMissing) const {
  // Taken before the first round: a handler may change what was passed in.
  const std::string header = ini::headerOf(section);
  const std::string name = key;
  std::string fallback = defaultValue;
  std::size_t start = 0;
  for (;;) {
    host_.dispatchPendingMessages();
    std::size_t at = document_.find(header, start);
    if (at == std::string::npos) return fallback;
    if (!ini::beginsLine(document_, at)) {
      start = at + 1;
      continue;
    }
    ini::EntrySpan entry;
    if (!ini::findEntry(document_, at, header.size(), name, entry)) return fallback;
    if (entry.valueBegin == entry.valueEnd && emptyMeansMissing) return fallback;
    std::string value = document_.substr(entry.valueBegin, entry.valueEnd - entry.valueBegin);
    value.resize(std::min(value.size(), value.find('\0')));
    return value;
  }
}

std::size_t SettingsStore::FindNextSection(std::size_t from, std::size_t to) const {
  std::size_t at = ini::findNextSection(document_, from, to);
  return at == ini::npos ? kNotFound : at;
}

bool SettingsStore::Open(const std::string& path, int mode) {
  // Mode 0, the file on disk, is the only one there is.
  if (mode != 0) return false;
  path_ = path;
  LoadFile(path);
  file_ = host_.openForEditing(path);
  return file_ != nullptr;
}

int SettingsStore::applyWrite(const std::string& section, const std::string& key,
                              const std::string& value) {
  const std::string header = ini::headerOf(section);
  int appended = 0;
  std::size_t start = 0;
  for (;;) {
    host_.dispatchPendingMessages();
    std::size_t at = document_.find(header, start);
    if (at == std::string::npos) {
      std::size_t oldEnd = document_.size();
      change(oldEnd, 0, document_.empty() ? header : kCrLf + header);
      if (++appended > kMostAppendedHeaders) {
        reportGivingUp();
        return kGivenUp;
      }
      start = oldEnd;
      continue;
    }
    if (!ini::beginsLine(document_, at)) {
      start = at + 1;
      continue;
    }
    ini::EntrySpan entry;
    if (ini::findEntry(document_, at, header.size(), key, entry)) {
      change(entry.valueBegin, entry.valueEnd - entry.valueBegin, value);
      return kWritten;
    }
    // The new line stands first under the header with an empty value; the
    // next round finds it and fills the value in.
    change(ini::headerLineEnd(document_, at, header.size()), 0, kCrLf + key + "=");
    start = at;
  }
}

void SettingsStore::change(std::size_t offset, std::size_t count, const std::string& bytes) {
  document_.replace(offset, count, bytes);
  if (!file_) return;
  if (fileBehindFrom_ == kNotFound) {
    if (!file_->replace(offset, count, bytes)) fileBehindFrom_ = offset;
    return;
  }
  fileBehindFrom_ = std::min(fileBehindFrom_, offset);
  catchUpFile();
}

bool SettingsStore::catchUpFile() {
  // The file is right up to fileBehindFrom_ (a change never touches the bytes
  // before its offset), so the rest of the document is written over the rest.
  if (!file_->replace(fileBehindFrom_, SettingsFile::kToEnd, document_.substr(fileBehindFrom_)))
    return false;
  fileBehindFrom_ = kNotFound;
  return true;
}

void SettingsStore::reportGivingUp() {
  host_.showMessage("配置模块出现意外，可能导致无法正常保存！详情请咨询禾岚。", "禾岚：",
                    StoreMessageKind::kWarningSystemModal);
  host_.showMessage(document_, "信息：", StoreMessageKind::kPlain);
}

void SettingsStore::SetSection(const std::string& name) { currentSection_ = name; }

std::string SettingsStore::sideFilePath(const std::string& key) const {
  return sideFolderOf(path_) + "\\" + currentSection_ + "-" + key + ".ibn";
}

std::string SettingsStore::ReadBytes(const std::string& key, const std::string& defaultBytes) {
  // Before Open there is no settings file, so no folder of side files.
  if (path_.empty()) return defaultBytes;
  std::string bytes;
  if (!host_.readFile(sideFilePath(key), bytes) || bytes.empty()) return defaultBytes;
  return bytes;
}

bool SettingsStore::WriteBytes(const std::string& key, const std::string& bytes) {
  // Without the settings file open, writes stay off the disk: another copy
  // of the program may hold the file and its side files.
  if (!file_) return false;
  // A folder that cannot be made shows in the write that follows.
  host_.createDirectory(sideFolderOf(path_));
  return host_.writeFile(sideFilePath(key), bytes);
}

bool SettingsStore::WriteText(const std::string& key, const std::string& value) {
  return WriteEntry(currentSection_, key, value_form::escapeText(value)) == kWritten;
}

std::string SettingsStore::ReadText(const std::string& key, const std::string& defaultValue) {
  return value_form::unescapeText(
      ReadEntry(currentSection_, key, value_form::escapeText(defaultValue), true));
}

bool SettingsStore::WriteNumber(const std::string& key, double value) {
  return WriteEntry(currentSection_, key, value_form::formatNumber(value)) == kWritten;
}

double SettingsStore::ReadNumber(const std::string& key, double defaultValue) {
  return value_form::parseNumber(
      ReadEntry(currentSection_, key, value_form::formatNumber(defaultValue), true));
}

bool SettingsStore::WriteBool(const std::string& key, bool value) {
  return WriteEntry(currentSection_, key, value_form::formatBool(value)) == kWritten;
}

bool SettingsStore::ReadBool(const std::string& key, bool defaultValue) {
  return ReadEntry(currentSection_, key, value_form::formatBool(defaultValue), true) ==
         value_form::kYes;
}

bool SettingsStore::ReadBoolNotFalse(const std::string& key, bool defaultValue) {
  return ReadEntry(currentSection_, key, value_form::formatBool(defaultValue), true) !=
         value_form::kNo;
}

bool SettingsStore::WriteDate(const std::string& key, double value) {
  return WriteEntry(currentSection_, key, value_form::formatDate(value)) == kWritten;
}

double SettingsStore::ReadDate(const std::string& key, double defaultValue) {
  double date = oledate::kNoTime;
  value_form::parseDate(
      ReadEntry(currentSection_, key, value_form::formatDate(defaultValue), true), date);
  return date;
}

bool SettingsStore::SaveMenuChecked(MenuItem& item) {
  return WriteBool(item.caption(), item.checked());
}

bool SettingsStore::LoadMenuChecked(MenuItem& item) {
  item.setChecked(ReadBool(item.caption(), item.checked()));
  return item.checked();
}

#pragma once
// One watched file with its options and change-tracking state, and the list
// of them parallel to the rows of the backup list: item i is row i.
#include <cstdint>
#include <string>
#include <vector>

#include "common/oledate.h"

struct BackupItem {
  std::string sourcePath;
  std::string itemKey;  // digest of sourcePath; names the section "备份摘要_" + itemKey
  float refreshSeconds = 0;
  std::vector<std::string> historyPaths;  // newest first
  std::int32_t keepCount = 0;
  std::string pathTemplate;
  std::int32_t sequenceNumber = 0;
  std::int64_t lastSize = 0;
  std::uint64_t lastPollTick = 0;  // never stored; 0 right after loading or adding
  std::string lastDigest;
  double lastModified = 0;  // local time, whole seconds
  // Full-resolution last-write time of the last poll, in memory only, so that
  // two saves within one second are both seen; 0 until the first poll.
  std::uint64_t lastRawTime = 0;
};

// "备份摘要_" + key: the settings section of an item.
std::string itemSection(const std::string& itemKey);

class BackupItemList {
 public:
  void append(const BackupItem& item) { items_.push_back(item); }
  BackupItem& at(int row) { return items_.at(static_cast<std::size_t>(row)); }
  const BackupItem& at(int row) const { return items_.at(static_cast<std::size_t>(row)); }
  bool containsKey(const std::string& itemKey) const;
  void removeAt(int row) { items_.erase(items_.begin() + row); }
  void clear() { items_.clear(); }
  int count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<BackupItem> items_;
};

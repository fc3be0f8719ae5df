#include "engine/backup_item.h"

#include <algorithm>

std::string itemSection(const std::string& itemKey) { return "备份摘要_" + itemKey; }

bool BackupItemList::containsKey(const std::string& itemKey) const {
  return std::any_of(items_.begin(), items_.end(),
                     [&](const BackupItem& item) { return item.itemKey == itemKey; });
}

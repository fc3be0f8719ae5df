#pragma once
// Retention of backup copies: each item remembers the copies it wrote in
// historyPaths, newest first, and deletes those that fall beyond keepCount.
#include <string>
#include <vector>

#include "engine/backup_item.h"
#include "engine/services.h"

// Called once per backup event with its destinations, in template order,
// before the copies are written. Drops entries that are named again or that
// no longer exist, puts the destinations in front, then deletes the copies
// beyond keepCount and cuts the list there. A keepCount of 0 or below keeps
// none. The item's own source file is never deleted: an entry naming it is
// dropped from the list and its file left alone.
void updateHistory(FileSystem& files, BackupItem& item,
                   const std::vector<std::string>& destinations);

// Whether a path names the item's source file. Windows paths ignore the case
// of letters, so ASCII letters are matched without regard to case; the bytes
// of double-byte characters must match exactly.
bool isSourcePath(const BackupItem& item, const std::string& path);

#pragma once
// The backup path template: a text with tags for parts of the source path,
// the file's last-write time, its size and the sequence number, naming one
// or more destinations separated by "|". Also the size and date texts that
// the list's columns share with the tags.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backup_item.h"
#include "engine/list_view.h"
#include "engine/services.h"

// One tag and the text it becomes for a given item.
struct TagValue {
  std::string tag;
  std::string value;
};

// The thirteen tags in the order they are replaced:
// "<目录路径>|<目录名>|<主名>|<副名>|<年>|<月>|<日>|<时>|<分>|<秒>|<大小>|<字节>|<序号>".
const std::vector<std::string>& templateTags();

// Name parts of a path. The file name is the text after the last "\" (the
// whole path without one); the main name runs up to its last ".", the
// extension from that "." on (empty without a "."). The directory name is
// the last part of the directory path, empty when that has no "\".
std::string mainNameOf(const std::string& path);
std::string extensionOf(const std::string& path);
std::string directoryNameOf(const std::string& path);

// The values of the tags for a source path, its last-write time (local
// time), its size in bytes and a sequence number, in templateTags() order.
std::vector<TagValue> tagValues(const std::string& sourcePath, double modified,
                                std::int64_t size, std::int32_t sequenceNumber);

// Replaces each tag by its value, tag after tag, ignoring ASCII letter case;
// a value put in for an earlier tag is searched for the later tags too.
std::string applyTags(const std::string& pathTemplate, const std::vector<TagValue>& values);

// Expands the item's template. With updateColumns and a row (not -1) it
// first rewrites the row's columns 2 to 4 from the file's current time and
// size, and with bump also takes the size as lastSize, raises the sequence
// number and rewrites column 1; the result goes into column 5.
std::string expandTemplate(FileSystem& files, ListView& view, BackupItem& item, int row,
                           bool updateColumns, bool bump);

// "1023 B", "1 KB", "1.5 KB", "1024 KB", "1 MB" ... up to " EB".
std::string formatSize(std::int64_t bytes);

// Column 4: "-" when the file became smaller, then the size text of the
// difference against lastSize.
std::string formatSizeChange(std::int64_t size, std::int64_t lastSize);

// "2016-03-01 14:23:05". A value outside 100-01-01 .. 9999-12-31 shows the
// nearest valid date.
std::string formatDateTime(double date);

// Creates the missing directories on the way to a destination file (never
// the file's own name). Two-byte prefixes (a drive such as D:) are skipped.
// False at the first directory that cannot be created; those made so far stay.
bool ensureDirectories(FileSystem& files, const std::string& path);

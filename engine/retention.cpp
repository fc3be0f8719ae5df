#include "engine/retention.h"

#include <algorithm>
#include <cstddef>

#include "common/text.h"

namespace {
unsigned char lowerAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool sameNoAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (text::isLeadByte(x) && i + 1 < a.size()) {
      // A trailing byte may look like a letter (0x41..0x7A) but is part of
      // its character: compare the pair as it is.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (lowerAscii(x) != lowerAscii(y)) return false;
  }
  return true;
}
}  // namespace

bool isSourcePath(const BackupItem& item, const std::string& path) {
  return sameNoAsciiCase(item.sourcePath, path);
}

void updateHistory(FileSystem& files, BackupItem& item,
                   const std::vector<std::string>& destinations) {
  std::vector<std::string>& history = item.historyPaths;
  // Oldest first, as the entries are dropped: a destination written again
  // moves to the front, a copy that is gone no longer counts.
  for (std::size_t i = history.size(); i-- > 0;) {
    const bool namedAgain =
        std::find(destinations.begin(), destinations.end(), history[i]) != destinations.end();
    if (namedAgain || !files.exists(history[i]))
      history.erase(history.begin() + static_cast<std::ptrdiff_t>(i));
  }
  history.insert(history.begin(), destinations.begin(), destinations.end());

  const std::size_t keep = item.keepCount > 0 ? static_cast<std::size_t>(item.keepCount) : 0;
  if (history.size() <= keep) return;
  for (std::size_t i = keep; i < history.size(); ++i) {
    // A template that expands to the source's own path puts the original
    // into the history; it leaves the list like any other entry, but the
    // user's file is never deleted.
    if (isSourcePath(item, history[i])) continue;
    files.deleteFile(history[i]);  // a copy that cannot be deleted is dropped all the same
  }
  history.resize(keep);
}

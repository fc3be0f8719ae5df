#pragma once
// The texts behind "打开路径" and "打开备份路径": the Explorer command line
// that shows a file selected, and the first destination of a row's
// "备份到路径" column.
#include <string>

namespace shell_paths {

// explorer /n,/select,"<path>": a new Explorer window with the file selected.
std::string explorerCommandLine(const std::string& path);

// The part before the first "|" when there is one and it is not empty;
// otherwise the whole text. A "|" that is the trail byte of a double-byte
// character does not count.
std::string firstBackupPath(const std::string& column5Text);

}  // namespace shell_paths

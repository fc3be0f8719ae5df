#include "engine/shell_paths.h"

#include "common/text.h"

namespace shell_paths {

std::string explorerCommandLine(const std::string& path) {
  return "explorer /n,/select,\"" + path + "\"";
}

std::string firstBackupPath(const std::string& column5Text) {
  const std::size_t bar = text::find(column5Text, "|");
  // "|x" keeps the whole text: an empty first destination names nothing.
  if (bar != text::npos && bar > 0) return column5Text.substr(0, bar);
  return column5Text;
}

}  // namespace shell_paths

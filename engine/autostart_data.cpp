#include "engine/autostart_data.h"

#include "common/text.h"

namespace autostart {

ValuePath valuePath(const std::string& appName) {
  const std::string full = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\" + appName;
  const std::size_t last = text::findLast(full, "\\");
  return {full.substr(0, last), full.substr(last + 1)};
}

std::string dataFor(const std::string& programPath) {
  return "\"" + text::directoryOf(programPath) + "\\" + text::fileNameOf(programPath) +
         "\" \"yes\"";
}

}  // namespace autostart

#pragma once
// The autostart registry value: where it lives and what it holds. The
// Win32 side (win32/autostart_win.h) reads and writes it.
#include <string>

namespace autostart {

// The key under the registry root and the value's name, found by splitting
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Run\" + appName at its last "\".
struct ValuePath {
  std::string key;
  std::string valueName;
};
ValuePath valuePath(const std::string& appName);

// The data that starts the program with Windows, marked as an autostart:
// the program's full path in double quotes, a blank, and "yes" in double
// quotes. The path is rebuilt from its directory and file name.
std::string dataFor(const std::string& programPath);

}  // namespace autostart

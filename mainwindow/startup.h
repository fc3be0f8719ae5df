#pragma once
// What start-up takes from the program's own path and its command line.
#include <string>

struct StartupSettings {
  // The program's directory: the process's current directory from the start.
  std::string programDirectory;
  // programDirectory + "\" + appName + ".ini".
  std::string settingsPath;
  // The first argument is exactly "yes": started by autostart.
  bool startedByAutostart = false;
};

StartupSettings startupSettings(const std::string& programPath, const std::string& commandLine,
                                const std::string& appName);

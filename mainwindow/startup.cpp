#include "mainwindow/startup.h"

#include "common/command_line.h"
#include "common/text.h"

StartupSettings startupSettings(const std::string& programPath, const std::string& commandLine,
                                const std::string& appName) {
  StartupSettings s;
  s.programDirectory = text::directoryOf(programPath);
  s.settingsPath = s.programDirectory + "\\" + appName + ".ini";
  s.startedByAutostart =
      command_line::startedByAutostart(command_line::arguments(commandLine));
  return s;
}

#include "win32/explorer_win.h"

#include <windows.h>

#include <vector>

#include "engine/shell_paths.h"
#include "win32/unique_handle.h"

namespace {

ExplorerLauncher& currentLauncher() {
  static ExplorerLauncher launcher;
  return launcher;
}

bool startProcess(const std::string& commandLine) {
  // CreateProcessA may write into the command line: hand it a copy.
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return false;
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  // Explorer keeps running; only give its window a moment to come up.
  WaitForInputIdle(process.get(), 1000);
  return true;
}

}  // namespace

bool OpenInExplorer(const std::string& path) {
  const std::string commandLine = shell_paths::explorerCommandLine(path);
  // A copy: the launcher may replace itself while it runs.
  const ExplorerLauncher launcher = currentLauncher();
  if (launcher) return launcher(commandLine);
  return startProcess(commandLine);
}

ExplorerLauncher setExplorerLauncher(ExplorerLauncher launcher) {
  return std::exchange(currentLauncher(), std::move(launcher));
}

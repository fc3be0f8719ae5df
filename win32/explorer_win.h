#pragma once
// Starts Explorer in a new window with one file selected.
#include <functional>
#include <string>
#include <utility>

// Returns whether Explorer could be started; "打开路径" and "打开备份路径"
// do not look at it (what Explorer then shows is its own business).
bool OpenInExplorer(const std::string& path);

// Runs Explorer's command line: the real one starts the process. A test sets
// its own so it can see the command line without an Explorer window.
using ExplorerLauncher = std::function<bool(const std::string& commandLine)>;

// Sets the launcher (an empty one brings the real process back); returns the
// one it replaces.
ExplorerLauncher setExplorerLauncher(ExplorerLauncher launcher);

// For tests: every Explorer start goes to the launcher while this lives.
class ScopedExplorerLauncher {
 public:
  explicit ScopedExplorerLauncher(ExplorerLauncher launcher)
      : previous_(setExplorerLauncher(std::move(launcher))) {}
  ~ScopedExplorerLauncher() { setExplorerLauncher(std::move(previous_)); }
  ScopedExplorerLauncher(const ScopedExplorerLauncher&) = delete;
  ScopedExplorerLauncher& operator=(const ScopedExplorerLauncher&) = delete;

 private:
  ExplorerLauncher previous_;
};

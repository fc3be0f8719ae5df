#pragma once
// One copy of the program at a time. A second copy would keep its own
// settings in memory (its changes would never reach the file the first one
// holds) and back up the same files twice; it brings the running copy's
// window to the front instead and ends.
#include <windows.h>

#include <string>
#include <utility>

#include "win32/unique_handle.h"

// The window class of the main window, by which a second copy finds it.
constexpr const char kMainWindowClass[] = "QijuanMainWindow";

// The name of the program's instance mutex.
constexpr const char kSingleInstanceName[] = "Local\\禾岚·栖卷.single-instance";

// The registered message that asks the main window to come to the front,
// as a left click on the tray icon does. Posted with wParam = lParam = 0.
constexpr const char kBringToFrontMessageName[] = "Qijuan.BringToFront";
UINT bringToFrontMessage();

// Owns the named mutex for as long as it lives; the program keeps it for
// its whole run.
class SingleInstance {
 public:
  explicit SingleInstance(std::string name = kSingleInstanceName) : name_(std::move(name)) {}

  // True when this is the only copy: the mutex was made here. False when
  // another object or process already holds it.
  bool acquire();

 private:
  std::string name_;
  UniqueKernelHandle mutex_;
};

// Asks the running copy's main window (found by its class) to come to the
// front. The running copy may still be starting, so it is looked for for up
// to `waitMs`. Returns whether the request was posted.
bool activateRunningInstance(const char* windowClass, DWORD waitMs = 3000);

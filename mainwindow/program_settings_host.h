#pragma once
// The settings file of the running program. The store lets pending window
// messages run while it searches; during a poll of the monitor that must not
// happen, or a click could change an item in the middle of its poll.
#include "mainwindow/main_window.h"
#include "win32/settings_host_win.h"

class ProgramSettingsHost : public Win32SettingsHost {
 public:
  void setWindow(const MainWindow* window) { window_ = window; }
  void dispatchPendingMessages() override {
    if (window_ && window_->isPolling()) return;
    Win32SettingsHost::dispatchPendingMessages();
  }

 private:
  const MainWindow* window_ = nullptr;
};

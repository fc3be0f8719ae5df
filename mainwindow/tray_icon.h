#pragma once
// The notification-area icon of the main window. Explorer forgets it when it
// restarts; the owner calls Add again on the "TaskbarCreated" message.
#include <windows.h>
#include <shellapi.h>

#include <string>

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Mouse actions on the icon reach `owner` as `callbackMessage`, with the
  // mouse message in lParam.
  bool Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tooltip);
  void Remove();
  bool added() const { return added_; }

 private:
  NOTIFYICONDATAA data_{};
  bool added_ = false;
};

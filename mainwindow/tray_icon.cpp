#include "mainwindow/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

bool TrayIcon::Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tooltip) {
  Remove();
  data_ = NOTIFYICONDATAA{};
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = 1;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  // The tip has a fixed field: a longer name is cut, never overrun.
  std::size_t n = std::min(tooltip.size(), sizeof data_.szTip - 1);
  std::memcpy(data_.szTip, tooltip.data(), n);
  data_.szTip[n] = '\0';
  added_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
  return added_;
}

void TrayIcon::Remove() {
  if (!added_) return;
  Shell_NotifyIconA(NIM_DELETE, &data_);
  added_ = false;
}

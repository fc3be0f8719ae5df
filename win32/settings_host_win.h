#pragma once
// The settings store's host on the real system: the settings file opened
// with CreateFileA and edited in place, side files, the "inibin" folder, the
// window thread's pending messages and the store's two message boxes (through
// showMessageBox, so tests can answer them).
#include <memory>
#include <string>

#include "settings/settings_host.h"

class Win32SettingsHost : public SettingsHost {
 public:
  bool readFile(const std::string& path, std::string& bytes) override;
  std::unique_ptr<SettingsFile> openForEditing(const std::string& path) override;
  bool writeFile(const std::string& path, const std::string& bytes) override;
  bool createDirectory(const std::string& path) override;
  void dispatchPendingMessages() override;
  void showMessage(const std::string& text, const std::string& title,
                   StoreMessageKind kind) override;
};

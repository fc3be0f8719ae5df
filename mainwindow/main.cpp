// 禾岚·栖卷: keeps backup copies of the files it watches.
#include <windows.h>

#include <string>

#include "mainwindow/main_window.h"
#include "mainwindow/program_settings_host.h"
#include "mainwindow/startup.h"
#include "win32/message_box_win.h"
#include "win32/autostart_win.h"
#include "win32/single_instance_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  const std::string programPath = programFilePath();
  const std::string appName = kAppName;
  const StartupSettings startup = startupSettings(programPath, GetCommandLineA(), appName);
  SetCurrentDirectoryA(startup.programDirectory.c_str());

  // A second copy beside the first would never get its settings to disk and
  // would back up the same files twice: it hands over to the first and ends.
  SingleInstance instance;
  if (!instance.acquire()) {
    activateRunningInstance(kMainWindowClass);
    return 0;
  }

  ProgramSettingsHost settingsHost;
  SettingsStore store(settingsHost);
  BackupItemList items;
  DropTarget dropTarget;
  Win32FileSystem files;
  CryptoDigest digest;
  UptimeClock clock;
  MessagePump pump;

  const std::string& settingsPath = startup.settingsPath;
  if (!store.Open(settingsPath, 0)) {
    // Without this the whole session's changes would be lost in silence.
    showMessageBox("无法写入设置文件：\r\n" + settingsPath +
                       "\r\n\r\n本次运行中对列表和选项的更改将不会被保存。",
                   "信息：", MB_OK | MB_ICONWARNING);
  }

  MainWindow window(MainWindowContext{store, items, dropTarget, files, digest, clock, pump,
                                      appName, startup.startedByAutostart, programPath});
  settingsHost.setWindow(&window);
  if (!window.Create()) return 1;
  window.Show(showCommand);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  settingsHost.setWindow(nullptr);
  return 0;
}

#pragma once
// The main window: the list of items, the options panel, the start button,
// the tray icon, and the program's life from first activation to the end.
#include <windows.h>

#include <memory>
#include <string>

#include "backuplist/backup_list_view.h"
#include "backuplist/item_commands.h"
#include "engine/backup_item.h"
#include "engine/monitor.h"
#include "mainwindow/drop_target.h"
#include "mainwindow/options_panel.h"
#include "mainwindow/shell_commands.h"
#include "mainwindow/tray_icon.h"
#include "settings/settings_store.h"
#include "win32/crypto_digest.h"
#include "win32/file_system_win.h"
#include "win32/message_pump.h"
#include "win32/menu_item_win.h"
#include "win32/single_instance_win.h"
#include "win32/unique_handle.h"
#include "win32/uptime_clock.h"

extern const char* const kAppName;          // "禾岚·栖卷"
extern const char* const kMainWindowTitle;  // with the version and the slogan

// What the main window works with; the process-wide objects live in main.
struct MainWindowContext {
  SettingsStore& store;
  BackupItemList& items;
  DropTarget& dropTarget;
  FileSystem& files;
  Digest& digest;
  Clock& clock;
  EventPump& pump;
  std::string appName;
  bool startedByAutostart = false;
  // The program's full path, for the autostart value.
  std::string programPath;
};

class MainWindow {
 public:
  // Messages of the main window's own.
  static constexpr UINT kTrayMessage = WM_APP + 1;
  static constexpr UINT kFirstActivatedMessage = WM_APP + 2;

  explicit MainWindow(MainWindowContext context);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window (hidden); Show makes it visible.
  bool Create();
  void Show(int showCommand);
  HWND hwnd() const { return hwnd_; }

  BackupListView& list() { return list_; }
  OptionsPanel& panel() { return panel_; }
  BackupMonitor& monitor() { return *monitor_; }
  ItemCommands& commands() { return *commands_; }
  HMENU popupMenu() const { return menu_.get(); }
  HWND startButton() const { return startButton_; }
  bool isWatching() const;

  // The handlers, also used by tests.
  void OnFirstActivated();
  bool OnCanClose();  // false when the close is refused
  void OnTrayEvent(UINT mouseMessage);
  void OnExitRequest();
  void OnToggleAutostart();
  void ClearAutostartMark();
  void BringToFront();
  void ToggleVisible();
  void SaveListState();
  void ShowHelp();

  // True while the monitor polls: the settings store then lets no other
  // handler run.
  bool isPolling() const { return monitor_ && monitor_->isPolling(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK AddButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR refData);
  static LRESULT CALLBACK HelpLinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR refData);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  void OnCommand(int id, int code);
  void OnActivate(WPARAM wParam);
  void OnDestroy();
  void OnContextMenu(HWND from, POINT screen);
  void CreateBanner(HFONT font);
  void CreateMenu();
  void AddTrayIcon();

  MainWindowContext c_;
  HWND hwnd_ = nullptr;
  HWND startButton_ = nullptr;
  BackupListView list_;
  OptionsPanel panel_;
  TrayIcon tray_;
  UniqueMenu menu_;
  UniqueGdiObject font_;
  UniqueGdiObject startFont_;
  UniqueGdiObject linkFont_;
  UniqueIcon smallIcon_;
  UniqueIcon bigIcon_;
  std::unique_ptr<Win32MenuItem> autostartItem_;
  std::unique_ptr<StartButton> startCaption_;
  std::unique_ptr<InfoMessages> infoMessages_;
  std::unique_ptr<BackupMonitor> monitor_;
  std::unique_ptr<ItemCommands> commands_;
  bool firstActivationDone_ = false;
  UINT taskbarCreatedMessage_ = 0;
  UINT bringToFrontMessage_ = 0;
};

// The main window in-process on real windows and real messages: a settings
// file in a temporary folder, the real list view, a clock the test sets and
// a message pump that lets a test act where the monitor handles events.
#include "mainwindow/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/autostart_data.h"
#include "engine/item_schema.h"
#include "engine/item_store.h"
#include "mainwindow/control_ids.h"
#include "mainwindow/program_settings_host.h"
#include "mainwindow/startup.h"
#include "tests/support/temp_dir.h"
#include "win32/autostart_win.h"
#include "win32/message_box_win.h"
#include "win32/window_text.h"

namespace {

const char kSep[] = "┊?┊";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kProgramPath[] = "C:\\Tools\\backup.exe";

class ManualClock : public Clock {
 public:
  std::uint64_t uptimeMs() override { return now; }
  std::uint64_t now = 1000000;
};

// The real pump, then a test's hook: where the monitor's cycle handles
// window events, the test can look at the window and post the stop click.
class HookPump : public MessagePump {
 public:
  void handlePendingEvents() override {
    MessagePump::handlePendingEvents();
    ++rounds;
    if (onEvents) onEvents();
  }
  void sleepMs(unsigned) override {}
  std::function<void()> onEvents;
  int rounds = 0;
};

struct ShownBox {
  std::string text;
  std::string title;
  UINT flags;
};

// One stored row: seven cells and the tick, each ended by the separator.
std::string rowLine(const std::vector<std::string>& cells, const std::string& tick) {
  std::string line;
  for (const std::string& cell : cells) line += cell + kSep;
  return line + tick + kSep + "\r\n";
}

void drainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;  // a destroyed main window posts it
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int rowIcon(HWND list, int row) {
  LVITEMA item;
  std::memset(&item, 0xcc, sizeof item);
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = 0;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

// Client rectangle of a child in its parent's coordinates.
RECT childRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appName = "栖卷测试" + std::to_string(GetCurrentProcessId());
    settingsPath = dir.file("settings.ini");
    store = std::make_unique<SettingsStore>(host);
    ASSERT_TRUE(store->Open(settingsPath, 0));
  }

  void TearDown() override {
    window.reset();
    host.setWindow(nullptr);
    drainMessages();
    AutostartValue(appName).disable();
  }

  // A fresh window on the same settings, with an empty list of items.
  MainWindow& makeWindow(bool startedByAutostart = false) {
    window.reset();
    drainMessages();
    items = std::make_unique<BackupItemList>();
    window = std::make_unique<MainWindow>(MainWindowContext{
        *store, *items, dropTarget, files, digest, clock, pump, appName, startedByAutostart,
        kProgramPath});
    host.setWindow(window.get());
    EXPECT_TRUE(window->Create());
    return *window;
  }

  // Shown and activated: the first activation loads the rows.
  MainWindow& showWindow(bool startedByAutostart = false) {
    MainWindow& w = makeWindow(startedByAutostart);
    w.Show(SW_SHOW);
    drainMessages();
    return w;
  }

  void storeRows(const std::string& rows) {
    store->SetSection(schema::kMainSection);
    store->WriteBytes(schema::kRows, rows);
  }

  std::string storedRows() {
    store->SetSection(schema::kMainSection);
    return store->ReadBytes(schema::kRows, "");
  }

  HWND control(int id) const { return GetDlgItem(window->hwnd(), id); }

  void postStartClick() {
    PostMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(control_id::kStartButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window->startButton()));
  }

  // Every box is answered with `answer` and recorded.
  MessageBoxHandler answering(int answer) {
    return [this, answer](const std::string& text, const std::string& title, UINT flags) {
      boxes.push_back({text, title, flags});
      return answer;
    };
  }

  bool autostartChecked() const {
    return (GetMenuState(window->popupMenu(), menu_id::kAutostart, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  std::string machineValue() const { return readRegistryText(HKEY_LOCAL_MACHINE, kRunKey, appName); }

  TempDir dir;
  std::string appName;
  std::string settingsPath;
  ProgramSettingsHost host;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<BackupItemList> items;
  DropTarget dropTarget;
  Win32FileSystem files;
  CryptoDigest digest;
  ManualClock clock;
  HookPump pump;
  std::unique_ptr<MainWindow> window;
  std::vector<ShownBox> boxes;
};

const std::vector<std::string> kRowA = {"a.txt", "3", "2024-01-02 03:04:05", "1KB", "+1KB",
                                        "D:\\bak\\a_3.txt", "C:\\data\\a.txt"};
const std::vector<std::string> kRowB = {"b.txt", "0", "", "", "", "", "C:\\data\\b.txt"};

// ---- start-up -------------------------------------------------------------

TEST(StartupSettingsTest, SettingsFileBesideTheProgramAndTheAutostartArgument) {
  struct Case {
    const char* name;
    const char* programPath;
    const char* commandLine;
    const char* settingsPath;
    bool autostart;
  };
  const Case cases[] = {
      {"no argument", "C:\\Tools\\backup.exe", "\"C:\\Tools\\backup.exe\"",
       "C:\\Tools\\禾岚·栖卷.ini", false},
      {"yes", "C:\\Tools\\backup.exe", "\"C:\\Tools\\backup.exe\" \"yes\"",
       "C:\\Tools\\禾岚·栖卷.ini", true},
      {"Yes is not yes", "C:\\Tools\\backup.exe", "\"C:\\Tools\\backup.exe\" Yes",
       "C:\\Tools\\禾岚·栖卷.ini", false},
      {"yes second", "C:\\Tools\\backup.exe", "\"C:\\Tools\\backup.exe\" no yes",
       "C:\\Tools\\禾岚·栖卷.ini", false},
      {"yes then more", "D:\\程序\\栖卷.exe", "\"D:\\程序\\栖卷.exe\" yes more",
       "D:\\程序\\禾岚·栖卷.ini", true},
      {"drive root", "C:\\backup.exe", "backup.exe yes", "C:\\禾岚·栖卷.ini", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StartupSettings s = startupSettings(c.programPath, c.commandLine, kAppName);
    EXPECT_EQ(s.settingsPath, c.settingsPath);
    EXPECT_EQ(s.startedByAutostart, c.autostart);
  }
}

// ---- first activation -------------------------------------------------------

TEST_F(MainWindowTest, FirstActivationLoadsRowsAndStaysVisibleWithoutAutostart) {
  storeRows(rowLine(kRowA, "1") + rowLine(kRowB, "0"));
  MainWindow& w = showWindow(false);
  ASSERT_EQ(w.list().rowCount(), 2);
  EXPECT_EQ(items->count(), 2);
  EXPECT_TRUE(IsWindowVisible(w.hwnd()));
  EXPECT_FALSE(w.isWatching());
  EXPECT_EQ(pump.rounds, 0);
  // A second activation loads nothing again.
  w.list().deleteAllRows();
  SendMessageA(w.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  drainMessages();
  EXPECT_EQ(w.list().rowCount(), 0);
}

TEST_F(MainWindowTest, StartedByAutostartWithRowsHidesAndWatches) {
  storeRows(rowLine(kRowB, "0"));
  bool visibleWhileWatching = true;
  std::string captionWhileWatching;
  pump.onEvents = [&] {
    if (pump.rounds != 1) return;
    visibleWhileWatching = IsWindowVisible(window->hwnd()) != FALSE;
    captionWhileWatching = windowText(window->startButton());
    postStartClick();
  };
  MainWindow& w = showWindow(true);
  EXPECT_GE(pump.rounds, 1);
  EXPECT_FALSE(visibleWhileWatching);
  EXPECT_EQ(captionWhileWatching, "停止备份监视");
  EXPECT_FALSE(IsWindowVisible(w.hwnd()));
  EXPECT_EQ(windowText(w.startButton()), "启动备份监视");
  // Watching saved the rows first.
  EXPECT_EQ(storedRows(), rowLine(kRowB, "0"));
}

TEST_F(MainWindowTest, StartedByAutostartWithEmptyListStaysVisibleAndIdle) {
  ScopedMessageBoxHandler answer(answering(IDOK));
  MainWindow& w = showWindow(true);
  EXPECT_TRUE(IsWindowVisible(w.hwnd()));
  EXPECT_EQ(pump.rounds, 0);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(w.isWatching());
}

// ---- close, session end and exit ------------------------------------------

TEST_F(MainWindowTest, CloseWhileWatchingHidesAndKeepsWatching) {
  ScopedMessageBoxHandler answer(answering(IDOK));
  storeRows(rowLine(kRowB, "1"));
  MainWindow& w = showWindow(false);
  bool existsAfterClose = false, hiddenAfterClose = false, watchingAfterClose = false;
  LRESULT sessionAnswer = -1;
  int roundsAfterClose = 0;
  pump.onEvents = [&] {
    HWND hwnd = window->hwnd();
    if (pump.rounds == 1) {
      SendMessageA(hwnd, WM_CLOSE, 0, 0);
      existsAfterClose = IsWindow(hwnd) != FALSE;
      hiddenAfterClose = !IsWindowVisible(hwnd);
      watchingAfterClose = window->isWatching();
      sessionAnswer = SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0);
      SendMessageA(hwnd, MainWindow::kTrayMessage, 1, WM_RBUTTONUP);
    } else if (pump.rounds == 3) {
      roundsAfterClose = pump.rounds;
      postStartClick();
    }
  };
  SendMessageA(w.hwnd(), WM_COMMAND, MAKEWPARAM(control_id::kStartButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(w.startButton()));
  EXPECT_TRUE(existsAfterClose);
  EXPECT_TRUE(hiddenAfterClose);
  EXPECT_TRUE(watchingAfterClose);
  EXPECT_EQ(roundsAfterClose, 3);  // the cycle went on after the close
  EXPECT_EQ(sessionAnswer, FALSE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "备份监视执行中，请先停止！");
  EXPECT_EQ(boxes[0].title, "信息：");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_TRUE(IsWindow(w.hwnd()));
  EXPECT_FALSE(w.isWatching());
}

TEST_F(MainWindowTest, CloseWhileIdleSavesAndDestroys) {
  storeRows(rowLine(kRowB, "1"));
  MainWindow& w = showWindow(false);
  w.list().setTicked(0, false);
  HWND hwnd = w.hwnd();
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(storedRows(), rowLine(kRowB, "0"));
}

TEST_F(MainWindowTest, SessionEndWhileIdleSavesAndAllows) {
  storeRows(rowLine(kRowB, "1"));
  MainWindow& w = showWindow(false);
  w.list().setTicked(0, false);
  EXPECT_EQ(SendMessageA(w.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(storedRows(), rowLine(kRowB, "0"));
  EXPECT_TRUE(IsWindow(w.hwnd()));
}

TEST_F(MainWindowTest, ExitQuestionWhileIdle) {
  storeRows(rowLine(kRowB, "1"));
  MainWindow& w = showWindow(false);
  HWND hwnd = w.hwnd();
  {
    ScopedMessageBoxHandler answer(answering(IDCANCEL));
    SendMessageA(hwnd, MainWindow::kTrayMessage, 1, WM_RBUTTONUP);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "确定要退出本软件《" + appName + "》吗？");
  EXPECT_EQ(boxes[0].title, "信息：");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));

  w.list().setTicked(0, false);
  {
    ScopedMessageBoxHandler answer(answering(IDOK));
    SendMessageA(hwnd, MainWindow::kTrayMessage, 1, WM_CONTEXTMENU);
  }
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(storedRows(), rowLine(kRowB, "0"));
}

// ---- tray -------------------------------------------------------------------

TEST_F(MainWindowTest, TrayLeftClickTogglesAndRestoresMinimisedCentred) {
  MainWindow& w = showWindow(false);
  HWND hwnd = w.hwnd();
  auto trayClick = [&] { SendMessageA(hwnd, MainWindow::kTrayMessage, 1, WM_LBUTTONUP); };
  trayClick();
  EXPECT_FALSE(IsWindowVisible(hwnd));
  trayClick();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  // Other mouse actions do nothing of their own.
  SendMessageA(hwnd, MainWindow::kTrayMessage, 1, WM_LBUTTONDBLCLK);
  SendMessageA(hwnd, MainWindow::kTrayMessage, 1, WM_MOUSEMOVE);
  EXPECT_TRUE(IsWindowVisible(hwnd));

  ShowWindow(hwnd, SW_MINIMIZE);
  drainMessages();
  ASSERT_TRUE(IsIconic(hwnd));
  trayClick();  // a minimised window is visible: this hides it
  EXPECT_FALSE(IsWindowVisible(hwnd));
  trayClick();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(IsIconic(hwnd));
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 745);
  EXPECT_EQ(r.bottom - r.top, 717);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 745) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 717) / 2);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// ---- autostart ----------------------------------------------------------------

TEST_F(MainWindowTest, AutostartMenuWritesAndDeletesTheValue) {
  MainWindow& w = showWindow(false);
  ASSERT_FALSE(autostartChecked());
  SendMessageA(w.hwnd(), WM_COMMAND, MAKEWPARAM(menu_id::kAutostart, 0), 0);
  EXPECT_TRUE(autostartChecked());
  EXPECT_EQ(machineValue(), "\"C:\\Tools\\backup.exe\" \"yes\"");
  SendMessageA(w.hwnd(), WM_COMMAND, MAKEWPARAM(menu_id::kAutostart, 0), 0);
  EXPECT_FALSE(autostartChecked());
  EXPECT_EQ(machineValue(), "");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, kRunKey, appName), "");
}

TEST_F(MainWindowTest, FirstActivationRewritesAStaleValueWhenChecked) {
  makeWindow();
  window->OnToggleAutostart();
  window->SaveListState();
  ASSERT_TRUE(writeRegistryText(HKEY_LOCAL_MACHINE, kRunKey, appName,
                                "\"C:\\Old\\backup.exe\" \"yes\""));
  showWindow(false);
  EXPECT_TRUE(autostartChecked());
  EXPECT_EQ(machineValue(), "\"C:\\Tools\\backup.exe\" \"yes\"");
}

TEST_F(MainWindowTest, FirstActivationLeavesTheValueAloneWhenUnchecked) {
  makeWindow();
  window->SaveListState();
  ASSERT_TRUE(writeRegistryText(HKEY_LOCAL_MACHINE, kRunKey, appName,
                                "\"C:\\Old\\backup.exe\" \"yes\""));
  showWindow(false);
  EXPECT_FALSE(autostartChecked());
  EXPECT_EQ(machineValue(), "\"C:\\Old\\backup.exe\" \"yes\"");
}

// ---- drop target --------------------------------------------------------------

HGLOBAL makeDrop(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) list += path + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  if (memory == nullptr) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->pt = {20, 20};
  header->fNC = FALSE;
  header->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return memory;
}

TEST_F(MainWindowTest, DroppedFilesReplaceTheFileBox) {
  MainWindow& w = showWindow(false);
  w.panel().setFilesText("C:\\before.txt");
  const std::vector<std::string> paths = {"C:\\一\\a.txt", "C:\\b", "D:\\c.dat"};
  HGLOBAL drop = makeDrop(paths);
  ASSERT_NE(drop, nullptr);
  SendMessageA(w.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(w.panel().filesText(), "C:\\一\\a.txt|C:\\b|D:\\c.dat");

  HGLOBAL single = makeDrop({"E:\\x.txt"});
  SendMessageA(w.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(single), 0);
  EXPECT_EQ(w.panel().filesText(), "E:\\x.txt");
}

// ---- the options panel ----------------------------------------------------------

TEST_F(MainWindowTest, WindowPanelDefaultsAndTagButtons) {
  MainWindow& w = showWindow(false);
  EXPECT_EQ(windowText(w.hwnd()), "禾岚·栖卷 v1.0.0.1      当文件发生更改时自动备份到指定路径");
  RECT frame;
  GetWindowRect(w.hwnd(), &frame);
  EXPECT_EQ(frame.left, 50);
  EXPECT_EQ(frame.top, 50);
  EXPECT_EQ(frame.right - frame.left, 745);
  EXPECT_EQ(frame.bottom - frame.top, 717);
  EXPECT_EQ(windowText(w.startButton()), "启动备份监视");
  EXPECT_EQ(windowText(w.panel().group()), "备份选项");
  EXPECT_EQ(w.panel().filesText(), "");
  EXPECT_EQ(w.panel().templateText(),
            "<目录路径>\\<主名>_<年><月><日>_<时><分><秒>_[<序号>]<副名>");
  EXPECT_EQ(w.panel().refreshText(), "5");
  EXPECT_EQ(w.panel().keepCountText(), "10");

  struct Tag {
    const char* caption;
    int left;
    int width;
  };
  const Tag tags[13] = {{"目录路径", 112, 80}, {"目录名", 193, 70}, {"主名", 264, 50},
                        {"副名", 315, 50},     {"年", 366, 30},     {"月", 397, 30},
                        {"日", 428, 30},       {"时", 459, 30},     {"分", 490, 30},
                        {"秒", 521, 30},       {"大小", 552, 50},   {"字节", 603, 50},
                        {"序号", 654, 50}};
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(tags[i].caption);
    HWND button = control(control_id::kFirstTagButton + i);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(windowText(button), tags[i].caption);
    const RECT r = childRect(button);
    EXPECT_EQ(r.left, 8 + tags[i].left);
    EXPECT_EQ(r.top, 424 + 93);
    EXPECT_EQ(r.right - r.left, tags[i].width);
    EXPECT_EQ(r.bottom - r.top, 24);

    // Each button puts its tag over the whole selection.
    HWND box = w.panel().templateBox();
    SendMessageA(box, EM_SETSEL, 0, -1);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(w.panel().templateText(), std::string("<") + tags[i].caption + ">");
    EXPECT_EQ(GetFocus(), box);
  }
}

TEST_F(MainWindowTest, TagButtonsInsertAtTheCaretOneAfterAnother) {
  MainWindow& w = showWindow(false);
  HWND box = w.panel().templateBox();
  SendMessageA(control(control_id::kClearTemplateButton), BM_CLICK, 0, 0);
  EXPECT_EQ(w.panel().templateText(), "");
  w.panel().setFilesText("C:\\keep.txt");
  for (int i : {0, 2, 4})  // 目录路径, 主名, 年
    SendMessageA(w.hwnd(), WM_COMMAND, MAKEWPARAM(control_id::kFirstTagButton + i, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(control_id::kFirstTagButton + i)));
  EXPECT_EQ(w.panel().templateText(), "<目录路径><主名><年>");
  EXPECT_EQ(w.panel().filesText(), "C:\\keep.txt");

  // The caret in the middle, left there while another control had the focus.
  w.panel().setTemplateText("D:\\bak\\_x");
  SendMessageA(box, EM_SETSEL, 7, 7);
  SetFocus(w.panel().filesBox());
  SendMessageA(control(control_id::kFirstTagButton + 12), BM_CLICK, 0, 0);
  EXPECT_EQ(w.panel().templateText(), "D:\\bak\\<序号>_x");
  // The caret stands right after the tag: the next one follows it.
  SendMessageA(control(control_id::kFirstTagButton + 4), BM_CLICK, 0, 0);
  EXPECT_EQ(w.panel().templateText(), "D:\\bak\\<序号><年>_x");
}

TEST_F(MainWindowTest, ARowBecomingCurrentShowsItsItemsOptions) {
  storeRows(rowLine(kRowA, "1") + rowLine(kRowB, "1"));
  store->SetSection(itemSection(digest.ofBytes("C:\\data\\b.txt")));
  store->WriteNumber(schema::kKeepCount, 4);
  store->WriteNumber(schema::kRefreshSeconds, 2.5);
  store->WriteText(schema::kPathTemplate, "D:\\bak\\<主名><副名>");
  MainWindow& w = showWindow(false);
  ASSERT_EQ(w.list().rowCount(), 2);

  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(w.list().hwnd(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(w.panel().filesText(), "C:\\data\\b.txt");
  EXPECT_EQ(w.panel().templateText(), "D:\\bak\\<主名><副名>");
  EXPECT_EQ(w.panel().keepCountText(), "4");
  EXPECT_EQ(w.panel().refreshText(), "2.5");

  // Emptying the selection leaves the boxes as they are.
  state.state = 0;
  SendMessageA(w.list().hwnd(), LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(w.panel().filesText(), "C:\\data\\b.txt");

  // Row 0 has no section: the defaults show.
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(w.list().hwnd(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(w.panel().filesText(), "C:\\data\\a.txt");
  EXPECT_EQ(w.panel().templateText(), "");
  EXPECT_EQ(w.panel().keepCountText(), "0");
  EXPECT_EQ(w.panel().refreshText(), "0");
}

// ---- saving and loading the rows on the real list -------------------------------

TEST_F(MainWindowTest, SavedRowsComeBackWithEveryCellTickAndOption) {
  makeWindow();
  BackupListView& list = window->list();
  for (const auto* cells : {&kRowA, &kRowB}) {
    const int row = list.appendRow((*cells)[0]);
    for (int c = 0; c < 7; ++c) list.setCellText(row, c, (*cells)[c]);
  }
  list.setTicked(0, true);
  list.setIcon(0, 1);
  BackupItem a;
  a.sourcePath = kRowA[6];
  a.itemKey = digest.ofBytes(a.sourcePath);
  a.keepCount = 3;
  a.refreshSeconds = 7;
  a.pathTemplate = "D:\\bak\\<主名>_<序号><副名>";
  a.sequenceNumber = 3;
  writeOptions(*store, a);
  writeBackupState(*store, a);
  window->SaveListState();
  EXPECT_EQ(storedRows(), rowLine(kRowA, "1") + rowLine(kRowB, "0"));

  // Another run: the file read again by a new store, a new window and list.
  window.reset();
  drainMessages();
  store = std::make_unique<SettingsStore>(host);
  ASSERT_TRUE(store->Open(settingsPath, 0));
  MainWindow& w = showWindow(false);
  ASSERT_EQ(w.list().rowCount(), 2);
  for (int c = 0; c < 7; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(w.list().cellText(0, c), kRowA[c]);
    EXPECT_EQ(w.list().cellText(1, c), kRowB[c]);
  }
  EXPECT_TRUE(w.list().isTicked(0));
  EXPECT_FALSE(w.list().isTicked(1));
  EXPECT_EQ(rowIcon(w.list().hwnd(), 0), 0);
  EXPECT_EQ(rowIcon(w.list().hwnd(), 1), 0);
  ASSERT_EQ(items->count(), 2);
  EXPECT_EQ(items->at(0).sourcePath, kRowA[6]);
  EXPECT_EQ(items->at(0).itemKey, a.itemKey);
  EXPECT_EQ(items->at(0).keepCount, 3);
  EXPECT_EQ(items->at(0).refreshSeconds, 7.0f);
  EXPECT_EQ(items->at(0).pathTemplate, a.pathTemplate);
  EXPECT_EQ(items->at(0).sequenceNumber, 3);
  // No section: all defaults.
  EXPECT_EQ(items->at(1).keepCount, 0);
  EXPECT_EQ(items->at(1).refreshSeconds, 0.0f);
  EXPECT_EQ(items->at(1).pathTemplate, "");
}

TEST_F(MainWindowTest, ShortLinesAndAStoredSequenceNumber) {
  // A line of three fields, and a row whose column 1 is older than its section.
  storeRows(std::string("c.txt") + kSep + "9" + kSep + "when" + kSep + "\r\n" +
            rowLine(kRowA, "1"));
  store->SetSection(itemSection(digest.ofBytes(kRowA[6])));
  store->WriteNumber(schema::kSequence, 7);
  MainWindow& w = showWindow(false);
  ASSERT_EQ(w.list().rowCount(), 2);
  EXPECT_EQ(w.list().cellText(0, 0), "c.txt");
  EXPECT_EQ(w.list().cellText(0, 1), "0");  // the stored number, none here
  EXPECT_EQ(w.list().cellText(0, 2), "when");
  for (int c = 3; c < 7; ++c) EXPECT_EQ(w.list().cellText(0, c), "");
  EXPECT_FALSE(w.list().isTicked(0));
  EXPECT_EQ(items->at(0).itemKey, digest.ofBytes(""));
  EXPECT_EQ(w.list().cellText(1, 1), "7");
  EXPECT_EQ(items->at(1).sequenceNumber, 7);
}

// ---- the settings store while the monitor polls ---------------------------------

// Records, for each message it gets, whether the monitor was polling then.
struct Probe {
  static constexpr UINT kMessage = WM_APP + 77;
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMessage) {
      handledWhilePolling.push_back(watched && watched->isPolling());
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  static HWND create() {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "QijuanPollProbe";
      return RegisterClassA(&wc) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExA(0, "QijuanPollProbe", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  static inline std::vector<bool> handledWhilePolling;
  static inline const MainWindow* watched = nullptr;
};

TEST_F(MainWindowTest, StoreLetsNoMessageRunDuringAPoll) {
  const std::string source = dir.file("watched.txt");
  writeFileBytes(source, "content");
  storeRows(rowLine({"watched.txt", "0", "", "", "", "", source}, "1"));
  MainWindow& w = showWindow(false);
  ASSERT_EQ(items->count(), 1);
  HWND probe = Probe::create();
  ASSERT_NE(probe, nullptr);
  Probe::watched = &w;
  Probe::handledWhilePolling.clear();

  // Outside a poll the store's searches do let messages run.
  PostMessageA(probe, Probe::kMessage, 0, 0);
  store->SetSection("其它");
  store->WriteText("键", "值");
  EXPECT_EQ(Probe::handledWhilePolling, std::vector<bool>{false});

  Probe::handledWhilePolling.clear();
  int roundOfProbe = 0;
  pump.onEvents = [&] {
    if (pump.rounds == 1) {
      // Handled by the next round of the cycle, not by the poll's writes.
      PostMessageA(probe, Probe::kMessage, 0, 0);
      roundOfProbe = 1;
    } else if (pump.rounds == 2) {
      postStartClick();
    }
  };
  SendMessageA(w.hwnd(), WM_COMMAND, MAKEWPARAM(control_id::kStartButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(w.startButton()));
  EXPECT_EQ(roundOfProbe, 1);
  // The poll did write: the file's time reached its section.
  store->SetSection(itemSection(items->at(0).itemKey));
  EXPECT_NE(store->ReadDate(schema::kLastTime, 0), 0);
  EXPECT_EQ(Probe::handledWhilePolling, std::vector<bool>{false});
  Probe::watched = nullptr;
  DestroyWindow(probe);
}

}  // namespace

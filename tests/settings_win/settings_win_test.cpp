// The settings store on the real system: files in a temporary folder opened
// through CreateFileA, window messages dispatched from inside a write, the
// store's message boxes, and a menu item of a real popup menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "settings/settings_store.h"
#include "tests/settings/ini_scenarios.h"
#include "tests/support/temp_dir.h"
#include "win32/menu_item_win.h"
#include "win32/message_box_win.h"
#include "win32/settings_host_win.h"
#include "win32/unique_handle.h"

namespace {

class DiskScenarioTest : public testing::TestWithParam<ini_scenarios::Scenario> {};

TEST_P(DiskScenarioTest, FileHoldsExactBytes) {
  const ini_scenarios::Scenario& s = GetParam();
  TempDir dir;
  const std::string path = dir.file("设置.ini");
  if (s.fileExists) writeFileBytes(path, s.start);
  Win32SettingsHost host;
  ini_scenarios::run(s, host, path, [&] { return readFileBytes(path); });
}

INSTANTIATE_TEST_SUITE_P(Settings, DiskScenarioTest, testing::ValuesIn(ini_scenarios::all()),
                         ini_scenarios::NameOf());

TEST(Win32SettingsFile, ReplaceMovesTheRestAndStopsAtTheEnd) {
  TempDir dir;
  const std::string path = dir.file("f.ini");
  writeFileBytes(path, "0123456789");
  Win32SettingsHost host;
  auto file = host.openForEditing(path);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->replace(2, 3, "abcdef"));
  EXPECT_EQ(readFileBytes(path), "01abcdef56789");
  EXPECT_TRUE(file->replace(1, 8, "-"));
  EXPECT_EQ(readFileBytes(path), "0-6789");
  EXPECT_TRUE(file->replace(6, 0, "!"));
  EXPECT_EQ(readFileBytes(path), "0-6789!");
  EXPECT_TRUE(file->replace(3, SettingsFile::kToEnd, "xy"));
  EXPECT_EQ(readFileBytes(path), "0-6xy");
  EXPECT_FALSE(file->replace(6, 0, "z"));
  EXPECT_EQ(readFileBytes(path), "0-6xy");
}

TEST(Win32SettingsOpen, MissingFileIsCreatedEmptyAndHeldForReadingOnly) {
  TempDir dir;
  const std::string path = dir.file("new.ini");
  Win32SettingsHost host;
  SettingsStore store(host);
  ASSERT_TRUE(store.Open(path));
  EXPECT_TRUE(pathExists(path));
  EXPECT_EQ(readFileBytes(path), "");
  UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer) << "another program must not write the open file";
  store.Close();
  writer.reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(writer) << "Close lets go of the file";
}

TEST(Win32SettingsOpen, MissingFolderIsNotCreated) {
  TempDir dir;
  const std::string path = dir.file("gone\\settings.ini");
  Win32SettingsHost host;
  SettingsStore store(host);
  EXPECT_FALSE(store.Open(path));
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kWritten);
  EXPECT_FALSE(pathExists(dir.file("gone")));
}

TEST(Win32SettingsOpen, SecondStoreOnTheSameFileNeverReachesTheDisk) {
  TempDir dir;
  const std::string path = dir.file("settings.ini");
  writeFileBytes(path, "[S]\r\nK=1");
  Win32SettingsHost host;
  SettingsStore first(host), second(host);
  ASSERT_TRUE(first.Open(path));
  EXPECT_EQ(first.WriteEntry("S", "K", "2"), SettingsStore::kWritten);
  EXPECT_FALSE(second.Open(path));
  EXPECT_EQ(second.ReadEntry("S", "K", "", true), "2") << "reads the file as it stands";
  second.WriteEntry("S", "K", "3");
  second.WriteEntry("T", "X", "y");
  second.SetSection("S");
  EXPECT_FALSE(second.WriteBytes("B", "b"));
  EXPECT_EQ(readFileBytes(path), "[S]\r\nK=2");
  EXPECT_EQ(first.WriteEntry("S", "K", "4"), SettingsStore::kWritten);
  second.Close();
  first.Close();
  EXPECT_EQ(readFileBytes(path), "[S]\r\nK=4");
  EXPECT_FALSE(pathExists(dir.file("inibin")));
}

TEST(Win32SettingsSideFiles, WrittenWholeInTheInibinFolder) {
  TempDir dir;
  Win32SettingsHost host;
  SettingsStore store(host);
  ASSERT_TRUE(store.Open(dir.file("settings.ini")));
  store.SetSection("主界面");
  const std::string rows("a\r\nb\0\xFF", 6);
  EXPECT_TRUE(store.WriteBytes("表项", rows));
  const std::string side = dir.file("inibin\\主界面-表项.ibn");
  EXPECT_EQ(readFileBytes(side), rows);
  EXPECT_EQ(store.ReadBytes("表项", "d"), rows);
  EXPECT_TRUE(store.WriteBytes("表项", "short"));
  EXPECT_EQ(readFileBytes(side), "short") << "the old file is replaced, not overwritten in part";
  EXPECT_TRUE(store.WriteBytes("表项", ""));
  EXPECT_TRUE(pathExists(side));
  EXPECT_EQ(store.ReadBytes("表项", "d"), "d");
}

// A message-only window whose posted messages make writes of their own, as
// a click handler would while the store is searching.
class PostedWriteTest : public testing::Test {
 protected:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
      auto* self = reinterpret_cast<PostedWriteTest*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
      self->statuses.push_back(
          self->store.WriteEntry("T", "X", std::to_string(static_cast<int>(wp))));
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QjPostedWriteTest";
    RegisterClassA(&wc);
    window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ASSERT_TRUE(store.Open(dir.file("settings.ini")));
  }
  void TearDown() override { DestroyWindow(window); }

  TempDir dir;
  Win32SettingsHost host;
  SettingsStore store{host};
  HWND window = nullptr;
  std::vector<int> statuses;
};

TEST_F(PostedWriteTest, MessagesDispatchedInsideAWriteQueueTheirWrites) {
  PostMessageA(window, WM_APP, 1, 0);
  PostMessageA(window, WM_APP, 2, 0);
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kWritten);
  EXPECT_EQ(statuses, (std::vector<int>{3, 3}));
  EXPECT_EQ(readFileBytes(dir.file("settings.ini")), "[S]\r\nK=V\r\n[T]\r\nX=2");
}

TEST_F(PostedWriteTest, QuitRequestIsLeftForTheMainLoop) {
  PostQuitMessage(7);
  store.ReadEntry("S", "K", "", true);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(Win32SettingsHostBoxes, WarningIsSystemModalAndTheDocumentBoxPlain) {
  struct Box {
    std::string text, title;
    UINT flags;
  };
  std::vector<Box> boxes;
  ScopedMessageBoxHandler answer([&](const std::string& text, const std::string& title,
                                     UINT flags) {
    boxes.push_back({text, title, flags});
    return IDOK;
  });
  Win32SettingsHost host;
  host.showMessage("w", "禾岚：", StoreMessageKind::kWarningSystemModal);
  host.showMessage("[S]\r\nK=", "信息：", StoreMessageKind::kPlain);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL));
  EXPECT_EQ(boxes[1].text, "[S]\r\nK=");
  EXPECT_EQ(boxes[1].flags, static_cast<UINT>(MB_OK));
}

class PopupMenuTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(menu); }
  UniqueMenu menu{CreatePopupMenu()};
};

TEST_F(PopupMenuTest, CaptionOfAnyLengthAndCheckMark) {
  std::string longCaption;
  for (int i = 0; i < 2000; ++i) longCaption += "开";
  longCaption += "x";
  ASSERT_TRUE(AppendMenuA(menu.get(), MF_STRING, 101, "开机启动"));
  ASSERT_TRUE(AppendMenuA(menu.get(), MF_STRING, 102, longCaption.c_str()));
  Win32MenuItem item(menu.get(), 101), other(menu.get(), 102);
  EXPECT_EQ(item.caption(), "开机启动");
  EXPECT_EQ(other.caption(), longCaption);
  EXPECT_FALSE(item.checked());
  item.setChecked(true);
  EXPECT_TRUE(GetMenuState(menu.get(), 101, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(item.checked());
  EXPECT_FALSE(other.checked());
  EXPECT_EQ(Win32MenuItem(menu.get(), 999).caption(), "");
}

TEST_F(PopupMenuTest, CheckMarkSavedAndRestoredUnderTheCaption) {
  ASSERT_TRUE(AppendMenuA(menu.get(), MF_STRING, 101, "开机启动"));
  Win32MenuItem item(menu.get(), 101);
  TempDir dir;
  const std::string path = dir.file("settings.ini");
  Win32SettingsHost host;
  {
    SettingsStore store(host);
    ASSERT_TRUE(store.Open(path));
    store.SetSection("主界面");
    EXPECT_FALSE(store.LoadMenuChecked(item)) << "nothing stored: the mark stays as it was";
    EXPECT_EQ(readFileBytes(path), "");
    item.setChecked(true);
    EXPECT_TRUE(store.SaveMenuChecked(item));
  }
  EXPECT_EQ(readFileBytes(path), "[主界面]\r\n开机启动=真");
  item.setChecked(false);
  SettingsStore store(host);
  ASSERT_TRUE(store.Open(path));
  store.SetSection("主界面");
  EXPECT_TRUE(store.LoadMenuChecked(item));
  EXPECT_TRUE(GetMenuState(menu.get(), 101, MF_BYCOMMAND) & MF_CHECKED);
}

}  // namespace

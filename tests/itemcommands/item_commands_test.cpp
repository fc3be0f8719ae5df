// The editing commands on real files and a real settings file: the real
// store, file system and MD5, a plain table for the list (the real control
// where its own selection matters), the panel's boxes as plain texts and the
// message boxes answered by the test.
#include "backuplist/item_commands.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "backuplist/backup_list_view.h"
#include "common/text.h"
#include "engine/item_schema.h"
#include "tests/support/table_list_view.h"
#include "tests/support/file_times.h"
#include "tests/support/temp_dir.h"
#include "win32/crypto_digest.h"
#include "win32/file_system_win.h"
#include "win32/message_box_win.h"
#include "win32/settings_host_win.h"

namespace {

constexpr char kMd5OfNothing[] = "d41d8cd98f00b204e9800998ecf8427e";
constexpr char kTemplate[] = "<目录路径>\\bak\\<主名>_[<序号>]<副名>";

struct Box {
  std::string text;
  std::string title;
  UINT flags;
};

// Everything the commands reach, with the list view chosen by the test.
class Harness {
 public:
  explicit Harness(ListView& view)
      : view_(view),
        store(host),
        commands(ItemCommandServices{
            view_, items, store, files, digest, [this] { return panel; },
            [this] { ++filesBoxFocused; },
            [this](const std::string& caption) { captions.push_back(caption); },
            [this] { return watching; },
            [this](unsigned ms) {
              pauses.push_back(ms);
              captionsAtPause.push_back(captions.empty() ? "" : captions.back());
            },
            [this] { savedRowCounts.push_back(view_.rowCount()); }}) {
    settingsPath = dir.file("settings.ini");
    store.Open(settingsPath, 0);
  }

  std::string entry(const std::string& sourcePath, const char* key) const {
    return store.ReadEntry(itemSection(digest.ofBytes(sourcePath)), key, "<missing>", false);
  }
  std::string settingsBytes() const { return readFileBytes(settingsPath); }

  // The section of an item as a backup would have left it.
  void storeTrackingState(const std::string& sourcePath, int sequence, std::int64_t size,
                          const std::string& md5, double time, const std::string& history) {
    store.SetSection(itemSection(digest.ofBytes(sourcePath)));
    store.WriteNumber(schema::kSequence, sequence);
    store.WriteNumber(schema::kLastSize, static_cast<double>(size));
    store.WriteText(schema::kLastDigest, md5);
    store.WriteDate(schema::kLastTime, time);
    store.WriteText(schema::kHistory, history);
  }

  void add(const std::string& files, const std::string& pathTemplate = kTemplate,
           const std::string& keep = "10", const std::string& seconds = "5") {
    panel = PanelInput{files, pathTemplate, keep, seconds};
    commands.OnAdd();
  }

 private:
  ListView& view_;

 public:
  TempDir dir;
  std::string settingsPath;
  Win32SettingsHost host;
  mutable CryptoDigest digest;
  SettingsStore store;
  BackupItemList items;
  Win32FileSystem files;
  PanelInput panel;
  bool watching = false;
  int filesBoxFocused = 0;
  std::vector<std::string> captions;
  std::vector<unsigned> pauses;
  std::vector<std::string> captionsAtPause;
  std::vector<int> savedRowCounts;
  std::vector<Box> boxes;
  int answer = IDOK;
  ScopedMessageBoxHandler boxHandler{[this](const std::string& text, const std::string& title,
                                            UINT flags) {
    boxes.push_back(Box{text, title, flags});
    return answer;
  }};
  ItemCommands commands;
};

class ItemCommandsTest : public testing::Test {
 protected:
  TableListView view;
  Harness h{view};
};

TEST_F(ItemCommandsTest, AddMakesATickedRowAndWritesTheOptions) {
  const std::string path = h.dir.file("a.txt");
  writeFileBytes(path, "hello");
  ASSERT_TRUE(setLocalWriteTime(path, 2016, 3, 1, 14, 23, 5));

  h.add(path, kTemplate, "3", "7");

  ASSERT_EQ(view.rowCount(), 1);
  ASSERT_EQ(h.items.count(), 1);
  const TableListView::Row& row = view.rows[0];
  EXPECT_EQ(row.cells[ListView::kFileName], "a.txt");
  EXPECT_EQ(row.cells[ListView::kSequence], "0");
  EXPECT_EQ(row.cells[ListView::kLastTime], "2016-03-01 14:23:05");
  EXPECT_EQ(row.cells[ListView::kLastSize], "5 B");
  EXPECT_EQ(row.cells[ListView::kSizeChange], "5 B");
  EXPECT_EQ(row.cells[ListView::kBackupPaths], h.dir.file("bak\\a_[0].txt"));
  EXPECT_EQ(row.cells[ListView::kSourcePath], path);
  EXPECT_TRUE(row.ticked);
  EXPECT_EQ(row.icon, 0);
  EXPECT_EQ(view.lastScrolled, 0);

  const BackupItem& item = h.items.at(0);
  EXPECT_EQ(item.sourcePath, path);
  EXPECT_EQ(item.itemKey, h.digest.ofBytes(path));
  EXPECT_EQ(item.pathTemplate, kTemplate);
  EXPECT_EQ(item.keepCount, 3);
  EXPECT_EQ(item.refreshSeconds, 7.0f);
  // A file never listed before has no state: the first poll backs it up.
  EXPECT_EQ(item.sequenceNumber, 0);
  EXPECT_EQ(item.lastDigest, "");
  EXPECT_EQ(item.lastModified, 0.0);
  EXPECT_TRUE(item.historyPaths.empty());
  EXPECT_EQ(item.lastPollTick, 0u);

  // Only the options are written; each new key lands right under the
  // header, so the first one written stands last.
  EXPECT_EQ(h.settingsBytes(), "[" + itemSection(item.itemKey) + "]\r\n" + "备份路径=" + kTemplate +
                                   "\r\n" + "刷新秒=7\r\n" + "备份数=3");
  EXPECT_TRUE(h.boxes.empty());
  EXPECT_TRUE(h.savedRowCounts.empty()) << "idle: the rows wait for the next save";
}

TEST_F(ItemCommandsTest, FileBoxIsSplitAtBars) {
  struct Case {
    const char* files;
    std::vector<std::string> paths;
    std::vector<std::string> captions;
  };
  const Case cases[] = {
      {"D:\\a.txt|D:\\b.txt", {"D:\\a.txt", "D:\\b.txt"}, {"a.txt", "b.txt"}},
      {"D:\\a.txt|", {"D:\\a.txt"}, {"a.txt"}},
      {"D:\\a.txt||D:\\b.txt", {"D:\\a.txt", "", "D:\\b.txt"}, {"a.txt", "", "b.txt"}},
      {"noslash.txt", {"noslash.txt"}, {"noslash.txt"}},
      // The same file twice in one click gives one item.
      {"D:\\a.txt|D:\\a.txt", {"D:\\a.txt"}, {"a.txt"}},
  };
  for (const Case& c : cases) {
    view.rows.clear();
    view.lastScrolled = -1;
    h.items.clear();
    h.add(c.files, "<主名>.bak", "4", "9");
    ASSERT_EQ(view.rowCount(), static_cast<int>(c.paths.size())) << c.files;
    ASSERT_EQ(h.items.count(), view.rowCount()) << c.files;
    for (int i = 0; i < view.rowCount(); ++i) {
      const std::string& path = c.paths[static_cast<std::size_t>(i)];
      EXPECT_EQ(view.cellText(i, ListView::kFileName), c.captions[static_cast<std::size_t>(i)])
          << c.files << " row " << i;
      EXPECT_EQ(view.cellText(i, ListView::kSourcePath), path) << c.files << " row " << i;
      EXPECT_EQ(h.items.at(i).sourcePath, path) << c.files << " row " << i;
      EXPECT_EQ(h.items.at(i).itemKey, h.digest.ofBytes(path)) << c.files << " row " << i;
      EXPECT_EQ(h.items.at(i).keepCount, 4) << c.files << " row " << i;
      EXPECT_EQ(h.items.at(i).refreshSeconds, 9.0f) << c.files << " row " << i;
      EXPECT_EQ(h.entry(path, schema::kKeepCount), "4") << c.files << " row " << i;
    }
    EXPECT_EQ(view.lastScrolled, view.rowCount() - 1) << c.files;
  }
  EXPECT_EQ(h.digest.ofBytes(""), kMd5OfNothing);
  EXPECT_TRUE(h.boxes.empty());
}

TEST_F(ItemCommandsTest, MissingFileIsAcceptedWithTheMissingFileColumns) {
  const std::string path = h.dir.file("gone\\a.txt");
  h.add(path);
  ASSERT_EQ(view.rowCount(), 1);
  EXPECT_EQ(view.cellText(0, ListView::kLastTime), "100-01-01 00:00:00");
  EXPECT_EQ(view.cellText(0, ListView::kLastSize), "0 B");
  EXPECT_EQ(view.cellText(0, ListView::kSizeChange), "0 B");
  EXPECT_EQ(view.cellText(0, ListView::kBackupPaths), h.dir.file("gone\\bak\\a_[0].txt"));
  EXPECT_TRUE(view.isTicked(0));
  EXPECT_TRUE(h.boxes.empty());
}

TEST_F(ItemCommandsTest, EmptyFileBoxAsksForAPathAndChangesNothing) {
  h.add("", kTemplate, "3", "7");
  ASSERT_EQ(h.boxes.size(), 1u);
  EXPECT_EQ(h.boxes[0].text, "请输入要备份的文件路径，或拖放路径！");
  EXPECT_EQ(h.boxes[0].title, "信息：");
  EXPECT_EQ(h.boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(h.filesBoxFocused, 1);
  EXPECT_EQ(view.rowCount(), 0);
  EXPECT_EQ(h.items.count(), 0);
  EXPECT_EQ(h.settingsBytes(), "");
}

TEST_F(ItemCommandsTest, ListedPathAddsNoRowButStoresThePanelsOptions) {
  const std::string a = h.dir.file("a.txt");
  const std::string b = h.dir.file("b.txt");
  h.add(a + "|" + b, "old", "3", "7");
  view.lastScrolled = -1;

  h.add(b, "new", "4", "8");

  EXPECT_EQ(view.rowCount(), 2);
  EXPECT_TRUE(h.boxes.empty());
  EXPECT_EQ(view.lastScrolled, 0) << "no row added: the first row is scrolled to";
  // The listed item keeps its options until the program starts again.
  EXPECT_EQ(h.items.at(1).pathTemplate, "old");
  EXPECT_EQ(h.items.at(1).keepCount, 3);
  EXPECT_EQ(h.items.at(1).refreshSeconds, 7.0f);
  EXPECT_EQ(h.entry(b, schema::kPathTemplate), "new");
  EXPECT_EQ(h.entry(b, schema::kKeepCount), "4");
  EXPECT_EQ(h.entry(b, schema::kRefreshSeconds), "8");
  EXPECT_EQ(h.entry(a, schema::kPathTemplate), "old");
}

TEST_F(ItemCommandsTest, RemovedAndAddedAgainContinuesItsState) {
  const std::string path = h.dir.file("a.txt");
  writeFileBytes(path, "hello");
  h.add(path);
  const double stamp = 42430.59936342593;  // 2016-03-01 14:23:05
  h.storeTrackingState(path, 3, 5, "5d41402abc4b2a76b9719d911017c592", stamp,
                       h.dir.file("bak\\a_[3].txt") + "|" + h.dir.file("bak\\a_[2].txt"));
  view.rows[0].selected = true;
  h.commands.OnDelete();
  ASSERT_EQ(view.rowCount(), 0);
  ASSERT_EQ(h.items.count(), 0);

  h.add(path);

  ASSERT_EQ(h.items.count(), 1);
  const BackupItem& item = h.items.at(0);
  EXPECT_EQ(item.sequenceNumber, 3);
  EXPECT_EQ(item.lastSize, 5);
  EXPECT_EQ(item.lastDigest, "5d41402abc4b2a76b9719d911017c592");
  EXPECT_NEAR(item.lastModified, stamp, 1.0 / 86400);
  EXPECT_EQ(item.historyPaths,
            (std::vector<std::string>{h.dir.file("bak\\a_[3].txt"), h.dir.file("bak\\a_[2].txt")}));
  EXPECT_EQ(view.cellText(0, ListView::kSequence), "3");
  EXPECT_EQ(view.cellText(0, ListView::kBackupPaths), h.dir.file("bak\\a_[3].txt"));
  // The size change is against the stored size.
  EXPECT_EQ(view.cellText(0, ListView::kSizeChange), "0 B");
}

TEST_F(ItemCommandsTest, PanelNumbersFollowTheirRules) {
  struct Case {
    const char* text;  // typed into both number boxes
    std::int32_t keepCount;
    float refreshSeconds;
    const char* storedKeep;
    const char* storedSeconds;
  };
  const Case cases[] = {
      {"0", 10, 5.0f, "10", "5"},
      {"abc", 10, 5.0f, "10", "5"},
      {"１２", 12, 12.0f, "12", "12"},
      {"0.5", 10, 5.0f, "10", "5"},
      {"1", 1, 1.0f, "1", "1"},
      {"-3", 10, 5.0f, "10", "5"},
      {" 2.5s", 2, 2.5f, "2", "2.5"},
      // Held as 0.99999988: more than 0.0000001 below 1.
      {"0.9999999", 10, 5.0f, "10", "5"},
      // The largest float below 1 stays.
      {"0.99999994", 10, 0.99999994f, "10", "0.9999999403954"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = h.dir.file("n" + std::to_string(n++) + ".txt");
    h.add(path, kTemplate, c.text, c.text);
    const BackupItem& item = h.items.at(h.items.count() - 1);
    EXPECT_EQ(item.keepCount, c.keepCount) << c.text;
    EXPECT_EQ(item.refreshSeconds, c.refreshSeconds) << c.text;
    EXPECT_EQ(h.entry(path, schema::kKeepCount), c.storedKeep) << c.text;
    EXPECT_EQ(h.entry(path, schema::kRefreshSeconds), c.storedSeconds) << c.text;
  }
}

TEST_F(ItemCommandsTest, AddWhileWatchingSavesTheRowsAtOnce) {
  h.watching = true;
  h.add(h.dir.file("a.txt") + "|" + h.dir.file("b.txt"));
  EXPECT_EQ(h.savedRowCounts, std::vector<int>{2});
  // Even a click that adds no row saves.
  h.add(h.dir.file("a.txt"));
  EXPECT_EQ(h.savedRowCounts, (std::vector<int>{2, 2}));
}

// Three items a, b, c with the options "old", 3, 7; a and c selected.
class ModifyTest : public ItemCommandsTest {
 protected:
  void SetUp() override {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) paths.push_back(h.dir.file(name));
    h.add(text::join(paths, "|"), "old", "3", "7");
    view.rows[0].selected = true;
    view.rows[2].selected = true;
    expandedBefore = view.cellText(0, ListView::kBackupPaths);
    h.panel = PanelInput{"ignored.txt", "new", "4", "8"};
  }

  void expectOptions(int row, const char* pathTemplate, int keep, float seconds) {
    const BackupItem& item = h.items.at(row);
    EXPECT_EQ(item.pathTemplate, pathTemplate) << "row " << row;
    EXPECT_EQ(item.keepCount, keep) << "row " << row;
    EXPECT_EQ(item.refreshSeconds, seconds) << "row " << row;
    const std::string& path = paths[static_cast<std::size_t>(row)];
    EXPECT_EQ(h.entry(path, schema::kPathTemplate), pathTemplate) << "row " << row;
    EXPECT_EQ(h.entry(path, schema::kKeepCount), std::to_string(keep)) << "row " << row;
  }

  void expectAskedOnce() {
    ASSERT_GE(h.boxes.size(), 1u);
    EXPECT_EQ(h.boxes[0].text, "确定将当前备份选项修改到选定的列表？");
    EXPECT_EQ(h.boxes[0].title, "信息：");
    EXPECT_EQ(h.boxes[0].flags, static_cast<UINT>(MB_OKCANCEL));
  }

  std::vector<std::string> paths;
  std::string expandedBefore;
};

TEST_F(ModifyTest, OkCopiesThePanelsOptionsOntoTheSelectedItems) {
  h.commands.OnModifySelected();

  expectAskedOnce();
  EXPECT_EQ(h.boxes.size(), 1u);
  expectOptions(0, "new", 4, 8.0f);
  expectOptions(1, "old", 3, 7.0f);
  expectOptions(2, "new", 4, 8.0f);
  EXPECT_EQ(h.entry(paths[0], schema::kRefreshSeconds), "8");
  EXPECT_EQ(view.rowCount(), 3) << "the file box plays no part";
  EXPECT_EQ(view.cellText(0, ListView::kBackupPaths), expandedBefore)
      << "the row keeps its old expansion until the next backup";
  EXPECT_EQ(h.captions, (std::vector<std::string>{"已修改", "添加"}));
  EXPECT_EQ(h.pauses, std::vector<unsigned>{500});
  EXPECT_EQ(h.captionsAtPause, std::vector<std::string>{"已修改"});
}

TEST_F(ModifyTest, AnythingButOkChangesNothing) {
  const std::string before = h.settingsBytes();
  for (int answer : {IDCANCEL, IDCLOSE}) {
    h.answer = answer;
    h.commands.OnModifySelected();
  }
  EXPECT_EQ(h.boxes.size(), 2u);
  expectAskedOnce();
  for (int row = 0; row < 3; ++row) expectOptions(row, "old", 3, 7.0f);
  EXPECT_EQ(h.settingsBytes(), before);
  EXPECT_TRUE(h.captions.empty());
  EXPECT_TRUE(h.pauses.empty());
}

TEST_F(ModifyTest, EmptyTemplateIsRefused) {
  const std::string before = h.settingsBytes();
  h.panel.pathTemplate = "";
  h.commands.OnModifySelected();
  expectAskedOnce();
  ASSERT_EQ(h.boxes.size(), 2u);
  EXPECT_EQ(h.boxes[1].text, "备份到路径不能为空！");
  EXPECT_EQ(h.boxes[1].title, "信息：");
  EXPECT_EQ(h.boxes[1].flags, static_cast<UINT>(MB_OK));
  for (int row = 0; row < 3; ++row) expectOptions(row, "old", 3, 7.0f);
  EXPECT_EQ(h.settingsBytes(), before);
  EXPECT_TRUE(h.captions.empty());
}

TEST_F(ModifyTest, NoSelectionStillAsksAndShowsModified) {
  for (auto& row : view.rows) row.selected = false;
  const std::string before = h.settingsBytes();
  h.commands.OnModifySelected();
  expectAskedOnce();
  EXPECT_EQ(h.settingsBytes(), before);
  EXPECT_EQ(h.captions, (std::vector<std::string>{"已修改", "添加"}));
  EXPECT_EQ(h.pauses, std::vector<unsigned>{500});
}

TEST_F(ModifyTest, DeleteRemovesTheSelectedRowsAndItemsOnly) {
  const std::string before = h.settingsBytes();
  h.commands.OnDelete();
  ASSERT_EQ(view.rowCount(), 1);
  ASSERT_EQ(h.items.count(), 1);
  EXPECT_EQ(view.cellText(0, ListView::kSourcePath), paths[1]);
  EXPECT_EQ(h.items.at(0).sourcePath, paths[1]);
  EXPECT_TRUE(h.boxes.empty());
  // The sections stay; the saved rows change at the next save.
  EXPECT_EQ(h.settingsBytes(), before);
  EXPECT_TRUE(h.savedRowCounts.empty());
}

TEST_F(ModifyTest, DeleteIsRefusedWhileWatching) {
  h.watching = true;
  h.commands.OnDelete();
  for (auto& row : view.rows) row.selected = false;
  h.commands.OnDelete();
  ASSERT_EQ(h.boxes.size(), 2u) << "the message comes even with nothing selected";
  for (const Box& box : h.boxes) {
    EXPECT_EQ(box.text, "请先停止备份监视再删除项目！");
    EXPECT_EQ(box.title, "信息：");
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK));
  }
  EXPECT_EQ(view.rowCount(), 3);
  EXPECT_EQ(h.items.count(), 3);
}

TEST_F(ModifyTest, DeleteWithNothingSelectedDoesNothing) {
  for (auto& row : view.rows) row.selected = false;
  h.commands.OnDelete();
  EXPECT_EQ(view.rowCount(), 3);
  EXPECT_EQ(h.items.count(), 3);
  EXPECT_TRUE(h.boxes.empty());
}

TEST_F(ModifyTest, ResetZeroesTheSelectedSequenceNumbersAndKeepsTheRest) {
  const double stamp = 42430.5;
  for (const std::string& path : paths)
    h.storeTrackingState(path, 6, 5, "5d41402abc4b2a76b9719d911017c592", stamp, "x|y");
  for (int row = 0; row < 3; ++row) {
    h.items.at(row).sequenceNumber = 6;
    view.setCellText(row, ListView::kSequence, "6");
  }

  h.commands.OnResetSequence();

  for (int row : {0, 2}) {
    const std::string& path = paths[static_cast<std::size_t>(row)];
    EXPECT_EQ(h.items.at(row).sequenceNumber, 0) << row;
    EXPECT_EQ(view.cellText(row, ListView::kSequence), "0") << row;
    EXPECT_EQ(h.entry(path, schema::kSequence), "0") << row;
    EXPECT_EQ(h.entry(path, schema::kLastSize), "5") << row;
    EXPECT_EQ(h.entry(path, schema::kLastDigest), "5d41402abc4b2a76b9719d911017c592") << row;
    EXPECT_EQ(h.entry(path, schema::kHistory), "x|y") << row;
    EXPECT_NE(h.entry(path, schema::kLastTime), "<missing>") << row;
    EXPECT_EQ(h.entry(path, schema::kKeepCount), "3") << row;
  }
  EXPECT_EQ(h.items.at(1).sequenceNumber, 6);
  EXPECT_EQ(view.cellText(1, ListView::kSequence), "6");
  EXPECT_EQ(h.entry(paths[1], schema::kSequence), "6");
  EXPECT_TRUE(h.boxes.empty());
}

// The real control: ticks, selection and deletion as the window has them.
TEST(ItemCommandsOnTheListControl, AddResetAndDeleteFollowTheControlsSelection) {
  const HWND parent = CreateWindowExA(0, "STATIC", "list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      800, 500, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  {
    BackupListView view;
    ASSERT_TRUE(view.Create(parent, 1001));
    Harness h(view);
    std::vector<std::string> paths;
    for (int i = 0; i < 30; ++i) paths.push_back(h.dir.file("f" + std::to_string(i) + ".txt"));
    h.add(text::join(paths, "|"));
    ASSERT_EQ(view.rowCount(), 30);
    EXPECT_TRUE(view.isTicked(0));
    EXPECT_TRUE(view.isTicked(29));
    EXPECT_EQ(view.cellText(29, ListView::kFileName), "f29.txt");
    EXPECT_EQ(view.cellText(29, ListView::kSourcePath), paths[29]);
    // The last row added is scrolled into view.
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(view.hwnd(), LVM_GETITEMRECT, 29, reinterpret_cast<LPARAM>(&rect)));
    RECT client = {};
    GetClientRect(view.hwnd(), &client);
    EXPECT_LE(rect.bottom, client.bottom);
    EXPECT_GE(rect.top, 0);

    for (int row : {3, 5, 6}) {
      LVITEMA state = {};
      state.state = LVIS_SELECTED;
      state.stateMask = LVIS_SELECTED;
      SendMessageA(view.hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    h.items.at(4).sequenceNumber = 9;
    h.commands.OnResetSequence();
    h.commands.OnDelete();

    ASSERT_EQ(view.rowCount(), 27);
    ASSERT_EQ(h.items.count(), 27);
    for (int row = 0; row < 27; ++row) {
      EXPECT_EQ(view.cellText(row, ListView::kSourcePath), h.items.at(row).sourcePath) << row;
    }
    EXPECT_EQ(view.cellText(3, ListView::kSourcePath), paths[4]);
    EXPECT_EQ(view.cellText(4, ListView::kSourcePath), paths[7]);
    EXPECT_EQ(h.items.at(3).sequenceNumber, 9) << "an unselected row keeps its number";
    EXPECT_EQ(h.entry(paths[5], schema::kSequence), "0");
    EXPECT_EQ(h.entry(paths[4], schema::kSequence), "<missing>");
  }
  DestroyWindow(parent);
}

}  // namespace

namespace {

// A real box (no handler): it has no owner, yet the program's windows take
// no input until it is answered.
struct RealBox {
  bool found = false;
  std::string title;
  HWND owner = reinterpret_cast<HWND>(1);
  bool windowEnabled = true;
  HWND window = nullptr;
};
RealBox realBox;

void CALLBACK answerRealBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowA("#32770", "信息：");
  if (!box) return;  // not up yet: the timer comes again
  KillTimer(nullptr, timer);
  realBox.found = true;
  realBox.owner = GetWindow(box, GW_OWNER);
  realBox.windowEnabled = IsWindowEnabled(realBox.window) != FALSE;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST(ItemCommandsRealBox, DeleteWhileWatchingBlocksTheWindowsUntilAnswered) {
  realBox.window = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(realBox.window, nullptr);
  {
    TableListView view;
    Harness h(view);
    h.watching = true;
    ScopedMessageBoxHandler realBoxes{MessageBoxHandler()};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, answerRealBox);
    h.commands.OnDelete();
    KillTimer(nullptr, timer);
  }
  ASSERT_TRUE(realBox.found);
  EXPECT_EQ(realBox.owner, nullptr);
  EXPECT_FALSE(realBox.windowEnabled) << "the main window took input while the box was open";
  EXPECT_TRUE(IsWindowEnabled(realBox.window));
  DestroyWindow(realBox.window);
}

}  // namespace

// The monitor against real files in a temporary folder: the real file
// system, MD5 and settings file, a table for the list and a clock the test
// moves by hand.
#include "engine/monitor.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "common/text.h"
#include "engine/item_schema.h"
#include "engine/item_store.h"
#include "tests/support/table_list_view.h"
#include "tests/support/file_times.h"
#include "tests/support/temp_dir.h"
#include "win32/crypto_digest.h"
#include "win32/file_system_win.h"
#include "win32/settings_host_win.h"

namespace {

class ManualClock : public Clock {
 public:
  std::uint64_t uptimeMs() override { return now; }
  std::uint64_t now = 1000000;
};

// Runs a test's hook where the cycle would handle window events.
class HookPump : public EventPump {
 public:
  void handlePendingEvents() override {
    ++rounds;
    if (onEvents) onEvents();
  }
  void sleepMs(unsigned ms) override { slept += ms; }
  std::function<void()> onEvents;
  int rounds = 0;
  unsigned slept = 0;
};

class FakeButton : public StartButton {
 public:
  std::string caption() const override { return text; }
  void setCaption(const std::string& caption) override {
    text = caption;
    history.push_back(caption);
  }
  std::string text = kCaptionIdle;
  std::vector<std::string> history;
};

class RecordedMessages : public InfoMessages {
 public:
  void showInformation(const std::string& text, const std::string& title) override {
    shown.push_back(title + text);
  }
  std::vector<std::string> shown;
};

class MonitorTest : public testing::Test {
 protected:
  MonitorTest()
      : store(host),
        monitor(MonitorServices{view, items, store, files, digest, clock, pump, button, messages,
                                [this] { ++saves; }}) {
    settingsPath = dir.file("settings.ini");
    store.Open(settingsPath, 0);
  }

  // Adds a ticked row and its item for a file in the folder.
  int addItem(const std::string& name, const std::string& pathTemplate, int keepCount = 10) {
    BackupItem item;
    item.sourcePath = dir.file(name);
    item.itemKey = digest.ofBytes(item.sourcePath);
    item.pathTemplate = pathTemplate;
    item.keepCount = keepCount;
    item.refreshSeconds = 5;
    items.append(item);
    int row = view.appendRow(text::fileNameOf(item.sourcePath));
    view.setCellText(row, ListView::kSourcePath, item.sourcePath);
    view.setTicked(row, true);
    return row;
  }

  // One due poll of every row: the clock moves past any interval first.
  void pollAll() {
    clock.now += 60000;
    for (int i = 1; i <= view.rowCount(); ++i) monitor.pollItem(i);
  }

  std::string entry(int row, const char* key) {
    return store.ReadEntry(itemSection(items.at(row).itemKey), key, "<missing>", false);
  }

  TempDir dir;
  std::string settingsPath;
  Win32SettingsHost host;
  SettingsStore store;
  TableListView view;
  BackupItemList items;
  Win32FileSystem files;
  CryptoDigest digest;
  ManualClock clock;
  HookPump pump;
  FakeButton button;
  RecordedMessages messages;
  int saves = 0;
  BackupMonitor monitor;
};

TEST_F(MonitorTest, FirstBackupCopiesTheFileAndRecordsItsState) {
  writeFileBytes(dir.file("a.txt"), "hello");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 14, 23, 5));
  addItem("a.txt", "<目录路径>\\bak\\<主名>_<年><月><日>_<时><分><秒>_[<序号>]<副名>");

  pollAll();

  const std::string copy = dir.file("bak\\a_20160301_142305_[1].txt");
  EXPECT_EQ(readFileBytes(copy), "hello");
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
  EXPECT_EQ(items.at(0).lastSize, 5);
  EXPECT_EQ(items.at(0).lastDigest, "5d41402abc4b2a76b9719d911017c592");
  EXPECT_EQ(view.cellText(0, ListView::kSequence), "1");
  EXPECT_EQ(view.cellText(0, ListView::kLastTime), "2016-03-01 14:23:05");
  EXPECT_EQ(view.cellText(0, ListView::kLastSize), "5 B");
  EXPECT_EQ(view.cellText(0, ListView::kSizeChange), "5 B");
  EXPECT_EQ(view.cellText(0, ListView::kBackupPaths), copy);
  EXPECT_EQ(view.rows[0].icon, 1);

  // The section as the store writes it: each new key lands right under the
  // header, so the first key written stands last.
  const std::string expected = "[" + itemSection(items.at(0).itemKey) + "]\r\n" +
                               "历史路径组=" + copy + "\r\n" +
                               "上次md5值=5d41402abc4b2a76b9719d911017c592\r\n" +
                               "上次字节=5\r\n" + "序号=1\r\n" + "上次时间=2016年3月1日14时23分5秒";
  EXPECT_EQ(readFileBytes(settingsPath), expected);
}

TEST_F(MonitorTest, NewTimeWithSameContentOnlyRecordsTheTime) {
  writeFileBytes(dir.file("a.txt"), "same");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 14, 0, 0));
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  pollAll();
  ASSERT_EQ(items.at(0).sequenceNumber, 1);

  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 15, 6, 36));
  pollAll();
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
  EXPECT_FALSE(pathExists(dir.file("a_2.bak")));
  EXPECT_EQ(entry(0, schema::kLastTime), "2016年3月1日15时6分36秒");
  EXPECT_EQ(entry(0, schema::kSequence), "1");
}

TEST_F(MonitorTest, RestoredOlderVersionIsBackedUp) {
  writeFileBytes(dir.file("a.txt"), "new");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 2, 0, 0, 0));
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  pollAll();
  writeFileBytes(dir.file("a.txt"), "old");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 0, 0, 0));
  pollAll();
  EXPECT_EQ(readFileBytes(dir.file("a_2.bak")), "old");
}

TEST_F(MonitorTest, UntickedRowIsNotPolledUntilTickedAgain) {
  writeFileBytes(dir.file("a.txt"), "x");
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  view.setTicked(0, false);
  pollAll();
  EXPECT_EQ(items.at(0).sequenceNumber, 0);
  EXPECT_EQ(items.at(0).lastPollTick, 0u);
  view.setTicked(0, true);
  pollAll();
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
}

TEST_F(MonitorTest, TwoDestinationsGetOneNumberAndTwoCopies) {
  writeFileBytes(dir.file("a.txt"), "two");
  addItem("a.txt", "<目录路径>\\d1\\<主名>_<序号>.bak|<目录路径>\\d2\\<主名>_<序号>.bak");
  pollAll();
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
  EXPECT_EQ(readFileBytes(dir.file("d1\\a_1.bak")), "two");
  EXPECT_EQ(readFileBytes(dir.file("d2\\a_1.bak")), "two");
  EXPECT_EQ(items.at(0).historyPaths.size(), 2u);
}

TEST_F(MonitorTest, EmptyTemplateAdvancesCountersWithoutCopies) {
  writeFileBytes(dir.file("a.txt"), "e");
  addItem("a.txt", "");
  pollAll();
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
  EXPECT_FALSE(items.at(0).lastDigest.empty());
  EXPECT_TRUE(items.at(0).historyPaths.empty());
  EXPECT_EQ(entry(0, schema::kHistory), "");
}

TEST_F(MonitorTest, FourthBackupWithKeepCountThreeDeletesTheFirstCopy) {
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak", 3);
  for (int i = 1; i <= 4; ++i) {
    writeFileBytes(dir.file("a.txt"), "version " + std::to_string(i));
    ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 10, i, 0));
    pollAll();
  }
  EXPECT_FALSE(pathExists(dir.file("a_1.bak")));
  for (int i = 2; i <= 4; ++i)
    EXPECT_EQ(readFileBytes(dir.file("a_" + std::to_string(i) + ".bak")),
              "version " + std::to_string(i));
  EXPECT_EQ(entry(0, schema::kHistory),
            dir.file("a_4.bak") + "|" + dir.file("a_3.bak") + "|" + dir.file("a_2.bak"));
}

TEST_F(MonitorTest, MissingSourceIsSkipped) {
  addItem("missing.txt", "<目录路径>\\<主名>_<序号>.bak");
  pollAll();
  EXPECT_EQ(items.at(0).sequenceNumber, 0);
  EXPECT_EQ(readFileBytes(settingsPath), "");
}

TEST_F(MonitorTest, TwoChangesWithinOneSecondAreBothBackedUp) {
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  writeFileBytes(dir.file("a.txt"), "first");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 10, 0, 0, 100));
  pollAll();
  writeFileBytes(dir.file("a.txt"), "second");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2016, 3, 1, 10, 0, 0, 700));
  pollAll();
  EXPECT_EQ(readFileBytes(dir.file("a_1.bak")), "first");
  EXPECT_EQ(readFileBytes(dir.file("a_2.bak")), "second");
}

TEST_F(MonitorTest, ItemIsPolledOnlyWhenItsIntervalHasRunOut) {
  writeFileBytes(dir.file("a.txt"), "x");
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  pollAll();
  ASSERT_EQ(items.at(0).sequenceNumber, 1);
  writeFileBytes(dir.file("a.txt"), "y");
  ASSERT_TRUE(setLocalWriteTime(dir.file("a.txt"), 2020, 1, 1, 0, 0, 0));
  clock.now += 4999;
  monitor.pollItem(1);
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
  clock.now += 2;
  monitor.pollItem(1);
  EXPECT_EQ(items.at(0).sequenceNumber, 2);
}

TEST_F(MonitorTest, EmptyListShowsTheMessageAndStaysIdle) {
  monitor.OnStartButtonClicked();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], std::string("信息：") + "至少添加一个备份项目！");
  EXPECT_EQ(button.text, kCaptionIdle);
  EXPECT_EQ(saves, 0);
}

TEST_F(MonitorTest, StopRequestTakesEffectBeforeTheNextItem) {
  writeFileBytes(dir.file("a.txt"), "a");
  writeFileBytes(dir.file("b.txt"), "b");
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  addItem("b.txt", "<目录路径>\\<主名>_<序号>.bak");
  // The click arrives with the events handled before the second item.
  pump.onEvents = [this] {
    if (pump.rounds == 2) monitor.OnStartButtonClicked();
  };
  monitor.OnStartButtonClicked();
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(items.at(0).sequenceNumber, 1);
  EXPECT_EQ(items.at(1).sequenceNumber, 0);
  EXPECT_EQ(button.history,
            (std::vector<std::string>{kCaptionWatching, kCaptionStopping, kCaptionIdle}));
  // The pause still runs, in 10 ms steps, before the caption returns.
  EXPECT_EQ(pump.slept, 100u);
}

TEST_F(MonitorTest, PollIsMarkedWhileItRuns) {
  writeFileBytes(dir.file("a.txt"), "x");
  addItem("a.txt", "<目录路径>\\<主名>_<序号>.bak");
  EXPECT_FALSE(monitor.isPolling());
  pollAll();
  EXPECT_FALSE(monitor.isPolling());
}

}  // namespace

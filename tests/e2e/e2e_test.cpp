// The whole program as a user meets it: qijuan.exe in a folder of its own
// with the settings an earlier run left, started as its own process, driven
// through window messages and judged by the files it writes.
//
// Every item polls every second (刷新秒 1), and a pass adds about 100 ms, so
// a change is backed up within about 1.2 s; the waits below are bounded
// polls that end as soon as the awaited file or value is there.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "mainwindow/control_ids.h"
#include "tests/e2e/program_driver.h"

using namespace e2e;

namespace {

using Names = std::vector<std::string>;

// The time an earlier run saw on the watched files: 2021-05-06 07:08:09.
FILETIME earlierTime() { return fileTimeFromLocal(2021, 5, 6, 7, 8, 9); }
const char* const kEarlierListDate = "2021-05-06 07:08:09";
const char* const kEarlierStoredDate = "2021年5月6日7时8分9秒";

const char* const kMainSection = "[主界面]\r\n开机启动=假";

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pathExists(install.exePath())) << "qijuan.exe was not built beside the tests";
    CreateDirectoryA(install.data("文件").c_str(), nullptr);
  }

  std::string watched(const std::string& name) const { return install.data("文件\\" + name); }

  static void makeFile(const std::string& path, const std::string& bytes, const FILETIME& time) {
    writeFileBytes(path, bytes);
    setWriteTime(path, time);
  }

  // A row as an earlier run's add left it: sequence number 0, the file's
  // time and size, and the template expanded with that number.
  static Row addedRow(const std::string& path, const std::string& size,
                      const std::string& expanded, bool ticked = true) {
    return Row{{fileNameOf(path), "0", kEarlierListDate, size, size, expanded, path}, ticked};
  }

  static std::string fileNameOf(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
  }

  static bool hasBytes(const std::string& path, const std::string& bytes) {
    return waitFor([&] { return pathExists(path) && readFileBytes(path) == bytes; });
  }

  // Stops watching with the start button, then closes the window: the
  // program must end by itself.
  static void stopAndClose(const ProgramRun& run) {
    ASSERT_TRUE(run.click(control_id::kStartButton));
    ASSERT_TRUE(run.waitForCaption(kIdleCaption)) << run.text(control_id::kStartButton);
    closeIdle(run);
  }

  static void closeIdle(const ProgramRun& run) {
    ASSERT_TRUE(run.close());
    ASSERT_TRUE(run.waitForExit()) << "the program goes on after its window was closed";
    EXPECT_EQ(run.exitCode(), 0u);
  }

  Installation install;
};

TEST_F(EndToEnd, StartedByAutostartHidesItsWindowAndMakesTheFirstBackup) {
  const std::string source = watched("报告.txt");
  const std::string content = "第一版\r\n";  // 8 bytes in GBK
  makeFile(source, content, earlierTime());
  const std::string backups = install.data("备份");
  const std::string tpl = backups + "\\<主名>_<年><月><日>_<时><分><秒>_[<序号>]<副名>";
  install.writeSettings(std::string(kMainSection) + "\r\n" + itemSection(source, {tpl, "1", "5"}));
  const std::vector<Row> rows{
      addedRow(source, "8 B", backups + "\\报告_20210506_070809_[0].txt")};
  install.writeRows(rows);

  ProgramRun run(install.exePath(), "yes");
  ASSERT_TRUE(run.started());
  EXPECT_TRUE(waitFor([&] { return !run.visible(); })) << "the window stays on screen";
  EXPECT_TRUE(run.waitForCaption(kWatchingCaption)) << run.text(control_id::kStartButton);

  const std::string copy = backups + "\\报告_20210506_070809_[1].txt";
  ASSERT_TRUE(hasBytes(copy, content)) << "no first backup";
  EXPECT_EQ(folderNames(backups), Names{"报告_20210506_070809_[1].txt"});
  // The backup's values, each new key right under the header, above the
  // options the earlier add wrote.
  EXPECT_EQ(install.settings(), std::string(kMainSection) + "\r\n[" + sectionName(source) +
                                    "]\r\n历史路径组=" + copy + "\r\n上次md5值=" +
                                    md5Hex(content) + "\r\n上次字节=8\r\n序号=1\r\n上次时间=" +
                                    kEarlierStoredDate + "\r\n备份路径=" + tpl +
                                    "\r\n刷新秒=1\r\n备份数=5");
  // Saved when watching started, as loaded: the backup's columns reach the
  // side file only at the next save.
  EXPECT_EQ(install.rows(), encodeRows(rows));
  stopAndClose(run);
}

TEST_F(EndToEnd, BacksUpTheChangesToolsMakeAndOnlyThose) {
  const std::string source = watched("w.txt");
  const std::string backups = install.data("备份");
  auto copy = [&](int n) { return backups + "\\w_[" + std::to_string(n) + "].txt"; };
  const std::string section = sectionName(source);
  auto storedTime = [&] { return iniValue(install.settings(), section, "上次时间"); };

  const std::string v1 = "one\r\n";
  makeFile(source, v1, earlierTime());
  // An old version kept aside, with its old time, to be copied back later.
  const std::string oldVersion = install.data("w-2019.txt");
  makeFile(oldVersion, "old\r\n", fileTimeFromLocal(2019, 12, 31, 23, 0, 0));
  install.writeSettings(std::string(kMainSection) + "\r\n" +
                        itemSection(source, {backups + "\\<主名>_[<序号>]<副名>", "1", "100"}));
  install.writeRows({addedRow(source, "5 B", backups + "\\w_[0].txt")});

  ProgramRun run(install.exePath(), "yes");
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(hasBytes(copy(1), v1)) << "no first backup";

  waitForNextSecond(source);
  appendInPlace(source, "two\r\n");
  ASSERT_TRUE(hasBytes(copy(2), v1 + "two\r\n")) << "appended in place";

  waitForNextSecond(source);
  truncateAndRewrite(source, "3\r\n");
  ASSERT_TRUE(hasBytes(copy(3), "3\r\n")) << "truncated and rewritten";

  waitForNextSecond(source);
  replaceByRename(source, "saved by an editor\r\n");
  ASSERT_TRUE(hasBytes(copy(4), "saved by an editor\r\n")) << "written aside and renamed over";

  // Touched: a new time, the same bytes. Only the time is recorded.
  setWriteTime(source, fileTimeFromLocal(2022, 1, 2, 3, 4, 5));
  EXPECT_TRUE(waitFor([&] { return storedTime() == "2022年1月2日3时4分5秒"; })) << storedTime();

  // Rewritten with the same bytes: again only the time.
  waitForNextSecond(source);
  truncateAndRewrite(source, "saved by an editor\r\n");
  const std::string rewritten = storedDateText(localWriteTime(source));
  EXPECT_TRUE(waitFor([&] { return storedTime() == rewritten; })) << storedTime();
  EXPECT_EQ(iniValue(install.settings(), section, "序号"), "4");

  // An older version with its older time put back: a real change. Its copy
  // takes number 5, so neither the touch nor the same bytes made a copy.
  ASSERT_TRUE(CopyFileA(oldVersion.c_str(), source.c_str(), FALSE));
  ASSERT_TRUE(hasBytes(copy(5), "old\r\n")) << "an older version put back";
  EXPECT_TRUE(waitFor([&] { return storedTime() == "2019年12月31日23时"; })) << storedTime();

  // Deleted: the program must go on through polls of a missing file. Three
  // polling periods let it try; the number of the next copy shows that none
  // was made meanwhile.
  ASSERT_TRUE(DeleteFileA(source.c_str()));
  Sleep(3000);
  EXPECT_TRUE(run.running());
  EXPECT_EQ(run.text(control_id::kStartButton), kWatchingCaption);
  // Created again whole, under another name first: a poll that came between
  // creating the file and writing it would rightly back up the empty file
  // too, and the numbers below would be one off.
  replaceByRename(source, "recreated\r\n");
  ASSERT_TRUE(hasBytes(copy(6), "recreated\r\n")) << "deleted and created again";

  EXPECT_EQ(folderNames(backups),
            (Names{"w_[1].txt", "w_[2].txt", "w_[3].txt", "w_[4].txt", "w_[5].txt", "w_[6].txt"}));
  const std::string ini = install.settings();
  EXPECT_EQ(iniValue(ini, section, "序号"), "6");
  EXPECT_EQ(iniValue(ini, section, "上次字节"), "11");
  EXPECT_EQ(iniValue(ini, section, "历史路径组"), copy(6) + "|" + copy(5) + "|" + copy(4) + "|" +
                                                      copy(3) + "|" + copy(2) + "|" + copy(1));
  stopAndClose(run);
}

TEST_F(EndToEnd, KeepsTheNewestCopiesWritesEveryDestinationAndLeavesUntickedRowsAlone) {
  const std::string a = watched("a.txt");
  const std::string b = watched("b.txt");
  const std::string c = watched("c.txt");
  makeFile(a, "a1", earlierTime());
  makeFile(b, "b1", earlierTime());
  makeFile(c, "c1", earlierTime());
  const std::string keptA = install.data("甲");
  const std::string first = install.data("一");
  const std::string second = install.data("二");
  const std::string none = install.data("丙");
  const std::string sectionC = itemSection(c, {none + "\\<主名>_[<序号>]<副名>", "1", "10"});
  install.writeSettings(std::string(kMainSection) + "\r\n" +
                        itemSection(a, {keptA + "\\<主名>_[<序号>]<副名>", "1", "3"}) + "\r\n" +
                        itemSection(b, {first + "\\<主名>_[<序号>]<副名>|" + second +
                                            "\\<主名>-<序号><副名>",
                                        "1", "10"}) +
                        "\r\n" + sectionC);
  install.writeRows({addedRow(a, "2 B", keptA + "\\a_[0].txt"),
                     addedRow(b, "2 B", first + "\\b_[0].txt|" + second + "\\b-0.txt"),
                     addedRow(c, "2 B", none + "\\c_[0].txt", false)});

  ProgramRun run(install.exePath(), "yes");
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(hasBytes(keptA + "\\a_[1].txt", "a1"));
  truncateAndRewrite(c, "c2");
  for (int n = 2; n <= 5; ++n) {
    waitForNextSecond(a);
    truncateAndRewrite(a, "a" + std::to_string(n));
    ASSERT_TRUE(hasBytes(keptA + "\\a_[" + std::to_string(n) + "].txt", "a" + std::to_string(n)))
        << "backup " << n;
  }

  // Five backups with three to keep: the two oldest are gone.
  EXPECT_EQ(folderNames(keptA), (Names{"a_[3].txt", "a_[4].txt", "a_[5].txt"}));
  const std::string ini = install.settings();
  EXPECT_EQ(iniValue(ini, sectionName(a), "历史路径组"),
            keptA + "\\a_[5].txt|" + keptA + "\\a_[4].txt|" + keptA + "\\a_[3].txt");

  // Two destinations: one backup, one number, the same bytes in both.
  EXPECT_EQ(readFileBytes(first + "\\b_[1].txt"), "b1");
  EXPECT_EQ(readFileBytes(second + "\\b-1.txt"), "b1");
  EXPECT_EQ(iniValue(ini, sectionName(b), "序号"), "1");
  EXPECT_EQ(iniValue(ini, sectionName(b), "历史路径组"),
            first + "\\b_[1].txt|" + second + "\\b-1.txt");

  // The unticked row, changed meanwhile: no copy, its section untouched.
  EXPECT_FALSE(pathExists(none));
  EXPECT_NE(ini.find(sectionC), std::string::npos) << ini;
  stopAndClose(run);
}

TEST_F(EndToEnd, AnItemAddedThroughThePanelIsInTheFilesAfterClosing) {
  const std::string earlier = watched("旧.txt");
  makeFile(earlier, "old", earlierTime());
  const std::string added = watched("新建.txt");
  makeFile(added, "new file\r\n", earlierTime());
  const std::string backups = install.data("备份");
  const std::string ini = std::string(kMainSection) + "\r\n" +
                          itemSection(earlier, {backups + "\\<主名><副名>", "1", "10"});
  install.writeSettings(ini);
  const Row earlierRow = addedRow(earlier, "3 B", backups + "\\旧.txt");
  install.writeRows({earlierRow});

  ProgramRun run(install.exePath(), "");
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(waitFor([&] { return run.listRowCount() == 1; })) << run.listRowCount();
  const std::string tpl = backups + "\\<主名>_<序号><副名>";
  ASSERT_TRUE(run.setText(control_id::kFilesBox, added));
  ASSERT_TRUE(run.setText(control_id::kTemplateBox, tpl));
  ASSERT_TRUE(run.setText(control_id::kRefreshBox, "2"));
  ASSERT_TRUE(run.setText(control_id::kKeepBox, "7"));
  ASSERT_TRUE(run.click(control_id::kAddButton));
  ASSERT_TRUE(waitFor([&] { return run.listRowCount() == 2; })) << run.listRowCount();
  // Adding while idle writes the options at once; the rows wait for a save.
  EXPECT_EQ(install.rows(), encodeRows({earlierRow}));
  closeIdle(run);

  // The new section at the end of the file, the options in the order the add
  // writes them; the earlier bytes unchanged.
  EXPECT_EQ(install.settings(), ini + "\r\n" + itemSection(added, {tpl, "2", "7"}));
  EXPECT_EQ(install.rows(),
            encodeRows({earlierRow, Row{{"新建.txt", "0", kEarlierListDate, "10 B", "10 B",
                                         backups + "\\新建_0.txt", added},
                                        true}}));
  EXPECT_FALSE(pathExists(backups)) << "a backup was made without watching";
}

TEST_F(EndToEnd, ClosingWhileWatchingOnlyHidesTheWindowAndWatchingGoesOn) {
  const std::string source = watched("w.txt");
  const std::string backups = install.data("备份");
  const std::string v1 = "version 1\r\n";  // 11 bytes
  const std::string v2 = "v2\r\n";         // 4 bytes
  makeFile(source, v1, earlierTime());
  install.writeSettings(std::string(kMainSection) + "\r\n" +
                        itemSection(source, {backups + "\\<主名>_[<序号>]<副名>", "1", "10"}));
  install.writeRows({addedRow(source, "11 B", backups + "\\w_[0].txt")});

  ProgramRun run(install.exePath(), "yes");
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(hasBytes(backups + "\\w_[1].txt", v1));

  ASSERT_TRUE(run.close());
  // The close saves the rows, with the columns of the backup just made.
  const std::string afterFirst = encodeRows({Row{
      {"w.txt", "1", kEarlierListDate, "11 B", "11 B", backups + "\\w_[1].txt", source}, true}});
  EXPECT_TRUE(waitFor([&] { return install.rows() == afterFirst; })) << install.rows();
  EXPECT_TRUE(run.running());
  EXPECT_FALSE(run.visible());

  waitForNextSecond(source);
  truncateAndRewrite(source, v2);
  ASSERT_TRUE(hasBytes(backups + "\\w_[2].txt", v2)) << "watching ended with the close";
  EXPECT_TRUE(run.running());

  stopAndClose(run);
  // The file became 7 bytes smaller.
  EXPECT_EQ(install.rows(),
            encodeRows({Row{{"w.txt", "2", listDateText(localWriteTime(source)), "4 B", "-7 B",
                             backups + "\\w_[2].txt", source},
                            true}}));
}

TEST_F(EndToEnd, ASecondStartLeavesTheRunningCopyInCharge) {
  const std::string source = watched("w.txt");
  const std::string backups = install.data("备份");
  makeFile(source, "one\r\n", earlierTime());
  install.writeSettings(std::string(kMainSection) + "\r\n" +
                        itemSection(source, {backups + "\\<主名>_[<序号>]<副名>", "1", "10"}));
  install.writeRows({addedRow(source, "5 B", backups + "\\w_[0].txt")});

  ProgramRun run(install.exePath(), "yes");
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(hasBytes(backups + "\\w_[1].txt", "one\r\n"));
  ASSERT_TRUE(waitFor([&] { return !run.visible(); }));
  const std::string settings = install.settings();

  ProgramRun second(install.exePath(), "");
  EXPECT_TRUE(second.waitForExit()) << "two copies run side by side";
  EXPECT_EQ(second.exitCode(), 0u);
  EXPECT_EQ(mainWindows().size(), 1u);
  // The running copy comes to the front, still watching.
  EXPECT_TRUE(waitFor([&] { return run.visible(); })) << "the running copy stays hidden";
  EXPECT_EQ(run.text(control_id::kStartButton), kWatchingCaption);
  EXPECT_EQ(install.settings(), settings);

  waitForNextSecond(source);
  truncateAndRewrite(source, "two\r\n");
  EXPECT_TRUE(hasBytes(backups + "\\w_[2].txt", "two\r\n"));
  stopAndClose(run);
}

// Only the exact first argument "yes" means a start by autostart.
class NotByAutostart : public EndToEnd, public ::testing::WithParamInterface<const char*> {};

TEST_P(NotByAutostart, ShowsTheWindowAndBacksUpNothing) {
  const std::string source = watched("w.txt");
  const std::string backups = install.data("备份");
  makeFile(source, "one\r\n", earlierTime());
  const std::string ini = std::string(kMainSection) + "\r\n" +
                          itemSection(source, {backups + "\\<主名>_[<序号>]<副名>", "1", "10"});
  install.writeSettings(ini);
  const std::vector<Row> rows{addedRow(source, "5 B", backups + "\\w_[0].txt")};
  install.writeRows(rows);

  ProgramRun run(install.exePath(), GetParam());
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(waitFor([&] { return run.listRowCount() == 1; })) << "the rows were not loaded";
  EXPECT_TRUE(run.visible());
  EXPECT_EQ(run.text(control_id::kStartButton), kIdleCaption);
  // Three polling periods: watching, had it started, would have made the
  // first copy of the never backed-up file by now.
  Sleep(3000);
  EXPECT_FALSE(pathExists(backups));
  EXPECT_TRUE(run.visible());
  closeIdle(run);
  EXPECT_EQ(install.settings(), ini);
  EXPECT_EQ(install.rows(), encodeRows(rows));
}

INSTANTIATE_TEST_SUITE_P(Arguments, NotByAutostart,
                         ::testing::Values("", "Yes", "\"no\" yes", "yes2"));

}  // namespace

namespace {
// Off until the program shows a clicked row's options: in the real program
// the panel keeps its defaults (the in-process tests, which select rows with
// LVM_SETITEMSTATE, do not see this).
TEST_F(EndToEnd, DISABLED_ClickingARowShowsItsOptionsInThePanel) {
  const std::string first = watched("a.txt");
  const std::string second = watched("b.txt");
  makeFile(first, "a", earlierTime());
  makeFile(second, "b", earlierTime());
  const std::string tpl = install.data("备份") + "\\<主名>-<序号><副名>";
  install.writeSettings(std::string(kMainSection) + "\r\n" + itemSection(first, {tpl, "1", "3"}) +
                        "\r\n" + itemSection(second, {tpl, "7", "4"}));
  install.writeRows({addedRow(first, "1 B", ""), addedRow(second, "1 B", "")});

  ProgramRun run(install.exePath(), "");
  ASSERT_TRUE(run.started());
  ASSERT_TRUE(waitFor([&] { return run.listRowCount() == 2; }));
  HWND list = run.control(control_id::kList);
  const LPARAM at = MAKELPARAM(60, 60);  // on the second row, below the header
  DWORD_PTR r;
  SendMessageTimeoutA(list, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_ABORTIFHUNG, 5000, &r);
  SendMessageTimeoutA(list, WM_LBUTTONUP, 0, at, SMTO_ABORTIFHUNG, 5000, &r);
  EXPECT_TRUE(waitFor([&] { return run.text(control_id::kFilesBox) == second; }, 5000))
      << run.text(control_id::kFilesBox);
  EXPECT_EQ(run.text(control_id::kRefreshBox), "7");
  EXPECT_EQ(run.text(control_id::kKeepBox), "4");
  closeIdle(run);
}
}  // namespace

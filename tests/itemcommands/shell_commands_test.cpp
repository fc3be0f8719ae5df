// "打开路径" and "打开备份路径": the Explorer command line they start, seen
// through the launcher seam (no real Explorer is started).
#include "mainwindow/shell_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/table_list_view.h"
#include "win32/explorer_win.h"

namespace {

class ShellCommandsTest : public testing::Test {
 protected:
  // A row and its item: the watched file and the row's "备份到路径" column.
  void addRow(const std::string& sourcePath, const std::string& backupColumn) {
    BackupItem item;
    item.sourcePath = sourcePath;
    items.append(item);
    const int row = view.appendRow("");
    view.setCellText(row, ListView::kBackupPaths, backupColumn);
    view.setCellText(row, ListView::kSourcePath, sourcePath);
  }

  TableListView view;
  BackupItemList items;
  std::vector<std::string> started;
  ScopedExplorerLauncher launcher{[this](const std::string& commandLine) {
    started.push_back(commandLine);
    return true;
  }};
};

TEST_F(ShellCommandsTest, OpenPathSelectsTheFirstSelectedRowsFile) {
  addRow("D:\\work\\a.txt", "D:\\bak\\a_1.txt");
  addRow("C:\\My Files\\报告 草稿.txt", "C:\\bak\\x.txt");
  addRow("D:\\work\\c.txt", "D:\\bak\\c_1.txt");
  view.rows[1].selected = true;
  view.rows[2].selected = true;
  openSelectedPath(view, items);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], "explorer /n,/select,\"C:\\My Files\\报告 草稿.txt\"");

  view.rows[1].selected = false;
  openSelectedPath(view, items);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1], "explorer /n,/select,\"D:\\work\\c.txt\"");
}

TEST_F(ShellCommandsTest, OpenBackupPathTakesTheFirstDestinationOfTheColumn) {
  struct Case {
    const char* column;
    const char* commandLine;
  };
  const Case cases[] = {
      {"D:\\bak\\a_1.txt", "explorer /n,/select,\"D:\\bak\\a_1.txt\""},
      {"D:\\bak\\a_1.txt|E:\\bak\\a_1.txt", "explorer /n,/select,\"D:\\bak\\a_1.txt\""},
      {"C:\\备份 文件\\a b.txt", "explorer /n,/select,\"C:\\备份 文件\\a b.txt\""},
      // An empty first destination names nothing: the whole text goes.
      {"|E:\\bak\\a_1.txt", "explorer /n,/select,\"|E:\\bak\\a_1.txt\""},
      {"", "explorer /n,/select,\"\""},
  };
  for (const Case& c : cases) {
    view.rows.clear();
    items.clear();
    started.clear();
    addRow("D:\\work\\a.txt", c.column);
    addRow("D:\\work\\b.txt", "Z:\\other.txt");
    view.rows[0].selected = true;
    view.rows[1].selected = true;
    openSelectedBackupPath(view);
    ASSERT_EQ(started.size(), 1u) << c.column;
    EXPECT_EQ(started[0], c.commandLine) << c.column;
  }
}

TEST_F(ShellCommandsTest, NoSelectionStartsNothing) {
  addRow("D:\\work\\a.txt", "D:\\bak\\a_1.txt");
  openSelectedPath(view, items);
  openSelectedBackupPath(view);
  openSelectedPath(TableListView(), BackupItemList());
  EXPECT_TRUE(started.empty());
}

}  // namespace

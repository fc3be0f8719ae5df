// Retention and the template on real files: what is deleted from the disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "engine/path_template.h"
#include "engine/retention.h"
#include "tests/support/table_list_view.h"
#include "tests/support/temp_dir.h"
#include "win32/file_system_win.h"

namespace {

std::string upperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

class RetentionOnDiskTest : public testing::Test {
 protected:
  void SetUp() override {
    item.sourcePath = dir.file("main.cpp");
    writeFileBytes(item.sourcePath, "v0");
    item.keepCount = 2;
    view.appendRow("main.cpp");
  }

  // One backup event as the monitor runs it.
  std::vector<std::string> backUp() {
    const std::vector<std::string> destinations =
        text::split(expandTemplate(files, view, item, 0, true, true), "|");
    updateHistory(files, item, destinations);
    for (const std::string& d : destinations) {
      ensureDirectories(files, d);
      files.copyFile(item.sourcePath, d);
    }
    return destinations;
  }

  TempDir dir;
  Win32FileSystem files;
  TableListView view;
  BackupItem item;
};

TEST_F(RetentionOnDiskTest, CopiesBeyondKeepCountLeaveTheDisk) {
  item.pathTemplate = "<目录路径>\\備份\\<主名>_<序号><副名>";
  backUp();
  backUp();
  backUp();
  EXPECT_FALSE(pathExists(dir.file("備份\\main_1.cpp")));
  EXPECT_TRUE(pathExists(dir.file("備份\\main_2.cpp")));
  EXPECT_TRUE(pathExists(dir.file("備份\\main_3.cpp")));
  EXPECT_EQ(item.historyPaths,
            (std::vector<std::string>{dir.file("備份\\main_3.cpp"), dir.file("備份\\main_2.cpp")}));
}

TEST_F(RetentionOnDiskTest, CopyDeletedByHandIsDroppedWithoutCounting) {
  item.pathTemplate = "<目录路径>\\<主名>_<序号>.bak";
  backUp();
  backUp();
  DeleteFileA(dir.file("main_2.bak").c_str());
  backUp();
  EXPECT_TRUE(pathExists(dir.file("main_1.bak")));
  EXPECT_EQ(item.historyPaths,
            (std::vector<std::string>{dir.file("main_3.bak"), dir.file("main_1.bak")}));
}

TEST_F(RetentionOnDiskTest, TemplateNamingTheSourceNeverDeletesIt) {
  // First the template names the source itself (in other letter case, which
  // on Windows is the same file), then it is changed.
  item.pathTemplate = upperAscii(dir.path()) + "\\<主名><副名>";
  backUp();
  ASSERT_EQ(item.historyPaths.size(), 1u);
  EXPECT_TRUE(files.exists(item.historyPaths[0]));
  item.keepCount = 1;
  item.pathTemplate = "<目录路径>\\<主名>_<序号>.bak";
  backUp();
  EXPECT_EQ(item.historyPaths, std::vector<std::string>{dir.file("main_2.bak")});
  EXPECT_EQ(readFileBytes(item.sourcePath), "v0");
}

}  // namespace

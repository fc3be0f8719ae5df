// The texts handed to Explorer and written as the autostart value.
#include "engine/shell_paths.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/autostart_data.h"

namespace {

struct FirstPathCase {
  const char* name;
  std::string column;
  std::string expected;
};
void PrintTo(const FirstPathCase& c, std::ostream* os) { *os << c.name; }

class FirstBackupPath : public testing::TestWithParam<FirstPathCase> {};

TEST_P(FirstBackupPath, KeepsTheFirstDestination) {
  EXPECT_EQ(shell_paths::firstBackupPath(GetParam().column), GetParam().expected);
}

// "億" is 83 7C in GBK: its trail byte is "|" and must not split the text.
INSTANTIATE_TEST_SUITE_P(
    Columns, FirstBackupPath,
    testing::Values(
        FirstPathCase{"two", "D:\\bak\\a_1.txt|E:\\bak\\a_1.txt", "D:\\bak\\a_1.txt"},
        FirstPathCase{"three", "a|b|c", "a"},
        FirstPathCase{"none", "D:\\bak\\a_1.txt", "D:\\bak\\a_1.txt"},
        FirstPathCase{"emptyFirst", "|x", "|x"},
        FirstPathCase{"onlyBar", "|", "|"},
        FirstPathCase{"finalBar", "D:\\a.txt|", "D:\\a.txt"},
        FirstPathCase{"empty", "", ""},
        FirstPathCase{"trailByte", "D:\\億\\a.txt", "D:\\億\\a.txt"},
        FirstPathCase{"trailByteThenBar", "D:\\億|E:\\b", "D:\\億"}),
    [](const testing::TestParamInfo<FirstPathCase>& info) { return std::string(info.param.name); });

TEST(ExplorerCommandLine, SelectsThePathInANewWindow) {
  EXPECT_EQ(shell_paths::explorerCommandLine("D:\\work\\a.txt"),
            "explorer /n,/select,\"D:\\work\\a.txt\"");
  EXPECT_EQ(shell_paths::explorerCommandLine("C:\\Program Files\\禾岚 备份\\a b.txt"),
            "explorer /n,/select,\"C:\\Program Files\\禾岚 备份\\a b.txt\"");
  EXPECT_EQ(shell_paths::explorerCommandLine(""), "explorer /n,/select,\"\"");
}

TEST(AutostartData, IsTheQuotedPathAndQuotedYes) {
  EXPECT_EQ(autostart::dataFor("C:\\Tools\\backup.exe"), "\"C:\\Tools\\backup.exe\" \"yes\"");
  // Blanks, Chinese, and "運" (DF 5C) whose trail byte is "\".
  EXPECT_EQ(autostart::dataFor("D:\\程序 目录\\運\\禾岚·栖卷.exe"),
            "\"D:\\程序 目录\\運\\禾岚·栖卷.exe\" \"yes\"");
  EXPECT_EQ(autostart::dataFor("C:\\qijuan.exe"), "\"C:\\qijuan.exe\" \"yes\"");
}

TEST(AutostartData, GbkBytesOfTheProgramName) {
  const std::string data = autostart::dataFor("C:\\禾岚·栖卷.exe");
  EXPECT_EQ(data, std::string("\"C:\\\xBA\xCC\xE1\xB0\xA1\xA4\xC6\xDC\xBE\xED.exe\" \"yes\""));
}

TEST(AutostartValuePath, SplitsTheFullNameAtItsLastBackslash) {
  const autostart::ValuePath plain = autostart::valuePath("禾岚·栖卷");
  EXPECT_EQ(plain.key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(plain.valueName, "禾岚·栖卷");

  // A name with a "\" of its own moves the split into the name.
  const autostart::ValuePath nested = autostart::valuePath("a\\b");
  EXPECT_EQ(nested.key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\a");
  EXPECT_EQ(nested.valueName, "b");

  // "運" ends in 5C, which is no "\".
  const autostart::ValuePath trail = autostart::valuePath("運");
  EXPECT_EQ(trail.key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(trail.valueName, "運");
}

}  // namespace

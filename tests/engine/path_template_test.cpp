#include "engine/path_template.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/text.h"
#include "tests/engine/fake_file_system.h"
#include "tests/support/table_list_view.h"

namespace {

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

// ---- Size text ----

struct SizeCase {
  const char* name;
  std::int64_t bytes;
  const char* text;
};

class FormatSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(FormatSizeTest, WritesTheSizeText) {
  EXPECT_EQ(formatSize(GetParam().bytes), GetParam().text);
}

constexpr std::int64_t kKB = 1024;
constexpr std::int64_t kMB = kKB * 1024;
constexpr std::int64_t kGB = kMB * 1024;
constexpr std::int64_t kTB = kGB * 1024;
constexpr std::int64_t kPB = kTB * 1024;
constexpr std::int64_t kEB = kPB * 1024;

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatSizeTest,
    testing::Values(
        SizeCase{"Zero", 0, "0 B"}, SizeCase{"LastBytes", 1023, "1023 B"},
        SizeCase{"OneKB", 1024, "1 KB"}, SizeCase{"HalfKB", 1536, "1.5 KB"},
        SizeCase{"RoundsDown", 1029, "1 KB"}, SizeCase{"RoundsUp", 1030, "1.01 KB"},
        SizeCase{"HalfRoundsAwayFromZero", 1152, "1.13 KB"},  // exactly 1.125
        SizeCase{"JustBelowOneMBRoundsTo1024KB", 1048575, "1024 KB"},
        SizeCase{"OneMB", 1048576, "1 MB"}, SizeCase{"OnePointZeroOneMB", 1059062, "1.01 MB"},
        SizeCase{"OneGB", kGB, "1 GB"},
        // 1023.9999999991 GB lies within the tolerance of 1024.
        SizeCase{"JustBelowOneTBCountsAsTB", kTB - 1, "1 TB"}, SizeCase{"OneTB", kTB, "1 TB"},
        SizeCase{"TB", kTB * 5 / 2, "2.5 TB"}, SizeCase{"OnePB", kPB, "1 PB"},
        SizeCase{"PB", kPB * 1000, "1000 PB"}, SizeCase{"OneEB", kEB, "1 EB"},
        SizeCase{"EB", kEB * 3 / 2, "1.5 EB"},
        SizeCase{"Largest", std::numeric_limits<std::int64_t>::max(), "8 EB"},
        SizeCase{"NegativeIsWrittenAsItIs", -5, "-5 B"}),
    caseName<SizeCase>);

struct SizeChangeCase {
  const char* name;
  std::int64_t size;
  std::int64_t lastSize;
  const char* text;
};

class FormatSizeChangeTest : public testing::TestWithParam<SizeChangeCase> {};

TEST_P(FormatSizeChangeTest, WritesTheDifference) {
  EXPECT_EQ(formatSizeChange(GetParam().size, GetParam().lastSize), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatSizeChangeTest,
    testing::Values(SizeChangeCase{"Grew", 3072, 1024, "2 KB"},
                    SizeChangeCase{"Shrank", 1024, 3072, "-2 KB"},
                    SizeChangeCase{"Same", 500, 500, "0 B"},
                    SizeChangeCase{"FromNothing", 1536, 0, "1.5 KB"},
                    // Hand-edited extremes must not overflow the difference.
                    SizeChangeCase{"HugeLastSize", 0, std::numeric_limits<std::int64_t>::max(),
                                   "-8 EB"},
                    SizeChangeCase{"MostNegativeLastSize", 0,
                                   std::numeric_limits<std::int64_t>::min(), "8 EB"}),
    caseName<SizeChangeCase>);

// ---- Date text ----

TEST(FormatDateTime, PadsEveryPartToTwoDigits) {
  EXPECT_EQ(formatDateTime(dateOf(2016, 3, 1, 14, 23, 5)), "2016-03-01 14:23:05");
  EXPECT_EQ(formatDateTime(dateOf(2001, 2, 3, 4, 5, 6)), "2001-02-03 04:05:06");
  EXPECT_EQ(formatDateTime(dateOf(2024, 2, 29, 23, 59, 59)), "2024-02-29 23:59:59");
}

TEST(FormatDateTime, BoundsAndValuesOutsideThem) {
  EXPECT_EQ(formatDateTime(oledate::kNoTime), "100-01-01 00:00:00");
  EXPECT_EQ(formatDateTime(oledate::kLatest), "9999-12-31 23:59:59");
  EXPECT_EQ(formatDateTime(-1e9), "100-01-01 00:00:00");
  EXPECT_EQ(formatDateTime(1e9), "9999-12-31 23:59:59");
  EXPECT_EQ(formatDateTime(std::nan("")), "100-01-01 00:00:00");
  EXPECT_EQ(formatDateTime(-1.25), "1899-12-29 06:00:00");
}

// ---- Tags ----

const double kModified = dateOf(2016, 3, 1, 14, 23, 5);

struct TagCase {
  const char* name;
  std::string sourcePath;
  std::string pathTemplate;
  std::string expanded;
};

// The source exists with kModified and 1536 bytes; the sequence number is 3.
class ExpandTagsTest : public testing::TestWithParam<TagCase> {};

TEST_P(ExpandTagsTest, ReplacesTheTags) {
  FakeFileSystem files;
  files.addFile(GetParam().sourcePath, kModified, 1536);
  TableListView view;
  BackupItem item;
  item.sourcePath = GetParam().sourcePath;
  item.pathTemplate = GetParam().pathTemplate;
  item.sequenceNumber = 3;
  EXPECT_EQ(expandTemplate(files, view, item, -1, false, false), GetParam().expanded);
}

// 運 (DF 5C) and 錦 (E5 5C) end in "\"; 質 (D9 7C) and 億 (83 7C) end in "|".
INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandTagsTest,
    testing::Values(
        TagCase{"DefaultTemplate", "D:\\work\\proj\\main.cpp",
                "<目录路径>\\<主名>_<年><月><日>_<时><分><秒>_[<序号>]<副名>",
                "D:\\work\\proj\\main_20160301_142305_[3].cpp"},
        TagCase{"EveryTag", "D:\\work\\proj\\main.cpp",
                "<目录路径>,<目录名>,<主名>,<副名>,<年>,<月>,<日>,<时>,<分>,<秒>,<大小>,<字节>,<序号>",
                "D:\\work\\proj,proj,main,.cpp,2016,03,01,14,23,05,1.5 KB,1536,3"},
        TagCase{"EveryOccurrence", "D:\\w\\a.txt", "<主名><主名>|E:\\<主名>", "aa|E:\\a"},
        TagCase{"LastDotSplitsTheName", "D:\\work\\archive.tar.gz", "<主名>,<副名>",
                "archive.tar,.gz"},
        TagCase{"NoDot", "D:\\work\\Makefile", "<主名>,<副名>", "Makefile,"},
        TagCase{"LeadingDot", "D:\\work\\.gitignore", "<主名>,<副名>", ",.gitignore"},
        TagCase{"DotInDirectoryOnly", "D:\\v1.2\\README", "<主名>,<副名>", "README,"},
        TagCase{"FileInDriveRoot", "D:\\a.txt", "<目录路径>,<目录名>", "D:,"},
        TagCase{"PathWithoutBackslash", "a.txt", "[<目录路径>],[<目录名>],<主名>", "[],[],a"},
        TagCase{"NoTags", "D:\\a.txt", "E:\\copy.txt", "E:\\copy.txt"},
        TagCase{"EmptyTemplate", "D:\\a.txt", "", ""},
        TagCase{"UnknownTagStays", "D:\\a.txt", "<名>_<主名>", "<名>_a"},
        TagCase{"EarlierValueIsSearchedByLaterTags", "D:\\<序号>\\a.txt", "<目录名>", "3"},
        TagCase{"ValueIsNotSearchedByEarlierTags", "D:\\<目录路径>\\a.txt", "<目录名>",
                "<目录路径>"},
        TagCase{"TrailBackslashInNames", "D:\\運動\\錦.txt", "<目录路径>,<目录名>,<主名>",
                "D:\\運動,運動,錦"},
        TagCase{"TrailBackslashEndsName", "E:\\備份\\運\\錦", "<目录名>|<主名><副名>", "運|錦"},
        TagCase{"TrailBarInNames", "D:\\質\\億.txt", "<目录路径>\\<主名>_<序号><副名>",
                "D:\\質\\億_3.txt"}),
    caseName<TagCase>);

TEST(ExpandTags, DestinationsWithTrailBarSplitWhole) {
  FakeFileSystem files;
  const std::string source = "D:\\質\\億.txt";
  files.addFile(source, kModified, 10);
  TableListView view;
  BackupItem item;
  item.sourcePath = source;
  item.pathTemplate = "<目录路径>\\<主名>1|E:\\<目录名>\\<主名>|";
  const std::vector<std::string> destinations =
      text::split(expandTemplate(files, view, item, -1, false, false), "|");
  EXPECT_EQ(destinations, (std::vector<std::string>{"D:\\質\\億1", "E:\\質\\億"}));
}

TEST(ExpandTags, MissingSourceGivesTheNoTimeDateAndSizeZero) {
  FakeFileSystem files;
  TableListView view;
  BackupItem item;
  item.sourcePath = "D:\\gone.txt";
  item.pathTemplate = "<年>-<月>-<日> <时>:<分>:<秒> <大小> <字节>";
  EXPECT_EQ(expandTemplate(files, view, item, -1, false, false), "100-01-01 00:00:00 0 B 0");
}

TEST(ExpandTags, UnopenableSourceKeepsItsTimeButCountsSizeZero) {
  FakeFileSystem files;
  files.addFile("D:\\locked.db", kModified, 4096);
  files.files["D:\\locked.db"].openable = false;
  TableListView view;
  BackupItem item;
  item.sourcePath = "D:\\locked.db";
  item.pathTemplate = "<年><月><日>,<大小>,<字节>";
  EXPECT_EQ(expandTemplate(files, view, item, -1, false, false), "20160301,0 B,0");
}

// ---- Columns and the switches ----

class ExpandColumnsTest : public testing::Test {
 protected:
  void SetUp() override {
    item.sourcePath = "D:\\work\\main.cpp";
    files.addFile(item.sourcePath, kModified, 3072);
    view.appendRow("main.cpp");
    for (int c = 1; c < ListView::kColumnCount; ++c) view.setCellText(0, c, "old");
    item.pathTemplate = "E:\\<主名>_<序号>.bak";
    item.sequenceNumber = 4;
    item.lastSize = 1024;
  }
  std::vector<std::string> cells() const { return view.rows.at(0).cells; }

  FakeFileSystem files;
  TableListView view;
  BackupItem item;
};

TEST_F(ExpandColumnsTest, BackupRaisesTheNumberAndRewritesTheRow) {
  EXPECT_EQ(expandTemplate(files, view, item, 0, true, true), "E:\\main_5.bak");
  EXPECT_EQ(item.sequenceNumber, 5);
  EXPECT_EQ(item.lastSize, 3072);
  EXPECT_EQ(cells(), (std::vector<std::string>{"main.cpp", "5", "2016-03-01 14:23:05", "3 KB",
                                               "2 KB", "E:\\main_5.bak", "old"}));
}

TEST_F(ExpandColumnsTest, AddingRewritesTheRowButNotTheCounters) {
  EXPECT_EQ(expandTemplate(files, view, item, 0, true, false), "E:\\main_4.bak");
  EXPECT_EQ(item.sequenceNumber, 4);
  EXPECT_EQ(item.lastSize, 1024);
  EXPECT_EQ(cells(), (std::vector<std::string>{"main.cpp", "old", "2016-03-01 14:23:05", "3 KB",
                                               "2 KB", "E:\\main_4.bak", "old"}));
}

TEST_F(ExpandColumnsTest, WithoutRowOrColumnsBumpDoesNothing) {
  const std::vector<std::string> before = cells();
  EXPECT_EQ(expandTemplate(files, view, item, -1, true, true), "E:\\main_4.bak");
  EXPECT_EQ(expandTemplate(files, view, item, 0, false, true), "E:\\main_4.bak");
  EXPECT_EQ(item.sequenceNumber, 4);
  EXPECT_EQ(item.lastSize, 1024);
  EXPECT_EQ(cells(), before);
}

TEST_F(ExpandColumnsTest, UnopenableSourceShowsTheLossAgainstLastSize) {
  files.files[item.sourcePath].openable = false;
  item.lastSize = 2048;
  expandTemplate(files, view, item, 0, true, true);
  EXPECT_EQ(cells()[ListView::kLastSize], "0 B");
  EXPECT_EQ(cells()[ListView::kSizeChange], "-2 KB");
  EXPECT_EQ(item.lastSize, 0);
}

TEST_F(ExpandColumnsTest, MissingSourceShowsTheNoTimeDate) {
  files.files.clear();
  expandTemplate(files, view, item, 0, true, false);
  EXPECT_EQ(cells()[ListView::kLastTime], "100-01-01 00:00:00");
  EXPECT_EQ(cells()[ListView::kLastSize], "0 B");
  EXPECT_EQ(cells()[ListView::kSizeChange], "-1 KB");
}

TEST_F(ExpandColumnsTest, EmptyTemplateStillAdvancesTheCounters) {
  item.pathTemplate = "";
  EXPECT_EQ(expandTemplate(files, view, item, 0, true, true), "");
  EXPECT_EQ(item.sequenceNumber, 5);
  EXPECT_EQ(cells()[ListView::kBackupPaths], "");
}

TEST_F(ExpandColumnsTest, LargestSequenceNumberDoesNotOverflow) {
  item.sequenceNumber = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(expandTemplate(files, view, item, 0, true, true), "E:\\main_2147483647.bak");
  EXPECT_EQ(item.sequenceNumber, std::numeric_limits<std::int32_t>::max());
}

// ---- Directories of a destination ----

struct DirectoryCase {
  const char* name;
  std::string path;
  std::vector<std::string> existing;
  std::vector<std::string> failing;
  bool ok;
  std::vector<std::string> created;
};

class EnsureDirectoriesTest : public testing::TestWithParam<DirectoryCase> {};

TEST_P(EnsureDirectoriesTest, CreatesTheMissingDirectories) {
  FakeFileSystem files;
  for (const std::string& d : GetParam().existing) files.directories.insert(d);
  for (const std::string& d : GetParam().failing) files.failingDirectories.insert(d);
  EXPECT_EQ(ensureDirectories(files, GetParam().path), GetParam().ok);
  EXPECT_EQ(files.created, GetParam().created);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnsureDirectoriesTest,
    testing::Values(
        DirectoryCase{"AllMissing", "D:\\a\\b\\c.txt", {}, {}, true, {"D:\\a", "D:\\a\\b"}},
        DirectoryCase{"SomeExist", "D:\\a\\b\\c.txt", {"D:\\a"}, {}, true, {"D:\\a\\b"}},
        DirectoryCase{"FileInDriveRoot", "D:\\c.txt", {}, {}, true, {}},
        DirectoryCase{"NoBackslash", "c.txt", {}, {}, true, {}},
        DirectoryCase{"RelativeFolder", "abc\\c.txt", {}, {}, true, {"abc"}},
        DirectoryCase{"StopsAtFirstFailure", "D:\\a\\b\\c\\d.txt", {}, {"D:\\a\\b"}, false,
                      {"D:\\a"}},
        DirectoryCase{"NetworkPathFailsAtEmptyPrefix", "\\\\srv\\share\\x.txt", {}, {}, false, {}},
        DirectoryCase{"TrailBackslashIsNoSeparator", "D:\\運\\錦\\x.txt", {}, {}, true,
                      {"D:\\運", "D:\\運\\錦"}},
        DirectoryCase{"TrailBarStaysInName", "D:\\質|\\x.txt", {}, {}, true, {"D:\\質|"}}),
    caseName<DirectoryCase>);

}  // namespace

#include "engine/retention.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/fake_file_system.h"

namespace {

using Paths = std::vector<std::string>;

// One item and the copies on disk; backUp() runs one backup event the way
// the monitor does: history first, then the copies are written.
class RetentionTest : public testing::Test {
 protected:
  void SetUp() override {
    item.sourcePath = "D:\\work\\main.cpp";
    files.addFile(item.sourcePath);
    item.keepCount = 3;
  }

  void backUp(const Paths& destinations) {
    updateHistory(files, item, destinations);
    for (const std::string& d : destinations) files.copyFile(item.sourcePath, d);
  }
  bool onDisk(const std::string& path) { return files.exists(path); }

  FakeFileSystem files;
  BackupItem item;
};

TEST_F(RetentionTest, FourthBackupDeletesTheFirstCopy) {
  backUp({"E:\\c1"});
  backUp({"E:\\c2"});
  backUp({"E:\\c3"});
  EXPECT_EQ(files.deleted, Paths{});
  backUp({"E:\\c4"});
  EXPECT_EQ(item.historyPaths, (Paths{"E:\\c4", "E:\\c3", "E:\\c2"}));
  EXPECT_EQ(files.deleted, Paths{"E:\\c1"});
  EXPECT_FALSE(onDisk("E:\\c1"));
}

TEST_F(RetentionTest, SameDestinationEveryTimeIsKeptOnceAndNeverDeleted) {
  for (int i = 0; i < 5; ++i) backUp({"E:\\copy.cpp"});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\copy.cpp"});
  EXPECT_EQ(files.deleted, Paths{});
  EXPECT_TRUE(onDisk("E:\\copy.cpp"));
}

TEST_F(RetentionTest, DestinationWrittenAgainMovesToTheFront) {
  backUp({"E:\\c1"});
  backUp({"E:\\c2"});
  backUp({"E:\\c3"});
  backUp({"E:\\c1"});  // the sequence number was reset
  EXPECT_EQ(item.historyPaths, (Paths{"E:\\c1", "E:\\c3", "E:\\c2"}));
  EXPECT_EQ(files.deleted, Paths{});
}

TEST_F(RetentionTest, KeepOneWithTwoDestinationsTracksOnlyTheFirst) {
  item.keepCount = 1;
  backUp({"E:\\a.cpp", "F:\\a.cpp"});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\a.cpp"});
  EXPECT_TRUE(onDisk("F:\\a.cpp"));
  // The second destination's earlier copy goes just before it is written again.
  backUp({"E:\\a.cpp", "F:\\a.cpp"});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\a.cpp"});
  EXPECT_EQ(files.deleted, (Paths{"F:\\a.cpp", "F:\\a.cpp"}));
}

TEST_F(RetentionTest, CopiesDeletedByHandDoNotCount) {
  item.historyPaths = {"E:\\c3", "E:\\c2", "E:\\c1"};
  files.addFile("E:\\c3");
  files.addFile("E:\\c1");
  backUp({"E:\\c4"});
  EXPECT_EQ(item.historyPaths, (Paths{"E:\\c4", "E:\\c3", "E:\\c1"}));
  EXPECT_EQ(files.deleted, Paths{});
}

TEST_F(RetentionTest, DirectoryInTheHistoryCountsAsExisting) {
  item.historyPaths = {"E:\\dir"};
  files.directories.insert("E:\\dir");
  backUp({"E:\\c1"});
  EXPECT_EQ(item.historyPaths, (Paths{"E:\\c1", "E:\\dir"}));
}

TEST_F(RetentionTest, UndeletableCopyLeavesTheListAndIsNotTriedAgain) {
  item.keepCount = 1;
  backUp({"E:\\c1"});
  files.files["E:\\c1"].deletable = false;
  backUp({"E:\\c2"});
  backUp({"E:\\c3"});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\c3"});
  EXPECT_EQ(files.deleted, (Paths{"E:\\c1", "E:\\c2"}));
  EXPECT_TRUE(onDisk("E:\\c1"));
}

TEST_F(RetentionTest, OlderTemplateCopiesAreDeletedInTheirTurn) {
  item.keepCount = 2;
  backUp({"E:\\old1"});
  backUp({"E:\\old2"});
  backUp({"F:\\new1"});
  EXPECT_EQ(files.deleted, Paths{"E:\\old1"});
  backUp({"F:\\new2"});
  EXPECT_EQ(files.deleted, (Paths{"E:\\old1", "E:\\old2"}));
  EXPECT_EQ(item.historyPaths, (Paths{"F:\\new2", "F:\\new1"}));
}

TEST_F(RetentionTest, EmptyDestinationsOnlyTidyTheList) {
  item.historyPaths = {"E:\\c2", "E:\\gone"};
  files.addFile("E:\\c2");
  backUp({});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\c2"});
  EXPECT_EQ(files.deleted, Paths{});
}

TEST_F(RetentionTest, KeepZeroDeletesEverythingTheNewDestinationsIncluded) {
  item.keepCount = 0;
  item.historyPaths = {"E:\\c1"};
  files.addFile("E:\\c1");
  files.addFile("E:\\c2");
  updateHistory(files, item, {"E:\\c2"});
  EXPECT_EQ(item.historyPaths, Paths{});
  EXPECT_FALSE(onDisk("E:\\c1"));
  EXPECT_FALSE(onDisk("E:\\c2"));
}

TEST_F(RetentionTest, NegativeKeepCountKeepsNone) {
  item.keepCount = -4;
  files.addFile("E:\\c1");
  item.historyPaths = {"E:\\c1"};
  updateHistory(files, item, {"E:\\c2"});
  EXPECT_EQ(item.historyPaths, Paths{});
  EXPECT_EQ(files.deleted, (Paths{"E:\\c2", "E:\\c1"}));
}

// ---- The item's own file is never deleted ----

TEST_F(RetentionTest, SourceInTheHistoryIsDroppedButNotDeleted) {
  // A template "<目录路径>\<主名><副名>" expanded to the source itself.
  backUp({item.sourcePath});
  EXPECT_EQ(item.historyPaths, Paths{item.sourcePath});
  // The template was changed since; the source falls beyond keepCount.
  item.keepCount = 1;
  backUp({"E:\\c1"});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\c1"});
  EXPECT_EQ(files.deleted, Paths{});
  EXPECT_TRUE(onDisk(item.sourcePath));
}

TEST_F(RetentionTest, SourceAsNewDestinationSurvivesKeepZero) {
  item.keepCount = 0;
  updateHistory(files, item, {"E:\\c1", item.sourcePath});
  EXPECT_EQ(item.historyPaths, Paths{});
  EXPECT_EQ(files.deleted, Paths{"E:\\c1"});
  EXPECT_TRUE(onDisk(item.sourcePath));
}

TEST_F(RetentionTest, SourceWrittenInOtherLetterCaseIsNotDeleted) {
  const std::string other = "d:\\WORK\\Main.CPP";  // the same file on Windows
  files.addFile(other);
  item.historyPaths = {other};
  item.keepCount = 1;
  backUp({"E:\\c1"});
  EXPECT_EQ(item.historyPaths, Paths{"E:\\c1"});
  EXPECT_EQ(files.deleted, Paths{});
}

struct SourcePathCase {
  const char* name;
  std::string source;
  std::string path;
  bool same;
};

class IsSourcePathTest : public testing::TestWithParam<SourcePathCase> {};

TEST_P(IsSourcePathTest, MatchesAsciiLettersWithoutCase) {
  BackupItem item;
  item.sourcePath = GetParam().source;
  EXPECT_EQ(isSourcePath(item, GetParam().path), GetParam().same);
}

// 癆 is B0 41 and 癮 is B0 61: their trailing bytes are "A" and "a".
INSTANTIATE_TEST_SUITE_P(
    Cases, IsSourcePathTest,
    testing::Values(SourcePathCase{"Exact", "D:\\a.txt", "D:\\a.txt", true},
                    SourcePathCase{"OtherCase", "D:\\a.txt", "d:\\A.TXT", true},
                    SourcePathCase{"OtherName", "D:\\a.txt", "D:\\b.txt", false},
                    SourcePathCase{"Longer", "D:\\a.txt", "D:\\a.txt.bak", false},
                    SourcePathCase{"DoubleByteSame", "D:\\癆\\A.txt", "D:\\癆\\a.txt", true},
                    SourcePathCase{"TrailByteIsNoLetter", "D:\\癆.txt", "D:\\癮.txt", false}),
    [](const testing::TestParamInfo<SourcePathCase>& info) { return std::string(info.param.name); });

TEST_F(RetentionTest, DoubleByteLookalikeOfTheSourceIsAnOrdinaryCopy) {
  item.sourcePath = "D:\\癆.txt";
  files.addFile(item.sourcePath);
  files.addFile("D:\\癮.txt");
  item.historyPaths = {"D:\\癮.txt"};
  item.keepCount = 1;
  backUp({"E:\\c1"});
  EXPECT_EQ(files.deleted, Paths{"D:\\癮.txt"});
  EXPECT_TRUE(onDisk(item.sourcePath));
}

}  // namespace

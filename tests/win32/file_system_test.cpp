#include "win32/file_system_win.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <string>

#include "common/oledate.h"
#include "engine/path_template.h"
#include "tests/support/temp_dir.h"
#include "win32/unique_handle.h"

namespace {

FILETIME fileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
                    WORD milliseconds) {
  SYSTEMTIME st{};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = hour;
  st.wMinute = minute;
  st.wSecond = second;
  st.wMilliseconds = milliseconds;
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

std::uint64_t valueOf(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool setWriteTime(const std::string& path, const FILETIME& ft) {
  UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file && SetFileTime(file.get(), nullptr, nullptr, &ft);
}

class Win32FileSystemTest : public testing::Test {
 protected:
  TempDir dir;
  Win32FileSystem files;
};

TEST_F(Win32FileSystemTest, StampIsTheLocalWriteTimeInWholeSeconds) {
  const std::string path = dir.file("main.cpp");
  writeFileBytes(path, "int main() {}\n");
  const FILETIME written = fileTimeOf(2016, 3, 1, 6, 23, 5, 750);
  ASSERT_TRUE(setWriteTime(path, written));

  // What Windows makes of the same time, the milliseconds dropped.
  FILETIME local;
  SYSTEMTIME parts;
  ASSERT_TRUE(FileTimeToLocalFileTime(&written, &local));
  ASSERT_TRUE(FileTimeToSystemTime(&local, &parts));
  parts.wMilliseconds = 0;
  double expected = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&parts, &expected));

  const FileStamp stamp = files.stamp(path);
  EXPECT_TRUE(stamp.found);
  EXPECT_NEAR(stamp.localTime, expected, 1e-8);
  oledate::CivilTime civil;
  ASSERT_TRUE(oledate::toCivil(stamp.localTime, civil));
  EXPECT_EQ(civil.second, 5);
  EXPECT_EQ(civil.minute, 23);
  EXPECT_EQ(stamp.rawTime, valueOf(written));
}

TEST_F(Win32FileSystemTest, SubSecondChangeShowsOnlyInTheRawTime) {
  const std::string path = dir.file("a.txt");
  writeFileBytes(path, "x");
  ASSERT_TRUE(setWriteTime(path, fileTimeOf(2020, 7, 1, 10, 0, 0, 100)));
  const FileStamp before = files.stamp(path);
  ASSERT_TRUE(setWriteTime(path, fileTimeOf(2020, 7, 1, 10, 0, 0, 600)));
  const FileStamp after = files.stamp(path);
  EXPECT_EQ(before.localTime, after.localTime);
  EXPECT_NE(before.rawTime, after.rawTime);
}

TEST_F(Win32FileSystemTest, MissingFileHasNoStampAndNoSize) {
  const FileStamp stamp = files.stamp(dir.file("missing.txt"));
  EXPECT_FALSE(stamp.found);
  EXPECT_EQ(stamp.localTime, oledate::kNoTime);
  EXPECT_EQ(stamp.rawTime, 0u);
  EXPECT_EQ(files.openedSize(dir.file("missing.txt")), 0);
  EXPECT_FALSE(files.exists(dir.file("missing.txt")));
  EXPECT_FALSE(files.exists(""));
}

TEST_F(Win32FileSystemTest, WildcardsNameNoFile) {
  writeFileBytes(dir.file("a.txt"), "x");
  EXPECT_TRUE(files.stamp(dir.file("a.txt")).found);
  EXPECT_FALSE(files.stamp(dir.file("*.txt")).found);
  EXPECT_FALSE(files.stamp(dir.file("?.txt")).found);
}

TEST_F(Win32FileSystemTest, SizeByOpening) {
  const std::string path = dir.file("data.bin");
  writeFileBytes(path, std::string(12345, 'z'));
  EXPECT_EQ(files.openedSize(path), 12345);
  EXPECT_EQ(files.openedSize(dir.path()), 0);  // a directory is no file to open
}

TEST_F(Win32FileSystemTest, FileHeldExclusivelyHasItsTimeButSizeZero) {
  const std::string path = dir.file("locked.db");
  writeFileBytes(path, std::string(4096, 'd'));
  UniqueFile exclusive(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(exclusive);
  EXPECT_TRUE(files.stamp(path).found);
  EXPECT_EQ(files.openedSize(path), 0);
  exclusive.reset();
  EXPECT_EQ(files.openedSize(path), 4096);
}

TEST_F(Win32FileSystemTest, FileBeingWrittenStillGivesItsSize) {
  const std::string path = dir.file("log.txt");
  writeFileBytes(path, "12345");
  UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(files.openedSize(path), 5);
}

TEST_F(Win32FileSystemTest, CopyReplacesDeleteAndCreateReportTheirResult) {
  const std::string from = dir.file("new.txt");
  const std::string to = dir.file("copy.txt");
  writeFileBytes(from, "new content");
  writeFileBytes(to, "old");
  EXPECT_TRUE(files.copyFile(from, to));
  EXPECT_EQ(readFileBytes(to), "new content");
  EXPECT_FALSE(files.copyFile(dir.file("missing.txt"), to));

  EXPECT_TRUE(files.deleteFile(to));
  EXPECT_FALSE(files.exists(to));
  EXPECT_FALSE(files.deleteFile(to));

  EXPECT_TRUE(files.createDirectory(dir.file("sub")));
  EXPECT_TRUE(files.exists(dir.file("sub")));
  EXPECT_FALSE(files.createDirectory(dir.file("sub")));
}

TEST_F(Win32FileSystemTest, DoubleByteNamesWithTrailBackslashAndBar) {
  // 運 and 錦 end in 0x5C, 質 and 億 in 0x7C: ANSI names in code page 936.
  const std::string folder = dir.file("運動");
  ASSERT_TRUE(files.createDirectory(folder));
  const std::string path = folder + "\\錦質億.txt";
  writeFileBytes(path, "abc");
  EXPECT_TRUE(files.exists(path));
  EXPECT_TRUE(files.stamp(path).found);
  EXPECT_EQ(files.openedSize(path), 3);
  EXPECT_TRUE(files.copyFile(path, folder + "\\錦.bak"));
  EXPECT_EQ(readFileBytes(folder + "\\錦.bak"), "abc");
  EXPECT_TRUE(files.deleteFile(path));
  EXPECT_FALSE(files.exists(path));
}

TEST_F(Win32FileSystemTest, EnsureDirectoriesMakesTheWholeWay) {
  const std::string destination = dir.file("備份\\運\\錦\\main.cpp");
  EXPECT_TRUE(ensureDirectories(files, destination));
  EXPECT_TRUE(files.exists(dir.file("備份\\運\\錦")));
  EXPECT_FALSE(files.exists(destination));  // the file's own name is left to the copy
  writeFileBytes(dir.file("src.txt"), "x");
  EXPECT_TRUE(files.copyFile(dir.file("src.txt"), destination));
  EXPECT_TRUE(ensureDirectories(files, destination));  // all there already
}

TEST_F(Win32FileSystemTest, EnsureDirectoriesFailsBelowAFile) {
  writeFileBytes(dir.file("plain"), "x");
  EXPECT_FALSE(ensureDirectories(files, dir.file("plain\\sub\\a.txt")));
  EXPECT_FALSE(files.exists(dir.file("plain\\sub")));
}

}  // namespace

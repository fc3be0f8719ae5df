// The program's date values must be the ones Windows itself uses for OLE
// automation dates: the settings file stores them, and other programs read
// them with these very functions.
#include "common/oledate.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

SYSTEMTIME systemTimeOf(const oledate::CivilTime& c) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(c.year);
  st.wMonth = static_cast<WORD>(c.month);
  st.wDay = static_cast<WORD>(c.day);
  st.wHour = static_cast<WORD>(c.hour);
  st.wMinute = static_cast<WORD>(c.minute);
  st.wSecond = static_cast<WORD>(c.second);
  return st;
}

std::string textOf(const oledate::CivilTime& c) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return buf;
}

std::string textOf(const SYSTEMTIME& st) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay,
                st.wHour, st.wMinute, st.wSecond);
  return buf;
}

// Both directions for one date and time: our value against Windows' value,
// and each side's parts of the other side's value.
void expectSameAsWindows(const oledate::CivilTime& c) {
  SCOPED_TRACE(textOf(c));
  double ours = 0;
  ASSERT_TRUE(oledate::toDate(c, ours));
  SYSTEMTIME st = systemTimeOf(c);
  double windows = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &windows));
  // Windows sums the parts of the day separately; a few units in the last
  // place are far below a second.
  EXPECT_NEAR(ours, windows, 1e-8);

  SYSTEMTIME back;
  FillMemory(&back, sizeof back, 0xcc);
  ASSERT_TRUE(VariantTimeToSystemTime(ours, &back));
  EXPECT_EQ(textOf(back), textOf(c));
  oledate::CivilTime parts;
  ASSERT_TRUE(oledate::toCivil(windows, parts));
  EXPECT_EQ(textOf(parts), textOf(c));
}

TEST(OleDate, BoundsAreWindowsValues) {
  oledate::CivilTime first;
  double value = 0;
  ASSERT_TRUE(oledate::toDate(first, value));
  EXPECT_EQ(value, oledate::kNoTime);
  SYSTEMTIME st = systemTimeOf(first);
  double windows = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &windows));
  EXPECT_EQ(windows, oledate::kNoTime);
  expectSameAsWindows(first);
  expectSameAsWindows({9999, 12, 31, 23, 59, 59});
  expectSameAsWindows({1899, 12, 30, 0, 0, 0});
  expectSameAsWindows({1899, 12, 29, 6, 0, 0});  // -1.25
  expectSameAsWindows({1899, 12, 31, 18, 0, 0});
}

TEST(OleDate, LeapDays) {
  for (int year : {104, 400, 1600, 1896, 1904, 2000, 2004, 2024, 2400, 9996})
    expectSameAsWindows({year, 2, 29, 12, 30, 45});
  for (int year : {100, 1700, 1800, 1900, 2100, 9999}) {
    SCOPED_TRACE(year);
    double value = 0;
    EXPECT_FALSE(oledate::toDate({year, 2, 29, 0, 0, 0}, value));
    expectSameAsWindows({year, 2, 28, 23, 59, 59});
    expectSameAsWindows({year, 3, 1, 0, 0, 0});
  }
}

TEST(OleDate, OutsideTheRangeHasNoValue) {
  double value = 0;
  EXPECT_FALSE(oledate::toDate({99, 12, 31, 23, 59, 59}, value));
  EXPECT_FALSE(oledate::toDate({10000, 1, 1, 0, 0, 0}, value));
  oledate::CivilTime parts;
  EXPECT_FALSE(oledate::toCivil(oledate::kNoTime - 1, parts));
  EXPECT_FALSE(oledate::toCivil(oledate::kLatest + 1, parts));
}

// Every day from 100-01-01 to 9999-12-31, each with another time of day.
TEST(OleDate, SweepOverTheWholeRangeMatchesWindows) {
  const long first = static_cast<long>(oledate::kNoTime);
  const long last = static_cast<long>(std::floor(oledate::kLatest));
  int failures = 0;
  for (long day = first; day <= last && failures < 20; ++day) {
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(static_cast<double>(day), &st)) {
      ADD_FAILURE() << "Windows has no date for day " << day;
      ++failures;
      continue;
    }
    const long seconds =
        static_cast<long>((static_cast<unsigned long>(day - first) * 7919u) % 86400u);
    oledate::CivilTime c{st.wYear, st.wMonth, st.wDay, static_cast<int>(seconds / 3600),
                         static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60)};
    oledate::CivilTime midnight;
    if (!oledate::toCivil(static_cast<double>(day), midnight) ||
        textOf(midnight) != textOf(st)) {
      ADD_FAILURE() << "day " << day << ": " << textOf(midnight) << " vs " << textOf(st);
      ++failures;
      continue;
    }
    double ours = 0;
    double windows = 0;
    st.wHour = static_cast<WORD>(c.hour);
    st.wMinute = static_cast<WORD>(c.minute);
    st.wSecond = static_cast<WORD>(c.second);
    if (!oledate::toDate(c, ours) || !SystemTimeToVariantTime(&st, &windows) ||
        std::fabs(ours - windows) > 1e-8) {
      ADD_FAILURE() << textOf(c) << ": " << ours << " vs " << windows;
      ++failures;
      continue;
    }
    oledate::CivilTime parts;
    if (!oledate::toCivil(windows, parts) || textOf(parts) != textOf(c)) {
      ADD_FAILURE() << textOf(c) << " read back as " << textOf(parts);
      ++failures;
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace

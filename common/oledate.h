#pragma once
// Date-time values are OLE automation dates: days since 1899-12-30 00:00
// with the time of day as the fraction (for dates before 1899-12-30 the
// fraction counts forward from the day named by the integer part, so -1.25
// is 1899-12-29 06:00). Valid from 100-01-01 to 9999-12-31.

namespace oledate {

// 100-01-01 00:00:00, which also stands for "no time": a missing file, a
// text that is no date.
constexpr double kNoTime = -657434.0;
// 9999-12-31 23:59:59.
constexpr double kLatest = 2958465.99998843;

struct CivilTime {
  int year = 100;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// False (and `out` untouched) when a field is out of range or the date lies
// outside 100-01-01 .. 9999-12-31.
bool toDate(const CivilTime& civil, double& out);

// Splits a date value into its parts, rounded to the nearest second. False
// for a value outside the valid range (or not a number).
bool toCivil(double date, CivilTime& out);

// The parts of a value clamped to the valid range first, so that every
// value gives some date (used where a text must always come out).
CivilTime toCivilClamped(double date);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

}  // namespace oledate

#include "common/oledate.h"

#include <cmath>

namespace oledate {

namespace {
// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochOffset = -25569;
}  // namespace

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

bool toDate(const CivilTime& c, double& out) {
  if (c.year < 100 || c.year > 9999 || c.month < 1 || c.month > 12 || c.day < 1 ||
      c.day > daysInMonth(c.year, c.month) || c.hour < 0 || c.hour > 23 || c.minute < 0 ||
      c.minute > 59 || c.second < 0 || c.second > 59)
    return false;
  long long days = daysFromCivil(c.year, static_cast<unsigned>(c.month),
                                 static_cast<unsigned>(c.day)) - kEpochOffset;
  double fraction = (c.hour * 3600.0 + c.minute * 60.0 + c.second) / 86400.0;
  out = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return true;
}

bool toCivil(double date, CivilTime& out) {
  if (!(date >= kNoTime && date < kLatest + 1.0 / 86400.0)) return false;
  double whole = std::trunc(date);
  double fraction = std::fabs(date - whole);
  long long days = static_cast<long long>(whole);
  long long seconds = std::llround(fraction * 86400.0);
  if (seconds >= 86400) {  // 23:59:59.5 and later round into the next day
    seconds -= 86400;
    days += 1;
  }
  int y, m, d;
  civilFromDays(days + kEpochOffset, y, m, d);
  if (y > 9999) return false;
  out.year = y;
  out.month = m;
  out.day = d;
  out.hour = static_cast<int>(seconds / 3600);
  out.minute = static_cast<int>(seconds / 60 % 60);
  out.second = static_cast<int>(seconds % 60);
  return true;
}

CivilTime toCivilClamped(double date) {
  CivilTime c;
  if (std::isnan(date) || date < kNoTime) date = kNoTime;
  if (date > kLatest) date = kLatest;
  if (!toCivil(date, c)) toCivil(kNoTime, c);
  return c;
}

}  // namespace oledate

#include "engine/panel_values.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/number.h"

std::int32_t keepCountFromText(const std::string& text) {
  std::int32_t n = number::leadingInteger(text);
  return n < 1 ? 10 : n;
}

float refreshSecondsFromText(const std::string& text) {
  float seconds = static_cast<float>(number::leadingNumber(text));
  // The test is made on the float: 0.9999999 is held as 0.99999988 and
  // becomes 5, while 0.99999994 (the largest float below 1) stays.
  if (!(static_cast<double>(seconds) - 1.0 >= -0.0000001)) return 5;
  return seconds;
}

std::string refreshSecondsText(float seconds) {
  // Shortest text that reads back as the same float.
  for (int digits = 1; digits <= 9; ++digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(seconds));
    if (std::strtof(buf, nullptr) == seconds) return buf;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(seconds));
  return buf;
}

#include "common/number.h"

#include <cstdlib>

namespace number {

std::string toHalfWidth(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80 || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    unsigned char t = static_cast<unsigned char>(s[i + 1]);
    // GBK: ０..９ are A3 B0..B9, ＋ A3 AB, － A3 AD, ． A3 AE, the blank A1 A1.
    if (b == 0xA3 && t >= 0xB0 && t <= 0xB9) out += static_cast<char>('0' + (t - 0xB0));
    else if (b == 0xA3 && t == 0xAB) out += '+';
    else if (b == 0xA3 && t == 0xAD) out += '-';
    else if (b == 0xA3 && t == 0xAE) out += '.';
    else if (b == 0xA1 && t == 0xA1) out += ' ';
    else out.append(s, i, 2);
    ++i;
  }
  return out;
}

std::int32_t leadingInteger(const std::string& text) {
  std::string s = toHalfWidth(text);
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > 2147483648LL) value = 2147483648LL;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) value = 2147483647LL;
  return static_cast<std::int32_t>(value);
}

double leadingNumber(const std::string& text) {
  std::string s = toHalfWidth(text);
  // strtod would also take "inf", "nan" and hexadecimal forms; a box of
  // seconds or copies means decimal numbers only.
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::size_t j = i;
  if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
  if (j >= s.size() || !((s[j] >= '0' && s[j] <= '9') || s[j] == '.')) return 0;
  if (s[j] == '0' && j + 1 < s.size() && (s[j + 1] == 'x' || s[j + 1] == 'X'))
    return 0;
  return std::strtod(s.c_str() + i, nullptr);
}

}  // namespace number

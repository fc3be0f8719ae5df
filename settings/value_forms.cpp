#include "settings/value_forms.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/oledate.h"

namespace value_form {

const char kLineBreakMark[] = "\xA9\xAE*\xA9\xAE";
const char kYes[] = "真";
const char kNo[] = "假";

namespace {
const char kCrLf[] = "\r\n";
const char kYear[] = "年";
const char kMonth[] = "月";
const char kDay[] = "日";
const char kHour[] = "时";
const char kMinute[] = "分";
const char kSecond[] = "秒";

// Byte-wise on purpose: a CR LF must not survive in a value even behind a
// stray lead byte, or it would split the entry into two lines.
std::string replaceBytes(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    out.append(text, start, at - start);
    out += to;
    start = at + from.size();
  }
  out.append(text, start, std::string::npos);
  return out;
}

// Reads the text piece by piece; every step fails once anything is amiss.
class Cursor {
 public:
  explicit Cursor(const std::string& text) : text_(text) {}

  bool number(int& out) {
    std::size_t digits = 0;
    long value = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      // Nine digits hold any field; more could only overflow.
      if (++digits > 9) return false;
      value = value * 10 + (text_[at_++] - '0');
    }
    out = static_cast<int>(value);
    return digits > 0;
  }
  bool literal(const char* word) {
    std::string w(word);
    if (text_.compare(at_, w.size(), w) != 0) return false;
    at_ += w.size();
    return true;
  }
  bool atEnd() const { return at_ == text_.size(); }

 private:
  const std::string& text_;
  std::size_t at_ = 0;
};

bool parseWritten(const std::string& stored, oledate::CivilTime& c) {
  Cursor in(stored);
  if (!(in.number(c.year) && in.literal(kYear) && in.number(c.month) && in.literal(kMonth) &&
        in.number(c.day) && in.literal(kDay)))
    return false;
  if (in.atEnd()) return true;
  if (!(in.number(c.hour) && in.literal(kHour))) return false;
  if (in.atEnd()) return true;
  if (!(in.number(c.minute) && in.literal(kMinute))) return false;
  if (in.atEnd()) return true;
  return in.number(c.second) && in.literal(kSecond) && in.atEnd();
}

bool parseNumeric(const std::string& stored, oledate::CivilTime& c) {
  for (const char* separator : {"-", "/"}) {
    Cursor in(stored);
    if (!(in.number(c.year) && in.literal(separator) && in.number(c.month) &&
          in.literal(separator) && in.number(c.day)))
      continue;
    if (in.atEnd()) return true;
    if (!(in.literal(" ") && in.number(c.hour) && in.literal(":") && in.number(c.minute)))
      return false;
    if (in.atEnd()) return true;
    return in.literal(":") && in.number(c.second) && in.atEnd();
  }
  return false;
}
}  // namespace

std::string escapeText(const std::string& text) {
  return replaceBytes(text, kCrLf, kLineBreakMark);
}

std::string unescapeText(const std::string& stored) {
  return replaceBytes(stored, kLineBreakMark, kCrLf);
}

std::string formatNumber(double value) {
  int size = std::snprintf(nullptr, 0, "%.13g", value);
  if (size <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
  std::snprintf(buffer.data(), buffer.size(), "%.13g", value);
  return std::string(buffer.data(), static_cast<std::size_t>(size));
}

double parseNumber(const std::string& stored) { return std::strtod(stored.c_str(), nullptr); }

std::string formatBool(bool value) { return value ? kYes : kNo; }

std::string formatDate(double date) {
  oledate::CivilTime c = oledate::toCivilClamped(date);
  std::string out = std::to_string(c.year) + kYear + std::to_string(c.month) + kMonth +
                    std::to_string(c.day) + kDay;
  if (c.second != 0)
    out += std::to_string(c.hour) + kHour + std::to_string(c.minute) + kMinute +
           std::to_string(c.second) + kSecond;
  else if (c.minute != 0)
    out += std::to_string(c.hour) + kHour + std::to_string(c.minute) + kMinute;
  else if (c.hour != 0)
    out += std::to_string(c.hour) + kHour;
  return out;
}

bool parseDate(const std::string& stored, double& date) {
  oledate::CivilTime c;
  if (!parseWritten(stored, c)) {
    c = oledate::CivilTime();
    if (!parseNumeric(stored, c)) return false;
  }
  return oledate::toDate(c, date);
}

}  // namespace value_form

#include "common/text.h"

namespace text {

namespace {
bool sameNoCase(unsigned char a, unsigned char b) {
  if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
  if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
  return a == b;
}

// Size of the character that starts at i (a lone lead byte at the end is one).
std::size_t charSize(const std::string& s, std::size_t i) {
  return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

template <typename Equal>
std::size_t findWith(const std::string& s, const std::string& needle, std::size_t from,
                     Equal equal) {
  if (needle.empty()) return npos;
  // Walk from the start so that `from` inside a pair is handled the same way
  // the pair boundaries fall from the beginning of the text.
  std::size_t i = 0;
  while (i < s.size()) {
    if (i >= from && s.size() - i >= needle.size()) {
      std::size_t k = 0;
      while (k < needle.size() && equal(static_cast<unsigned char>(s[i + k]),
                                        static_cast<unsigned char>(needle[k])))
        ++k;
      if (k == needle.size()) return i;
    }
    if (s.size() - i < needle.size()) return npos;
    i += charSize(s, i);
  }
  return npos;
}

bool exact(unsigned char a, unsigned char b) { return a == b; }

template <typename Equal>
std::string replaceWith(const std::string& s, const std::string& from, const std::string& to,
                        Equal equal) {
  if (from.empty()) return s;
  std::string out;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t k = 0;
    if (s.size() - i >= from.size()) {
      while (k < from.size() && equal(static_cast<unsigned char>(s[i + k]),
                                      static_cast<unsigned char>(from[k])))
        ++k;
    }
    if (k == from.size() && k != 0) {
      out += to;
      i += from.size();
    } else {
      std::size_t n = charSize(s, i);
      out.append(s, i, n);
      i += n;
    }
  }
  return out;
}
}  // namespace

std::size_t find(const std::string& s, const std::string& needle, std::size_t from) {
  return findWith(s, needle, from, exact);
}

std::size_t findLast(const std::string& s, const std::string& needle) {
  std::size_t last = npos;
  for (std::size_t at = find(s, needle); at != npos; at = find(s, needle, at + 1)) last = at;
  return last;
}

std::vector<std::string> split(const std::string& s, const std::string& delimiter) {
  std::vector<std::string> pieces;
  if (s.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    std::size_t at = find(s, delimiter, start);
    if (at == npos) {
      if (start < s.size()) pieces.push_back(s.substr(start));
      return pieces;
    }
    pieces.push_back(s.substr(start, at - start));
    start = at + delimiter.size();
  }
}

std::string join(const std::vector<std::string>& pieces, const std::string& delimiter) {
  std::string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i) out += delimiter;
    out += pieces[i];
  }
  return out;
}

std::string replaceAll(const std::string& s, const std::string& from, const std::string& to) {
  return replaceWith(s, from, to, exact);
}

std::string replaceAllNoCase(const std::string& s, const std::string& from,
                             const std::string& to) {
  return replaceWith(s, from, to, sameNoCase);
}

std::string fileNameOf(const std::string& path) {
  std::size_t at = findLast(path, "\\");
  return at == npos ? path : path.substr(at + 1);
}

std::string directoryOf(const std::string& path) {
  std::size_t at = findLast(path, "\\");
  return at == npos ? std::string() : path.substr(0, at);
}

}  // namespace text

#include "settings/ini_document.h"

namespace ini {

namespace {
const char kCrLf[] = "\r\n";
}

std::string headerOf(const std::string& section) { return "[" + section + "]"; }

bool beginsLine(const std::string& document, std::size_t at) {
  return at == 0 || (at >= 2 && document[at - 2] == '\r' && document[at - 1] == '\n');
}

std::size_t findNextSection(const std::string& document, std::size_t from, std::size_t to) {
  std::size_t at = from;
  for (;;) {
    std::size_t lineBreak = document.find("\r\n[", at);
    if (lineBreak == npos || lineBreak >= to) return npos;
    std::size_t open = lineBreak + 2;
    std::size_t close = document.find("]\r\n", open);
    // Without a "]" + CR LF after this "[" there is none after any later one.
    if (close == npos || close > to) return npos;
    if (document.find(kCrLf, open) > close) return open;
    at = open;
  }
}

bool findEntry(const std::string& document, std::size_t headerAt, std::size_t headerSize,
               const std::string& key, EntrySpan& out) {
  std::size_t close = headerAt + headerSize - 1;
  std::size_t lineBreak = document.find(kCrLf + key + "=", close);
  if (lineBreak == npos) return false;
  if (findNextSection(document, close + 1, lineBreak + 1) != npos) return false;
  out.valueBegin = lineBreak + 2 + key.size() + 1;
  std::size_t end = document.find(kCrLf, out.valueBegin);
  out.valueEnd = end == npos ? document.size() : end;
  return true;
}

std::size_t headerLineEnd(const std::string& document, std::size_t headerAt,
                          std::size_t headerSize) {
  std::size_t end = document.find(kCrLf, headerAt + headerSize);
  return end == npos ? document.size() : end;
}

}  // namespace ini

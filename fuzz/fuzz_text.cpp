// The text helpers take any bytes: a lone lead byte at the end, delimiters
// inside double-byte characters, empty pieces.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/number.h"
#include "common/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string s(reinterpret_cast<const char*>(data), size);
  std::size_t cut = size ? data[0] % (size + 1) : 0;
  std::string delimiter = s.substr(0, cut % 4);
  std::string body = s.substr(cut % 4);
  auto pieces = text::split(body, delimiter.empty() ? "|" : delimiter);
  std::string joined = text::join(pieces, delimiter.empty() ? "|" : delimiter);
  if (joined.size() > body.size()) __builtin_trap();
  text::fileNameOf(body);
  text::directoryOf(body);
  text::replaceAllNoCase(body, "<a>", "<a><a>");
  number::leadingInteger(body);
  number::leadingNumber(body);
  return 0;
}

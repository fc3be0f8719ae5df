#pragma once
// Searches of the settings text. The file is lines joined by CR LF; a header
// line is "[" + name + "]", an entry line key + "=" + value. Every search is
// byte-exact (no case folding, no trimming) and starts afresh from its
// arguments: no positions are kept between calls.
#include <cstddef>
#include <string>

namespace ini {

constexpr std::size_t npos = std::string::npos;

// "[" + section + "]".
std::string headerOf(const std::string& section);

// True when `at` is the start of the text or stands directly after CR LF.
bool beginsLine(const std::string& document, std::size_t at);

// The "[" of the next header line between from and to: a line that begins
// with "[", ends with "]" and is followed by CR LF. npos when there is none.
std::size_t findNextSection(const std::string& document, std::size_t from, std::size_t to);

// Where an entry's value lies: [valueBegin, valueEnd).
struct EntrySpan {
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
};

// The entry of `key` under the header that starts at `headerAt` and is
// `headerSize` bytes long. Only the first CR LF + key + "=" after the header
// is looked at; it counts only when no other header line stands between.
bool findEntry(const std::string& document, std::size_t headerAt, std::size_t headerSize,
               const std::string& key, EntrySpan& out);

// Where the header line that starts at `headerAt` ends: its CR LF, or the end
// of the text. New entries go here, so text after "]" stays on the header line.
std::size_t headerLineEnd(const std::string& document, std::size_t headerAt,
                          std::size_t headerSize);

}  // namespace ini

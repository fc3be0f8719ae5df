#pragma once
// Texts are byte strings in the system code page (GBK). A byte of 0x80 or
// above starts a two-byte character together with the next byte, so every
// search here steps over such pairs as wholes: a trailing byte that equals
// "\" (0x5C) or "|" (0x7C), as in 運 or 質, is never taken for that character.
#include <cstddef>
#include <string>
#include <vector>

namespace text {

constexpr std::size_t npos = std::string::npos;

// True when byte b starts a two-byte character.
inline bool isLeadByte(unsigned char b) { return b >= 0x80; }

// First occurrence of needle at or after `from` that starts on a character
// boundary; npos when there is none (or needle is empty).
std::size_t find(const std::string& text, const std::string& needle, std::size_t from = 0);

// Last occurrence of needle that starts on a character boundary; npos if none.
std::size_t findLast(const std::string& text, const std::string& needle);

// Splits at delimiter: pieces between two delimiters count even when empty,
// a leading delimiter gives an empty first piece, an empty piece after a
// final delimiter is dropped, and an empty text gives no pieces.
std::vector<std::string> split(const std::string& text, const std::string& delimiter);

// Joins pieces with the delimiter between them.
std::string join(const std::vector<std::string>& pieces, const std::string& delimiter);

// Replaces every occurrence of `from` (on character boundaries) by `to`.
std::string replaceAll(const std::string& text, const std::string& from, const std::string& to);

// The same, matching `from` without regard to the letter case of ASCII
// letters. The search goes on after each inserted value.
std::string replaceAllNoCase(const std::string& text, const std::string& from,
                             const std::string& to);

// The text after the last "\" of a path; the whole path if it has none.
std::string fileNameOf(const std::string& path);

// Everything before the last "\" of a path; empty if it has none.
std::string directoryOf(const std::string& path);

}  // namespace text

#pragma once
// Numbers typed by the user. Full-width digits, signs and points (as an IME
// gives them: "１２", "－３", "０．５") count as their ordinary forms; the
// number at the start of the text is taken, and a text that does not start
// with a number gives 0.
#include <cstdint>
#include <string>

namespace number {

// The text with full-width digits, "＋", "－", "．" and the full-width blank
// replaced by their ASCII forms; every other byte is kept as it is.
std::string toHalfWidth(const std::string& text);

// Optional blanks and sign, then decimal digits up to the first other
// character; 0 when there is none. Saturates at the 32-bit limits.
std::int32_t leadingInteger(const std::string& text);

// The decimal number at the start of the text (blanks, sign, digits, point,
// exponent), as the C library's strtod reads it; 0 when there is none.
double leadingNumber(const std::string& text);

}  // namespace number

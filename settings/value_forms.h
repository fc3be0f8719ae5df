#pragma once
// The texts that typed values take in the settings file, and back.
#include <string>

namespace value_form {

// "┊*┊" in GBK: how a line break is kept inside a one-line value.
extern const char kLineBreakMark[];
extern const char kYes[];  // "真"
extern const char kNo[];   // "假"

// Every CR LF becomes "┊*┊"; the result never holds a CR LF.
std::string escapeText(const std::string& text);
// Every "┊*┊" becomes CR LF.
std::string unescapeText(const std::string& stored);

// "%.13g": up to 13 significant digits, no trailing zeros.
std::string formatNumber(double value);
// The number at the start of the text as atof reads it; 0 when there is none.
double parseNumber(const std::string& stored);

std::string formatBool(bool value);

// "2016年8月31日15时6分36秒", shortened to "…15时6分", "…15时" or the date
// alone when the trailing parts are 0. Clamped to 100-01-01 .. 9999-12-31.
std::string formatDate(double date);
// The written form, and also "2016-08-31 15:06:36" or "2016/8/31" (with or
// without ":seconds"). False for any other text or an impossible date.
bool parseDate(const std::string& stored, double& date);

}  // namespace value_form

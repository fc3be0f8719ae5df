#pragma once
// The program's command line: an optional first argument "yes" marks a
// start by autostart.
#include <string>
#include <vector>

namespace command_line {

// The arguments after the program's own path. An argument in double quotes
// is taken without its quotes; others end at a blank, a control character or
// a double quote.
std::vector<std::string> arguments(const std::string& commandLine);

// True only when the first argument is exactly "yes" (case-sensitive).
bool startedByAutostart(const std::vector<std::string>& args);

}  // namespace command_line

#pragma once
// The help text shown under "疑点说明".
#include <string>

// Fourteen lines joined by CR LF, no break after the last.
const std::string& helpText();

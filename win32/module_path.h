#pragma once
// The full path of the running program, of any length.
#include <string>

std::string modulePath();

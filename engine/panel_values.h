#pragma once
// The options panel's boxes as the add and modify commands read them.
#include <cstdint>
#include <string>

// The integer at the start of the box (full-width digits count); below 1
// becomes 10.
std::int32_t keepCountFromText(const std::string& text);

// The decimal number at the start of the box as a 32-bit float; more than
// 0.0000001 below 1 becomes 5.
float refreshSecondsFromText(const std::string& text);

// The interval as the panel shows it: 5 as "5", 2.5 as "2.5".
std::string refreshSecondsText(float seconds);

#pragma once
// Texts of windows and controls, of any length.
#include <windows.h>

#include <string>

std::string windowText(HWND window);
void setWindowText(HWND window, const std::string& text);

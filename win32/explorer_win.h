#pragma once
// Starts Explorer in a new window with one file selected.
#include <string>

// Returns whether Explorer could be started; "打开路径" and "打开备份路径"
// do not look at it (what Explorer then shows is its own business).
bool OpenInExplorer(const std::string& path);

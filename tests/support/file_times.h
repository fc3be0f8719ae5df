#pragma once
// Sets a file's last-write time from local time parts, as a user's editor
// would leave it. Windows only; false when the time or the file is refused.
#include <string>

bool setLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                       int minute, int second, int milliseconds = 0);

#include "tests/support/file_times.h"

#ifdef _WIN32
#include <windows.h>

#include "win32/unique_handle.h"

bool setLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                       int minute, int second, int milliseconds) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  st.wMilliseconds = static_cast<WORD>(milliseconds);
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr));
  return file && SetFileTime(file.get(), nullptr, nullptr, &utc);
}
#else
bool setLocalWriteTime(const std::string&, int, int, int, int, int, int, int) { return false; }
#endif

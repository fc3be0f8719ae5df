#include "win32/file_system_win.h"

#include "common/oledate.h"
#include "win32/unique_handle.h"

namespace {
std::uint64_t fileTimeValue(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}
}  // namespace

FileStamp Win32FileSystem::stamp(const std::string& path) {
  FileStamp result;
  // A directory lookup takes "*" and "?" as wildcards and would report some
  // other file; no file name can hold them, so such a path names nothing.
  if (path.find_first_of("*?") != std::string::npos) return result;
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA(path.c_str(), &data));
  if (!find) return result;

  FILETIME local;
  SYSTEMTIME parts;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &parts))
    return result;
  oledate::CivilTime civil;
  civil.year = parts.wYear;
  civil.month = parts.wMonth;
  civil.day = parts.wDay;
  civil.hour = parts.wHour;
  civil.minute = parts.wMinute;
  civil.second = parts.wSecond;  // whole seconds: the milliseconds are dropped
  result.found = true;
  result.rawTime = fileTimeValue(data.ftLastWriteTime);
  // A time beyond 9999-12-31 has no date value and counts as no time.
  if (!oledate::toDate(civil, result.localTime)) result.localTime = oledate::kNoTime;
  return result;
}

std::int64_t Win32FileSystem::openedSize(const std::string& path) {
  // Shared as widely as possible: a file that another program is writing
  // still gives its size; one it holds exclusively gives 0.
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return 0;
  return size.QuadPart;
}

bool Win32FileSystem::exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::createDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FileSystem::copyFile(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileSystem::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

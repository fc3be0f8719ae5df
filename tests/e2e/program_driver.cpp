#include "tests/e2e/program_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "common/text.h"
#include "mainwindow/control_ids.h"
#include "win32/crypto_digest.h"

namespace e2e {

const char* const kMainTitle = "禾岚·栖卷 v1.0.0.1      当文件发生更改时自动备份到指定路径";
const char* const kIdleCaption = "启动备份监视";
const char* const kWatchingCaption = "停止备份监视";

namespace {
// A cross-process message that the program is slow to answer fails instead
// of hanging the suite.
constexpr UINT kSendTimeoutMs = 5000;

std::string thisProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The test binaries live in <build>/win64/tests/, the program in <build>/win64/.
std::string builtProgramPath() {
  return text::directoryOf(text::directoryOf(thisProgramPath())) + "\\qijuan.exe";
}

HANDLE openForWrite(const std::string& path, DWORD disposition, DWORD access = GENERIC_WRITE) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool writeAll(HANDLE h, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::uint64_t seconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return v.QuadPart / 10000000ull;
}

std::vector<std::string> lines(const std::string& bytes) { return text::split(bytes, "\r\n"); }

struct WindowSearch {
  DWORD pid = 0;  // 0: any process
  std::vector<HWND> found;
};

BOOL CALLBACK collectMainWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (search->pid != 0 && pid != search->pid) return TRUE;
  const int n = GetWindowTextLengthA(hwnd);
  if (n <= 0) return TRUE;
  std::string title(static_cast<std::size_t>(n) + 1, '\0');
  title.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, title.data(), n + 1)));
  if (title == kMainTitle) search->found.push_back(hwnd);
  return TRUE;
}
}  // namespace

bool waitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

std::string encodeRows(const std::vector<Row>& rows) {
  const std::string sep = "\xA9\xAE?\xA9\xAE";
  std::string out;
  for (const Row& row : rows) {
    for (const std::string& cell : row.cells) out += cell + sep;
    out += std::string(row.ticked ? "1" : "0") + sep + "\r\n";
  }
  return out;
}

std::string md5Hex(const std::string& bytes) { return CryptoDigest().ofBytes(bytes); }

std::string sectionName(const std::string& sourcePath) {
  return "备份摘要_" + md5Hex(sourcePath);
}

std::string itemSection(const std::string& sourcePath, const ItemOptions& options) {
  return "[" + sectionName(sourcePath) + "]\r\n备份路径=" + options.pathTemplate +
         "\r\n刷新秒=" + options.refreshSeconds + "\r\n备份数=" + options.keepCount;
}

std::vector<std::string> sectionLines(const std::string& ini, const std::string& section) {
  std::vector<std::string> out;
  bool inside = false;
  for (const std::string& line : lines(ini)) {
    if (!line.empty() && line[0] == '[') {
      if (inside) break;
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside) out.push_back(line);
  }
  return out;
}

std::string iniValue(const std::string& ini, const std::string& section, const std::string& key) {
  for (const std::string& line : sectionLines(ini, section))
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
  return {};
}

FILETIME fileTimeFromLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME st{};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = hour;
  st.wMinute = minute;
  st.wSecond = second;
  FILETIME local{}, utc{};
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  return utc;
}

void setWriteTime(const std::string& path, const FILETIME& utc) {
  HANDLE h = openForWrite(path, OPEN_EXISTING, FILE_WRITE_ATTRIBUTES);
  if (h == INVALID_HANDLE_VALUE) return;
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
}

SYSTEMTIME localWriteTime(const std::string& path) {
  SYSTEMTIME st{};
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return st;
  FindClose(find);
  FILETIME local;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &st);
  return st;
}

std::string listDateText(const SYSTEMTIME& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return buf;
}

std::string storedDateText(const SYSTEMTIME& t) {
  std::string out = std::to_string(t.wYear) + "年" + std::to_string(t.wMonth) + "月" +
                    std::to_string(t.wDay) + "日";
  if (t.wSecond != 0)
    out += std::to_string(t.wHour) + "时" + std::to_string(t.wMinute) + "分" +
           std::to_string(t.wSecond) + "秒";
  else if (t.wMinute != 0)
    out += std::to_string(t.wHour) + "时" + std::to_string(t.wMinute) + "分";
  else if (t.wHour != 0)
    out += std::to_string(t.wHour) + "时";
  return out;
}

void waitForNextSecond(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  FindClose(find);
  const std::uint64_t last = seconds(data.ftLastWriteTime);
  waitFor(
      [&] {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        return seconds(now) > last;
      },
      3000);
}

void appendInPlace(const std::string& path, const std::string& bytes) {
  HANDLE h = openForWrite(path, OPEN_EXISTING, FILE_APPEND_DATA);
  if (h == INVALID_HANDLE_VALUE) return;
  writeAll(h, bytes);
  CloseHandle(h);
}

void truncateAndRewrite(const std::string& path, const std::string& bytes) {
  HANDLE h = openForWrite(path, TRUNCATE_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return;
  writeAll(h, bytes);
  CloseHandle(h);
}

void replaceByRename(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp~";
  HANDLE h = openForWrite(temp, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return;
  writeAll(h, bytes);
  CloseHandle(h);
  MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::vector<std::string> folderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

// A folder name with Chinese characters, as users have them: the program
// must find its settings beside itself by a GBK path.
Installation::Installation()
    : programDir_(dir_.file("程序")),
      exePath_(programDir_ + "\\qijuan.exe"),
      settingsPath_(programDir_ + "\\禾岚·栖卷.ini"),
      rowsPath_(programDir_ + "\\inibin\\主界面-表项.ibn") {
  CreateDirectoryA(programDir_.c_str(), nullptr);
  CreateDirectoryA((programDir_ + "\\inibin").c_str(), nullptr);
  CopyFileA(builtProgramPath().c_str(), exePath_.c_str(), FALSE);
}

void Installation::writeSettings(const std::string& bytes) const {
  writeFileBytes(settingsPath_, bytes);
}

void Installation::writeRows(const std::vector<Row>& rows) const {
  writeFileBytes(rowsPath_, encodeRows(rows));
}

ProgramRun::ProgramRun(const std::string& exePath, const std::string& arguments) {
  std::string commandLine = "\"" + exePath + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // Started from elsewhere, as autostart starts it: the program must find
  // its folder by itself.
  std::string elsewhere(MAX_PATH, '\0');
  elsewhere.resize(GetTempPathA(static_cast<DWORD>(elsewhere.size()), elsewhere.data()));
  if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      elsewhere.c_str(), &startup, &process_)) {
    process_ = PROCESS_INFORMATION{};
    return;
  }
  waitFor([&] {
    window_ = mainWindowOf(process_.dwProcessId);
    return window_ != nullptr || !running();
  });
}

ProgramRun::~ProgramRun() {
  if (!process_.hProcess) return;
  if (running()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::string ProgramRun::text(int id) const {
  HWND hwnd = control(id);
  DWORD_PTR length = 0;
  if (!hwnd || !SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                                    kSendTimeoutMs, &length))
    return "<no answer>";
  std::string out(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, out.size(), reinterpret_cast<LPARAM>(out.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
    return "<no answer>";
  out.resize(copied);
  return out;
}

bool ProgramRun::setText(int id, const std::string& value) const {
  HWND hwnd = control(id);
  DWORD_PTR result = 0;
  return hwnd && SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()),
                                     SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) &&
         result == TRUE;
}

bool ProgramRun::click(int id) const {
  HWND hwnd = control(id);
  return hwnd && PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(hwnd));
}

bool ProgramRun::close() const { return PostMessageA(window_, WM_CLOSE, 0, 0) != FALSE; }

int ProgramRun::listRowCount() const {
  HWND list = control(control_id::kList);
  DWORD_PTR count = 0;
  if (!list ||
      !SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count))
    return -1;
  return static_cast<int>(count);
}

bool ProgramRun::waitForCaption(const std::string& caption, DWORD timeoutMs) const {
  return waitFor([&] { return text(control_id::kStartButton) == caption; }, timeoutMs);
}

bool ProgramRun::running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProgramRun::waitForExit(DWORD timeoutMs) const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ProgramRun::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_.hProcess) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::vector<HWND> mainWindows() {
  WindowSearch search;
  EnumWindows(collectMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND mainWindowOf(DWORD pid) {
  WindowSearch search;
  search.pid = pid;
  EnumWindows(collectMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

}  // namespace e2e

#pragma once
// Drives the real qijuan.exe from outside: a copy of it in a fresh folder,
// started as a separate process under the same wineserver, reached only
// through window messages, and judged by the files it leaves.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace e2e {

// Title of the program's main window.
extern const char* const kMainTitle;
// The start button's caption when idle and while watching.
extern const char* const kIdleCaption;
extern const char* const kWatchingCaption;

// Polls `done` every 50 ms until it holds or `timeoutMs` has passed.
bool waitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000);

// One row of the list as the side file "主界面-表项.ibn" stores it.
struct Row {
  std::vector<std::string> cells;  // the seven column texts
  bool ticked = true;
};
// The side file's bytes: every cell and the tick followed by "┊?┊" (the five
// bytes A9 AE 3F A9 AE), every row ended by CR LF.
std::string encodeRows(const std::vector<Row>& rows);

// The options an earlier run's add left in an item's section, in the order
// in which that add's writes leave them in the file (each new key lands
// directly under the header).
struct ItemOptions {
  std::string pathTemplate;
  std::string refreshSeconds = "1";
  std::string keepCount = "10";
};
// "备份摘要_" + the MD5 of the path, lowercase hex.
std::string sectionName(const std::string& sourcePath);
std::string md5Hex(const std::string& bytes);
// "[section]" CR LF "备份路径=" ... CR LF "刷新秒=" ... CR LF "备份数=" ...
std::string itemSection(const std::string& sourcePath, const ItemOptions& options);

// The lines of one section of a settings text, header excluded; empty when
// the section is missing.
std::vector<std::string> sectionLines(const std::string& ini, const std::string& section);
// The value of key in section; empty when missing.
std::string iniValue(const std::string& ini, const std::string& section, const std::string& key);

// Local time parts to a file time (UTC).
FILETIME fileTimeFromLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
void setWriteTime(const std::string& path, const FILETIME& utc);
// The file's last-write time in local time, by directory lookup.
SYSTEMTIME localWriteTime(const std::string& path);
// Texts of a time: the list's "2016-03-01 14:23:05" and the settings
// file's "2016年3月1日14时23分5秒" (trailing zero parts left out).
std::string listDateText(const SYSTEMTIME& t);
std::string storedDateText(const SYSTEMTIME& t);
// Waits until the clock has left the second of the file's last write, so
// that the next write gets a last-write time the program can tell apart
// (it compares whole seconds).
void waitForNextSecond(const std::string& path);

// Ways tools change a file.
void appendInPlace(const std::string& path, const std::string& bytes);
void truncateAndRewrite(const std::string& path, const std::string& bytes);
void replaceByRename(const std::string& path, const std::string& bytes);
// The names in a folder (no "." and ".."), sorted.
std::vector<std::string> folderNames(const std::string& folder);

// A program folder with its own copy of qijuan.exe, its settings file and
// side file, and a place for watched files and backups.
class Installation {
 public:
  Installation();
  const std::string& programDir() const { return programDir_; }
  const std::string& exePath() const { return exePath_; }
  const std::string& settingsPath() const { return settingsPath_; }
  const std::string& rowsPath() const { return rowsPath_; }
  // A path inside the folder for watched files and backups.
  std::string data(const std::string& name) const { return dir_.file(name); }

  void writeSettings(const std::string& bytes) const;
  void writeRows(const std::vector<Row>& rows) const;
  std::string settings() const { return readFileBytes(settingsPath_); }
  std::string rows() const { return readFileBytes(rowsPath_); }

 private:
  TempDir dir_;
  std::string programDir_;
  std::string exePath_;
  std::string settingsPath_;
  std::string rowsPath_;
};

// One run of the program. The destructor ends a run that a failed test
// left behind, so the next test starts clean.
class ProgramRun {
 public:
  // Starts the program (with `arguments` after its path, may be empty) and
  // waits for its main window.
  ProgramRun(const std::string& exePath, const std::string& arguments);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool started() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  HWND control(int id) const { return GetDlgItem(window_, id); }
  bool visible() const { return IsWindowVisible(window_) != FALSE; }

  std::string text(int id) const;
  bool setText(int id, const std::string& text) const;
  // A button click as the button reports it to its parent. Posted, since the
  // start button's handler runs the whole watching cycle before it returns.
  bool click(int id) const;
  bool close() const;
  int listRowCount() const;

  // Waits for the start button's caption to read `caption`.
  bool waitForCaption(const std::string& caption, DWORD timeoutMs = 15000) const;
  bool running() const;
  // Waits for the process to end; false when it is still running.
  bool waitForExit(DWORD timeoutMs = 15000) const;
  DWORD exitCode() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// The main windows with the program's title, of any process.
std::vector<HWND> mainWindows();
// The main window of process `pid`, hidden ones included; null if none.
HWND mainWindowOf(DWORD pid);

}  // namespace e2e

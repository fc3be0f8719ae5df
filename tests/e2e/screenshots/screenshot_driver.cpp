// Poses the program for the pictures in docs/: a copy of qijuan.exe with a
// few items, the main window, the list's popup menu and the help dialog.
// The pictures themselves are taken on the X side (scripts/screenshots): for
// each pose this writes <name>.rect ("left top width height" in screen
// pixels) into the folder given as its argument and waits for <name>.done.
#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/path_template.h"
#include "mainwindow/control_ids.h"
#include "tests/e2e/program_driver.h"

using namespace e2e;

namespace {

bool pose(const std::string& folder, const std::string& name, RECT r) {
  writeFileBytes(folder + "\\" + name + ".rect",
                 std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                     std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) +
                     "\n");
  const std::string done = folder + "\\" + name + ".done";
  if (!waitFor([&] { return pathExists(done); }, 60000)) {
    std::fprintf(stderr, "no picture of %s was taken\n", name.c_str());
    return false;
  }
  return true;
}

RECT unite(RECT a, RECT b) {
  RECT r;
  UnionRect(&r, &a, &b);
  return r;
}

RECT windowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// A visible top-level window of `pid` of the given class, other than `not`.
HWND findWindowOf(DWORD pid, const char* cls, HWND not_) {
  HWND found = nullptr;
  for (HWND h = FindWindowExA(nullptr, nullptr, cls, nullptr); h;
       h = FindWindowExA(nullptr, h, cls, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (h != not_ && IsWindowVisible(h) && (pid == 0 || owner == pid)) found = h;
  }
  return found;
}

struct Sample {
  const char* name;
  const char* content;
  WORD day, hour, minute, second;
  int sequence;
  bool ticked;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: screenshot_driver FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  Installation install;
  const std::string docs = install.data("文档");
  const std::string backups = install.data("备份");
  CreateDirectoryA(docs.c_str(), nullptr);
  const std::string tpl = "<目录路径>\\备份\\<主名>_<年><月><日>_<时><分><秒>_[<序号>]<副名>";

  const std::vector<Sample> samples{
      {"项目计划.docx", "plan", 3, 9, 15, 42, 12, true},
      {"预算表.xlsx", "budget", 4, 14, 2, 7, 5, true},
      {"会议记录.txt", "notes", 5, 17, 30, 0, 3, true},
      {"main.cpp", "int main() {}", 6, 8, 45, 19, 27, false},
  };
  std::string ini = "[主界面]\r\n开机启动=假";
  std::vector<Row> rows;
  for (const Sample& s : samples) {
    const std::string path = docs + "\\" + s.name;
    const std::string stem = std::string(s.name).substr(0, std::string(s.name).rfind('.'));
    const std::string ext = std::string(s.name).substr(std::string(s.name).rfind('.'));
    const std::string bytes = std::string(1500 * (s.sequence % 7 + 1), 'x') + s.content;
    writeFileBytes(path, bytes);
    setWriteTime(path, fileTimeFromLocal(2024, 3, s.day, s.hour, s.minute, s.second));
    const SYSTEMTIME t = localWriteTime(path);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    ini += "\r\n[" + sectionName(path) + "]\r\n序号=" + std::to_string(s.sequence) +
           "\r\n备份路径=" + tpl + "\r\n刷新秒=5\r\n备份数=10";
    rows.push_back(Row{{s.name, std::to_string(s.sequence), listDateText(t),
                        formatSize(static_cast<std::int64_t>(bytes.size())),
                        formatSize(std::int64_t(1500)),
                        docs + "\\备份\\" + stem + "_" + stamp + "_[" +
                            std::to_string(s.sequence) + "]" + ext,
                        path},
                       s.ticked});
  }
  install.writeSettings(ini);
  install.writeRows(rows);

  ProgramRun run(install.exePath(), "");
  if (!run.started() || !waitFor([&] { return run.listRowCount() == int(samples.size()); })) {
    std::fprintf(stderr, "the program did not come up with its rows\n");
    return 1;
  }
  HWND main = run.window();
  HWND list = run.control(control_id::kList);

  // A click on the second row selects it and shows its options in the panel.
  RECT listRect = windowRect(list);
  const LPARAM onSecondRow = MAKELPARAM(120, 60);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, onSecondRow);
  PostMessageA(list, WM_LBUTTONUP, 0, onSecondRow);
  Sleep(500);
  bool ok = pose(out, "main", windowRect(main));

  // The popup menu, as a right click on the list brings it up.
  POINT at{listRect.left + 160, listRect.top + 80};
  PostMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
  HWND menu = nullptr;
  if (waitFor([&] { return (menu = findWindowOf(0, "#32768", nullptr)) != nullptr; }, 5000)) {
    Sleep(300);
    ok = pose(out, "menu", unite(windowRect(main), windowRect(menu))) && ok;
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(main, WM_CANCELMODE, 0, 0);
    waitFor([&] { return !IsWindowVisible(menu); }, 5000);
  } else {
    std::fprintf(stderr, "the popup menu did not appear\n");
    ok = false;
  }

  // The help dialog, from the picture button at the top left.
  run.click(control_id::kHelpPicture);
  HWND help = nullptr;
  if (waitFor([&] { return (help = findWindowOf(0, "#32770", nullptr)) != nullptr; }, 5000)) {
    Sleep(300);
    ok = pose(out, "help", windowRect(help)) && ok;
    PostMessageA(help, WM_CLOSE, 0, 0);
    waitFor([&] { return !IsWindow(help) || !IsWindowVisible(help); }, 5000);
  } else {
    std::fprintf(stderr, "the help dialog did not appear\n");
    ok = false;
  }

  run.close();
  if (!run.waitForExit()) std::fprintf(stderr, "the program did not end after its close\n");
  return ok ? 0 : 1;
}

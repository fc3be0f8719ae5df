// The drop target on real windows: drops are real WM_DROPFILES messages with
// a DROPFILES block in moveable global memory, as Explorer sends them.
#include "mainwindow/drop_target.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

// What the window's own procedure saw.
struct SeenMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<SeenMessage> seen;

// The answer of the window's own procedure to the messages the tests send.
LRESULT answerTo(UINT message) { return 0x5EED0000 + message; }

LRESULT CALLBACK ownProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({window, message, wParam, lParam});
  switch (message) {
    case WM_DROPFILES:
      DragFinish(reinterpret_cast<HDROP>(wParam));
      return answerTo(message);
    case WM_MOUSEMOVE:
    case WM_PAINT:
    case WM_CLOSE:  // answered without destroying the window
    case WM_USER + 5:
      return answerTo(message);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

const char kClassName[] = "QijuanDropTestWindow";

HWND createWindow(DWORD extendedStyle = 0) {
  static const bool registered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ownProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExA(extendedStyle, kClassName, "drop", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool sawMessage(HWND window, UINT message) {
  for (const SeenMessage& m : seen) {
    if (m.window == window && m.message == message) return true;
  }
  return false;
}

// A drop as Explorer builds it: DROPFILES, then the paths, each ended by a
// NUL, and one more NUL after the last. Wide drops carry UTF-16 paths.
HGLOBAL makeDrop(const std::vector<std::string>& paths, bool wide = false) {
  std::vector<char> list;
  for (const std::string& path : paths) {
    if (wide) {
      int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
      std::wstring w(static_cast<std::size_t>(n), L'\0');
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), w.data(), n);
      const char* bytes = reinterpret_cast<const char*>(w.c_str());
      list.insert(list.end(), bytes, bytes + (w.size() + 1) * sizeof(wchar_t));
    } else {
      list.insert(list.end(), path.c_str(), path.c_str() + path.size() + 1);
    }
  }
  list.insert(list.end(), wide ? sizeof(wchar_t) : 1, '\0');

  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  if (memory == nullptr) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->pt = {12, 34};
  header->fNC = FALSE;
  header->fWide = wide ? TRUE : FALSE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return memory;
}

struct DroppedFile {
  std::int32_t count;
  std::int32_t index;
  std::string path;
  std::string extension;
  bool operator==(const DroppedFile& o) const {
    return count == o.count && index == o.index && path == o.path && extension == o.extension;
  }
};
std::ostream& operator<<(std::ostream& os, const DroppedFile& f) {
  return os << "(" << f.count << ", " << f.index << ", \"" << f.path << "\", \"" << f.extension
            << "\")";
}

class DropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = createWindow();
    ASSERT_NE(window, nullptr);
    seen.clear();
  }
  void TearDown() override {
    if (window != nullptr) {
      target.Detach(window);
      DestroyWindow(window);
    }
  }

  DropFileHandler recorder(std::vector<DroppedFile>& into) {
    return [&into](std::int32_t count, std::int32_t index, const std::string& path,
                   const std::string& extension) {
      into.push_back({count, index, path, extension});
      return 0;
    };
  }

  // Sends the drop and checks that the drop handle was given back.
  LRESULT drop(HWND to, const std::vector<std::string>& paths, bool wide = false) {
    HGLOBAL memory = makeDrop(paths, wide);
    EXPECT_NE(memory, nullptr);
    LRESULT result = SendMessageA(to, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(GlobalSize(memory), 0u) << "the drop handle was not released";
    return result;
  }

  HWND window = nullptr;
  DropTarget target;
  std::vector<DroppedFile> calls;
};

TEST_F(DropTargetTest, AttachAcceptsFilesAndDetachRestoresProcedureAndStyle) {
  const LONG ownStyle = WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
  SetWindowLongA(window, GWL_EXSTYLE, ownStyle);
  const LONG styleBefore = GetWindowLongA(window, GWL_EXSTYLE);
  ASSERT_EQ(styleBefore & WS_EX_ACCEPTFILES, 0);
  ASSERT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ownProcedure));

  target.Attach(window, recorder(calls));
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), styleBefore | WS_EX_ACCEPTFILES);
  EXPECT_NE(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ownProcedure));

  EXPECT_EQ(target.Detach(window), 1);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), styleBefore);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ownProcedure));
  EXPECT_EQ(target.Detach(window), 0);

  // Detached, the window's own procedure gets the drop again.
  drop(window, {"C:\\a.txt"});
  EXPECT_TRUE(sawMessage(window, WM_DROPFILES));
  EXPECT_TRUE(calls.empty());
}

TEST_F(DropTargetTest, DetachingWindowsNeverAttachedGivesZero) {
  EXPECT_EQ(target.Detach(window), 0);
  EXPECT_EQ(target.Detach(nullptr), 0);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ownProcedure));
}

TEST_F(DropTargetTest, ThreeFilesReachTheHandlerInTheDropsOrder) {
  target.Attach(window, recorder(calls));
  const std::string second = "D:\\备份\\报告.doc";
  EXPECT_EQ(drop(window, {"C:\\docs\\zeta.txt", second, "C:\\docs\\alpha"}), 1);

  const std::vector<DroppedFile> expected = {
      {3, 1, "C:\\docs\\zeta.txt", "txt"},
      {3, 2, second, "doc"},
      {3, 3, "C:\\docs\\alpha", ""},
  };
  EXPECT_EQ(calls, expected);
  EXPECT_FALSE(sawMessage(window, WM_DROPFILES)) << "the window's own procedure saw the drop";
}

TEST_F(DropTargetTest, ExtensionIsTheTextAfterTheLastDotOfTheFileName) {
  struct Case {
    const char* path;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\a\\report.txt", "txt"},
      {"C:\\a\\archive.tar.gz", "gz"},
      {"C:\\a\\noext", ""},
      {"C:\\a\\name.", ""},
      {"C:\\a\\.profile", "profile"},
      {"C:\\v1.2\\readme", ""},  // a dot in a folder name is no extension
      {"C:\\备份\\资料.文档", "文档"},
      {"relative.ini", "ini"},
  };
  target.Attach(window, recorder(calls));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    calls.clear();
    drop(window, {c.path});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].path, c.path);
    EXPECT_EQ(calls[0].extension, c.extension);
  }
}

TEST_F(DropTargetTest, DroppedFolderArrivesLikeAFile) {
  TempDir temp;
  const std::string folder = temp.file("收件 箱");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  target.Attach(window, recorder(calls));
  drop(window, {folder});
  EXPECT_EQ(calls, (std::vector<DroppedFile>{{1, 1, folder, ""}}));
}

TEST_F(DropTargetTest, PathsLongerThan260BytesArriveWhole) {
  struct Case {
    const char* name;
    std::string path;
    bool wide;
  };
  const std::string gbkName = std::string("C:\\") + [] {
    std::string s;
    for (int i = 0; i < 150; ++i) s += "档";  // 300 bytes in 150 characters
    return s;
  }() + ".txt";
  const Case cases[] = {
      {"260 bytes", "C:\\" + std::string(253, 'a') + ".txt", false},
      {"300 bytes", "C:\\" + std::string(293, 'b') + ".txt", false},
      {"4000 bytes", "\\\\?\\C:\\" + std::string(3989, 'c') + ".log", false},
      {"double-byte, ANSI drop", gbkName, false},
      {"double-byte, wide drop", gbkName, true},
      {"1000 bytes, wide drop", "C:\\" + std::string(993, 'd') + ".txt", true},
  };
  target.Attach(window, recorder(calls));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    drop(window, {c.path, "C:\\short.txt"}, c.wide);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].path.size(), c.path.size());
    EXPECT_EQ(calls[0].path, c.path);
    EXPECT_EQ(calls[1].path, "C:\\short.txt");
  }
}

TEST_F(DropTargetTest, OtherMessagesReachThePreviousProcedureUnchanged) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {"mouse", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 34)},
      {"paint", WM_PAINT, 0, 0},
      {"close", WM_CLOSE, 0, 0},
      {"private", WM_USER + 5, static_cast<WPARAM>(0xABCDEF), static_cast<LPARAM>(-7)},
  };
  target.Attach(window, recorder(calls));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen.clear();
    EXPECT_EQ(SendMessageA(window, c.message, c.wParam, c.lParam), answerTo(c.message));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].window, window);
    EXPECT_EQ(seen[0].message, c.message);
    EXPECT_EQ(seen[0].wParam, c.wParam);
    EXPECT_EQ(seen[0].lParam, c.lParam);
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(calls.empty());
}

TEST_F(DropTargetTest, AttachingTwiceKeepsOneRecordAndTheFirstHandler) {
  std::vector<DroppedFile> secondCalls;
  target.Attach(window, recorder(calls));
  const LONG_PTR procedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
  target.Attach(window, recorder(secondCalls));
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), procedure);

  drop(window, {"C:\\one.txt"});
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_TRUE(secondCalls.empty());

  EXPECT_EQ(target.Detach(window), 1);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ownProcedure));
  EXPECT_EQ(target.Detach(window), 0);
}

TEST_F(DropTargetTest, EachWindowKeepsItsHandlerWhenAnotherIsDetached) {
  HWND other = createWindow();
  ASSERT_NE(other, nullptr);
  std::vector<DroppedFile> otherCalls;
  target.Attach(window, recorder(calls));
  target.Attach(other, recorder(otherCalls));

  drop(other, {"C:\\to-other.txt"});
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(otherCalls.size(), 1u);

  EXPECT_EQ(target.Detach(window), 1);
  drop(other, {"C:\\again.txt"});
  ASSERT_EQ(otherCalls.size(), 2u);
  EXPECT_EQ(otherCalls[1].path, "C:\\again.txt");
  EXPECT_EQ(SendMessageA(other, WM_USER + 5, 0, 0), answerTo(WM_USER + 5));

  EXPECT_EQ(target.Detach(other), 1);
  DestroyWindow(other);
}

TEST_F(DropTargetTest, CopiesAndOtherObjectsShareOneList) {
  {
    DropTarget first;
    first.Attach(window, recorder(calls));
  }  // destroying an object leaves the attachment in place
  DropTarget second;
  drop(window, {"C:\\kept.txt"});
  EXPECT_EQ(calls.size(), 1u);
  DropTarget copy(second);
  EXPECT_EQ(copy.Detach(window), 1);
  EXPECT_EQ(second.Detach(window), 0);
}

TEST_F(DropTargetTest, ThrowingHandlerEndsTheDropWithoutEscaping) {
  target.Attach(window, [this](std::int32_t count, std::int32_t index, const std::string& path,
                               const std::string& extension) -> std::int32_t {
    calls.push_back({count, index, path, extension});
    if (index == 2) throw std::runtime_error("handler failed");
    return 0;
  });
  EXPECT_EQ(drop(window, {"C:\\1.txt", "C:\\2.txt", "C:\\3.txt"}), 1);
  EXPECT_EQ(calls.size(), 2u);
  // The window goes on working, drops included.
  EXPECT_EQ(SendMessageA(window, WM_USER + 5, 0, 0), answerTo(WM_USER + 5));
  calls.clear();
  drop(window, {"C:\\1.txt"});
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(DropTargetTest, DestroyedWindowLeavesTheList) {
  target.Attach(window, recorder(calls));
  ASSERT_TRUE(DestroyWindow(window));
  // Its own procedure still saw the end of the window.
  EXPECT_TRUE(sawMessage(window, WM_DESTROY));
  EXPECT_TRUE(sawMessage(window, WM_NCDESTROY));
  EXPECT_EQ(target.Detach(window), 0);
  window = nullptr;
}

}  // namespace

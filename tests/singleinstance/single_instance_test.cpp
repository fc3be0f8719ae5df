// One copy of the program at a time: the named mutex, and the second start
// asking the first one's window to come to the front, across two processes.
#include "win32/single_instance_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/unique_handle.h"

namespace {

const char kTestName[] = "Local\\禾岚·栖卷.single-instance-test";
const char kTestClass[] = "QijuanSingleInstanceTestWindow";

TEST(SingleInstance, SecondAcquireFailsWhileTheFirstHoldsIt) {
  {
    SingleInstance first(kTestName);
    SingleInstance second(kTestName);
    EXPECT_TRUE(first.acquire());
    EXPECT_TRUE(first.acquire()) << "asking again keeps what it holds";
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.acquire());
  }
  // Released with its owner: the next start runs.
  SingleInstance later(kTestName);
  EXPECT_TRUE(later.acquire());
}

TEST(SingleInstance, TheChineseNameReachesTheSystemAsItsCharacters) {
  SingleInstance instance(kTestName);
  ASSERT_TRUE(instance.acquire());
  UniqueKernelHandle byWideName(
      OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\\u79BE\u5C9A\u00B7\u6816\u5377.single-instance-test"));
  EXPECT_TRUE(byWideName);
}

// A window of the class a second start looks for; it counts the
// bring-to-front requests it is sent.
int bringToFrontRequests = 0;
LRESULT CALLBACK testWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == bringToFrontMessage()) {
    ++bringToFrontRequests;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND createTestWindow() {
  static const bool registered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = testWindowProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTestClass;
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) return nullptr;
  // Hidden, as the main window is while it watches from the tray.
  return CreateWindowExA(0, kTestClass, "running copy", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void pumpFor(DWORD ms, const std::function<bool()>& done) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  while (!done() && GetTickCount64() < deadline) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
}

TEST(ActivateRunningInstance, PostsTheRegisteredMessageToTheWindowOfTheClass) {
  HWND window = createTestWindow();
  ASSERT_NE(window, nullptr);
  bringToFrontRequests = 0;
  EXPECT_TRUE(activateRunningInstance(kTestClass, 0));
  pumpFor(2000, [] { return bringToFrontRequests > 0; });
  EXPECT_EQ(bringToFrontRequests, 1);
  EXPECT_NE(bringToFrontMessage(), 0u);
  EXPECT_EQ(bringToFrontMessage(), RegisterWindowMessageA("Qijuan.BringToFront"));
  DestroyWindow(window);
}

TEST(ActivateRunningInstance, FindsNoWindowAndSaysSo) {
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(activateRunningInstance("QijuanNoSuchWindowClass", 200));
  EXPECT_GE(GetTickCount64() - start, 150u) << "gave up before its wait was over";
}

TEST(SecondStart, RefusesToRunAndBringsTheFirstCopyForward) {
  SingleInstance first(kTestName);
  ASSERT_TRUE(first.acquire());
  HWND window = createTestWindow();
  ASSERT_NE(window, nullptr);
  bringToFrontRequests = 0;

  // second_start.exe sits beside this test binary.
  char self[MAX_PATH * 4] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string helper = self;
  helper = helper.substr(0, helper.find_last_of('\\') + 1) + "second_start.exe";
  std::string commandLine =
      "\"" + helper + "\" \"" + kTestName + "\" " + kTestClass;
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  ASSERT_TRUE(CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started))
      << helper;
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);

  pumpFor(20000, [&] {
    return bringToFrontRequests > 0 && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
  });
  EXPECT_EQ(bringToFrontRequests, 1);
  DWORD exitCode = 0xcccccccc;
  ASSERT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
  GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u) << "1: the name was free; 2: no window found";
  DestroyWindow(window);
}

}  // namespace

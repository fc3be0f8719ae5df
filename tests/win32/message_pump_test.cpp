#include "win32/message_pump.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

constexpr UINT kTestMessage = WM_APP + 1;

std::vector<WPARAM>* received = nullptr;

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTestMessage && received) {
    received->push_back(wp);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class MessagePumpTest : public testing::Test {
 protected:
  void SetUp() override {
    received = &log;
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QijuanPumpTest";
    RegisterClassA(&wc);
    window = CreateWindowA("QijuanPumpTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    received = nullptr;
  }

  std::vector<WPARAM> log;
  HWND window = nullptr;
  MessagePump pump;
};

TEST_F(MessagePumpTest, DispatchesEveryWaitingMessageInOrder) {
  for (WPARAM i = 1; i <= 3; ++i) PostMessageA(window, kTestMessage, i, 0);
  pump.handlePendingEvents();
  EXPECT_EQ(log, (std::vector<WPARAM>{1, 2, 3}));
  pump.handlePendingEvents();  // nothing left: returns at once
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(MessagePumpTest, QuitIsLeftForTheOuterLoop) {
  PostMessageA(window, kTestMessage, 1, 0);
  PostQuitMessage(7);
  pump.handlePendingEvents();
  EXPECT_EQ(log, std::vector<WPARAM>{1});
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace

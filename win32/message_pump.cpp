#include "win32/message_pump.h"

#include <windows.h>

void MessagePump::handlePendingEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Taken from the queue by this inner loop; post it again for the
      // outer one, and stop here, or the loop would take it again at once.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void MessagePump::sleepMs(unsigned milliseconds) { Sleep(milliseconds); }

#include "win32/single_instance_win.h"

UINT bringToFrontMessage() {
  static const UINT message = RegisterWindowMessageA(kBringToFrontMessageName);
  return message;
}

bool SingleInstance::acquire() {
  if (mutex_) return true;
  UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, name_.c_str()));
  const DWORD error = GetLastError();
  if (!mutex) {
    // No mutex at all (the name is taken by another kind of object, or the
    // system is out of resources): better to run than to refuse to start.
    return true;
  }
  if (error == ERROR_ALREADY_EXISTS) return false;
  mutex_ = std::move(mutex);
  return true;
}

bool activateRunningInstance(const char* windowClass, DWORD waitMs) {
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  for (;;) {
    HWND window = FindWindowA(windowClass, nullptr);
    if (window) {
      // This process was just started by the user and may set the
      // foreground window; hand that right to the running copy.
      DWORD processId = 0;
      GetWindowThreadProcessId(window, &processId);
      AllowSetForegroundWindow(processId);
      return PostMessageA(window, bringToFrontMessage(), 0, 0) != FALSE;
    }
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

#include "win32/message_box_win.h"

#include <utility>

namespace {
MessageBoxHandler& currentHandler() {
  static MessageBoxHandler handler;
  return handler;
}
}  // namespace

int showMessageBox(const std::string& text, const std::string& title, UINT flags) {
  // A copy: the handler may replace itself while it answers.
  const MessageBoxHandler handler = currentHandler();
  if (handler) return handler(text, title, flags);
  // Without an owner a box blocks nothing by itself; task-modal disables the
  // thread's windows until it is answered, so no other command starts meanwhile.
  if ((flags & MB_MODEMASK) == 0) flags |= MB_TASKMODAL;
  return MessageBoxA(nullptr, text.c_str(), title.c_str(), flags);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(currentHandler(), std::move(handler));
}

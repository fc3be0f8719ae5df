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
  return MessageBoxA(nullptr, text.c_str(), title.c_str(), flags);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(currentHandler(), std::move(handler));
}

#pragma once
// Every modal message box of the program goes through showMessageBox, so a
// test can answer a box instead of a user (a real one would block the test).
#include <windows.h>

#include <functional>
#include <utility>
#include <string>

// Answers a box: text, title and MessageBoxA flags in, the button's id out.
using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& title, UINT flags)>;

// Shows the box without an owner window (MessageBoxA(nullptr, ...)), task-
// modal unless the flags name a mode, or hands it to the handler that is set.
int showMessageBox(const std::string& text, const std::string& title, UINT flags);

// Sets the handler (an empty one brings the real box back); returns the
// one it replaces.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// For tests: answers every box with the handler while it lives, then puts
// the previous handler back.
class ScopedMessageBoxHandler {
 public:
  explicit ScopedMessageBoxHandler(MessageBoxHandler handler)
      : previous_(setMessageBoxHandler(std::move(handler))) {}
  ~ScopedMessageBoxHandler() { setMessageBoxHandler(std::move(previous_)); }
  ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
  ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

 private:
  MessageBoxHandler previous_;
};

#pragma once
// Lets a window accept files dragged onto it from Explorer. Attaching a
// window subclasses it: its extended style gains WS_EX_ACCEPTFILES and the
// drop procedure goes in front of its window procedure, hands every dropped
// file to the window's handler and passes all other messages on unchanged.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// Called once per dropped file, in the drop's own order: the number of files
// in the drop, this file's 1-based index, its full path and its extension
// (the text after the last "." of the file name; empty when it has none).
// The result is not read.
using DropFileHandler = std::function<std::int32_t(
    std::int32_t count, std::int32_t index, const std::string& path, const std::string& extension)>;

// One attached window. The records live in one list for the whole process.
struct DropAttachment {
  HWND window = nullptr;
  DropFileHandler handler;
  LONG savedExtendedStyle = 0;
  WNDPROC savedWindowProcedure = nullptr;
};

// Carries nothing of its own: every DropTarget, and every copy of one, works
// on the same process-wide attachment list, and destroying one leaves the
// list as it is.
class DropTarget {
 public:
  DropTarget() = default;
  DropTarget(const DropTarget&) = default;
  DropTarget& operator=(const DropTarget&) = default;
  virtual ~DropTarget() = default;

  // A window that is already attached keeps its record and its handler.
  virtual void Attach(HWND window, DropFileHandler handler);
  // 1 when the window was attached and now has its window procedure and
  // extended style back; 0 when it was not attached.
  virtual int Detach(HWND window);
};

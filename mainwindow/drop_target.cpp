#include "mainwindow/drop_target.h"

#include <shellapi.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "common/text.h"
#include "win32/unique_handle.h"

namespace {

// Shared by every DropTarget; lives until the program ends. Releasing it
// leaves the windows as they are.
std::vector<DropAttachment>& attachments() {
  static std::vector<DropAttachment> list;
  return list;
}

// 1-based position of the window's record; 0 when it has none.
std::size_t positionOf(HWND window) {
  const std::vector<DropAttachment>& list = attachments();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].window == window) return i + 1;
  }
  return 0;
}

void removeRecord(HWND window) {
  const std::size_t position = positionOf(window);
  if (position != 0) attachments().erase(attachments().begin() + (position - 1));
}

// Taken from the file name, so that a "." in a folder name does not count.
std::string extensionOf(const std::string& path) {
  const std::string name = text::fileNameOf(path);
  const std::size_t dot = text::findLast(name, ".");
  return dot == text::npos ? std::string() : name.substr(dot + 1);
}

// The path of file `index` of the drop, whatever its length: the first call
// asks for the length, the second fills a buffer of that size.
std::string droppedPath(HDROP drop, UINT index) {
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  if (length == 0) return std::string();
  std::string path(static_cast<std::size_t>(length) + 1, '\0');
  const UINT copied = DragQueryFileA(drop, index, path.data(), length + 1);
  path.resize(copied < length ? copied : length);
  return path;
}

// The handler is a copy: it may attach or detach windows while it runs.
void deliverFiles(HDROP drop, const DropFileHandler handler) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const std::string path = droppedPath(drop, i);
    // Skipped without renumbering the files after it.
    if (path.empty()) continue;
    if (handler) {
      handler(static_cast<std::int32_t>(count), static_cast<std::int32_t>(i + 1), path,
              extensionOf(path));
    }
  }
}

LRESULT CALLBACK dropProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    const std::size_t position = positionOf(window);
    if (position == 0) return 1;
    const DropAttachment& record = attachments()[position - 1];
    if (message == WM_DROPFILES) {
      // Owned before anything else runs, so it is released on every path.
      UniqueDrop drop(reinterpret_cast<HDROP>(wParam));
      deliverFiles(drop.get(), record.handler);
      return 1;
    }
    const WNDPROC previous = record.savedWindowProcedure;
    const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
    // A destroyed window's handle may be given to a new window later; its
    // record must not be found for that one.
    if (message == WM_NCDESTROY) removeRecord(window);
    return result;
  } catch (...) {
    // A handler that throws ends the drop; nothing unwinds through the system.
    return 1;
  }
}

}  // namespace

void DropTarget::Attach(HWND window, DropFileHandler handler) {
  if (positionOf(window) != 0 || !IsWindow(window)) return;
  // Room for the record first: once the drop procedure is in place, the
  // record has to be there too.
  attachments().reserve(attachments().size() + 1);

  const LONG savedStyle = GetWindowLongA(window, GWL_EXSTYLE);
  SetWindowLongA(window, GWL_EXSTYLE, savedStyle | WS_EX_ACCEPTFILES);

  SetLastError(0);
  const LONG_PTR previous =
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dropProcedure));
  if (previous == 0 && GetLastError() != 0) {
    // Not ours to subclass (another process's window): leave it as it was.
    SetWindowLongA(window, GWL_EXSTYLE, savedStyle);
    return;
  }
  DropAttachment record;
  record.window = window;
  record.handler = std::move(handler);
  record.savedExtendedStyle = savedStyle;
  record.savedWindowProcedure = reinterpret_cast<WNDPROC>(previous);
  attachments().push_back(std::move(record));
}

int DropTarget::Detach(HWND window) {
  const std::size_t position = positionOf(window);
  if (position == 0) return 0;
  // Copies: restoring the style sends messages to the window, whose
  // procedure may change the list.
  const WNDPROC savedProcedure = attachments()[position - 1].savedWindowProcedure;
  const LONG savedStyle = attachments()[position - 1].savedExtendedStyle;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProcedure));
  SetWindowLongA(window, GWL_EXSTYLE, savedStyle);
  removeRecord(window);
  return 1;
}

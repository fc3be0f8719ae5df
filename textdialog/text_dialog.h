#pragma once
// A modal, resizable window that presents a multi-line text read-only under
// a title, with one close button. Only one can be open at a time.
#include <windows.h>

#include <string>

#include "win32/unique_handle.h"

class TextDialog {
 public:
  // Control ids of the form.
  enum Control : int {
    编辑框提示 = 1001,  // the prompt line, empty
    编辑框正文 = 1002,  // the content
    外形框 = 1003,      // frame of the tool row, hidden in read-only presentation
    按钮确定 = IDOK,    // hidden in read-only presentation
    按钮取消 = IDCANCEL,  // reads "关闭(&G)" in read-only presentation
  };

  // The layout's margin, in pixels.
  static constexpr int kMargin = 5;
  // The window's outer size as designed, in pixels.
  static constexpr int kDesignWidth = 495;
  static constexpr int kDesignHeight = 393;

  // Shows the text read-only and waits until the dialog is closed; owned by
  // `owner` when that window exists. An empty title gives "禾岚：". Returns
  // false: the read-only dialog has nothing to confirm. While any TextDialog
  // is open it returns false at once and changes nothing.
  bool Show(const std::string& content, const std::string& title, HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND dialog);
  void OnSize(int clientWidth, int clientHeight);
  bool OnCommand(int id);
  INT_PTR OnCtlColorStatic(HDC dc, HWND control);
  void OnNcDestroy();

  void createControls();
  void presentReadOnly();
  void centreOnScreen();
  void close();
  HWND item(Control id) const { return GetDlgItem(dialog_, id); }

  // One open dialog in the whole process, whichever object shows it.
  static bool anyOpen_;

  std::string text_;
  std::string title_;
  HWND owner_ = nullptr;
  bool confirmed_ = false;
  int margin_ = kMargin;
  HWND dialog_ = nullptr;
  UniqueGdiObject boldFont_;
};

// The program's text dialog: shows `content` read-only under `title`, owned
// by `owner`, and returns false when it is closed (or at once, while a text
// dialog is already open).
bool showTextDialog(const std::string& content, const std::string& title, HWND owner);

#pragma once
// The backup list 列表框 on the real control: a report-style list view with
// a check box per row (the item's watch switch), the row icons, whole-row and
// multiple selection, and the seven columns of an item. The owner window
// forwards its WM_NOTIFY and WM_CONTEXTMENU here; events go out through the
// callbacks below.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/list_view.h"
#include "win32/unique_handle.h"

class BackupListView : public ListView {
 public:
  // Where the list sits in the main window, in client pixels.
  static constexpr int kLeft = 8;
  static constexpr int kTop = 96;
  static constexpr int kWidth = 720;
  static constexpr int kHeight = 320;

  BackupListView() = default;
  // Destroys the control if it is still there: it draws with the font and
  // the images held here.
  ~BackupListView() override;
  BackupListView(const BackupListView&) = delete;
  BackupListView& operator=(const BackupListView&) = delete;

  // Creates the empty control as child `id` of parent. False when it already
  // exists or cannot be made (GetLastError tells why).
  bool Create(HWND parent, int id, int x = kLeft, int y = kTop, int width = kWidth,
              int height = kHeight);
  HWND hwnd() const { return hwnd_; }

  int rowCount() const override;
  int appendRow(const std::string& caption) override;
  std::string cellText(int row, int column) const override;
  void setCellText(int row, int column, const std::string& text) override;
  bool isTicked(int row) const override;
  void setTicked(int row, bool ticked) override;
  void setIcon(int row, int image) override;
  void deleteRow(int row) override;
  void deleteAllRows() override;
  std::vector<int> selectedRows() const override;
  void scrollIntoView(int row) override;
  void focus() override;

  // "全打勾" / "全不打勾": every row ticked or not; nothing else changes.
  void tickAll(bool ticked);

  // The owner's WM_NOTIFY. True when it was this control's and was handled;
  // result is then what the owner's window procedure returns.
  bool OnNotify(const NMHDR* header, LRESULT& result);
  // The owner's WM_CONTEXTMENU: from is its wParam, screen its lParam as a
  // point ((-1, -1) when it came from the keyboard). True when it was this
  // control's.
  bool OnContextMenu(HWND from, POINT screen);

  // Shows a popup menu at a screen point; its commands reach the parent as
  // WM_COMMAND. False when the menu could not be shown.
  bool ShowPopupMenu(HMENU menu, POINT screen) const;

  // The lowest selected row, when a row has become the focused row (by
  // click or keyboard) or the focused row has become selected, and some row
  // is selected.
  std::function<void(int row)> onCurrentRowChanged;
  // A right click on a row or on the empty area, at the mouse (screen).
  std::function<void(POINT screen)> onContextMenu;

 private:
  bool validRow(int row) const { return row >= 0 && row < rowCount(); }
  void OnItemChanged(const NMLISTVIEW& change);
  POINT keyboardMenuPoint() const;

  UniqueGdiObject font_;
  UniqueImageList rowImages_;
  // The check-box images the control makes for itself; with shared image
  // lists it leaves them to us.
  UniqueImageList checkImages_;
  HWND hwnd_ = nullptr;
};

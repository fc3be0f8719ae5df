#include "backuplist/backup_list_view.h"

#include <cstring>

#include "backuplist/row_icons.h"

namespace {

struct ColumnSpec {
  const char* title;
  int width;
};

// The columns of an item, in ListView::Column order. The source path is
// carried by every row but not shown.
constexpr ColumnSpec kColumns[ListView::kColumnCount] = {
    {"文件名", 250},   {"备份序号", 80},   {"最后时间", 150}, {"最后大小", 80},
    {"新增大小", 80}, {"备份到路径", 600}, {"文件路径", 0},
};

// The check-box style keeps a row's tick as its state image: 1 is the empty
// box, 2 the ticked one.
constexpr UINT kUntickedImage = 1;
constexpr UINT kTickedImage = 2;

// -14: an em height of 14 pixels. It is 10.5 pt (五号) at 96 dpi, and 宋体
// carries a hand-tuned bitmap strike for exactly that em size; a positive 14
// would ask for a 14-pixel cell and get a smaller, scaled outline instead.
constexpr int kFontHeight = -14;

constexpr DWORD kExtendedStyles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;

}  // namespace

BackupListView::~BackupListView() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool BackupListView::Create(HWND parent, int id, int x, int y, int width, int height) {
  if (hwnd_) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  // No LVS_SINGLESEL, LVS_EDITLABELS or sort style: several rows can be
  // selected, captions are not edited in place and rows keep their order.
  // LVS_SHAREIMAGELISTS because the image lists belong to this object.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                      LVS_SHAREIMAGELISTS;
  HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, x, y, width, height,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return false;
  hwnd_ = hwnd;

  SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyles, kExtendedStyles);
  checkImages_.reset(
      reinterpret_cast<HIMAGELIST>(SendMessageA(hwnd_, LVM_GETIMAGELIST, LVSIL_STATE, 0)));

  SendMessageA(hwnd_, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageA(hwnd_, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));

  font_.reset(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, "宋体"));
  if (font_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  rowImages_ = row_icons::makeImageList();
  SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rowImages_.get()));

  for (int i = 0; i < kColumnCount; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[i].width;
    column.pszText = const_cast<char*>(kColumns[i].title);
    column.iSubItem = i;
    if (SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column)) != i) {
      const DWORD error = GetLastError();
      DestroyWindow(hwnd_);
      hwnd_ = nullptr;
      SetLastError(error);
      return false;
    }
  }
  return true;
}

int BackupListView::rowCount() const {
  return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}

int BackupListView::appendRow(const std::string& caption) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
  item.iItem = rowCount();
  item.pszText = const_cast<char*>(caption.c_str());
  item.iImage = row_icons::kOrdinary;
  item.state = INDEXTOSTATEIMAGEMASK(kUntickedImage);
  item.stateMask = LVIS_STATEIMAGEMASK;
  return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

std::string BackupListView::cellText(int row, int column) const {
  if (!validRow(row) || column < 0 || column >= kColumnCount) return std::string();
  // The control cannot say how long a text is, so the buffer grows until
  // the text leaves room to spare. Two bytes, not one: a copy cut short may
  // stop before a double-byte character that no longer fits.
  std::string buffer;
  for (std::size_t size = 256;; size *= 2) {
    // One byte more than offered: a copy cut short may come without a
    // terminator (Wine's does, and then counts its length past the end).
    buffer.assign(size + 1, '\0');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    SendMessageA(hwnd_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    // The control may hand back a text of its own instead of copying.
    const char* text = item.pszText ? item.pszText : "";
    if (text != buffer.data()) return std::string(text);
    const std::size_t length = strnlen(buffer.data(), size);
    if (length + 2 < size) return std::string(buffer.data(), length);
  }
}

void BackupListView::setCellText(int row, int column, const std::string& text) {
  if (column < 0 || column >= kColumnCount) return;
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(hwnd_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

bool BackupListView::isTicked(int row) const {
  const UINT state =
      static_cast<UINT>(SendMessageA(hwnd_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(kTickedImage);
}

void BackupListView::setTicked(int row, bool ticked) {
  // -1 would mean every row to the control.
  if (row < 0) return;
  LVITEMA item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(ticked ? kTickedImage : kUntickedImage);
  SendMessageA(hwnd_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void BackupListView::setIcon(int row, int image) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void BackupListView::deleteRow(int row) { SendMessageA(hwnd_, LVM_DELETEITEM, row, 0); }

void BackupListView::deleteAllRows() { SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0); }

std::vector<int> BackupListView::selectedRows() const {
  std::vector<int> rows;
  // The search starts after the row given, so the rows come in ascending order.
  for (int row = -1;;) {
    const int next = static_cast<int>(
        SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (next <= row) break;
    rows.push_back(next);
    row = next;
  }
  return rows;
}

void BackupListView::scrollIntoView(int row) {
  SendMessageA(hwnd_, LVM_ENSUREVISIBLE, row, FALSE);
}

void BackupListView::focus() { SetFocus(hwnd_); }

void BackupListView::tickAll(bool ticked) {
  const int count = rowCount();
  for (int row = 0; row < count; ++row) setTicked(row, ticked);
}

bool BackupListView::OnNotify(const NMHDR* header, LRESULT& result) {
  if (!header || !hwnd_ || header->hwndFrom != hwnd_) return false;
  switch (header->code) {
    case LVN_ITEMCHANGED:
      OnItemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
      result = 0;
      return true;
    case LVN_COLUMNCLICK:
      // The rows keep the order of the items: a header click sorts nothing.
      result = 0;
      return true;
    default:
      return false;
  }
}

void BackupListView::OnItemChanged(const NMLISTVIEW& change) {
  if (change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return;
  const auto gained = [&change](UINT bit) {
    return (change.uNewState & bit) && !(change.uOldState & bit);
  };
  // A right click gives a row the focus first and selects it afterwards, so
  // the focused row becoming selected counts as well: otherwise the options
  // panel would keep a row that is no longer selected.
  const bool focusedNow = change.uNewState & LVIS_FOCUSED;
  if (!gained(LVIS_FOCUSED) && !(focusedNow && gained(LVIS_SELECTED))) return;
  if (!onCurrentRowChanged) return;
  // The lowest selected row, not necessarily the one that took the focus:
  // with several rows selected the options panel shows the first of them.
  const int lowest =
      static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (lowest >= 0) onCurrentRowChanged(lowest);
}

bool BackupListView::OnContextMenu(HWND from, POINT screen) {
  if (!hwnd_ || from != hwnd_) return false;
  if (screen.x == -1 && screen.y == -1) screen = keyboardMenuPoint();
  if (onContextMenu) onContextMenu(screen);
  return true;
}

// Shift+F10 or the menu key: under the focused row when it can be seen,
// else at the list's top left corner.
POINT BackupListView::keyboardMenuPoint() const {
  POINT point = {0, 0};
  const int focused =
      static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  RECT client = {};
  GetClientRect(hwnd_, &client);
  RECT label = {};
  label.left = LVIR_LABEL;
  if (focused >= 0 &&
      SendMessageA(hwnd_, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&label)) &&
      label.bottom > client.top && label.bottom < client.bottom) {
    point = {label.left, label.bottom};
  }
  ClientToScreen(hwnd_, &point);
  return point;
}

bool BackupListView::ShowPopupMenu(HMENU menu, POINT screen) const {
  if (!hwnd_ || !menu) return false;
  return TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y,
                        0, GetParent(hwnd_), nullptr) != FALSE;
}

#include "backuplist/backup_list_view.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kListId = 1001;
constexpr char kParentClass[] = "QijuanListTestParent";

// A top-level window that hands its list's notifications and context menu
// requests to the view, as the main window does.
LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<BackupListView*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (view && message == WM_NOTIFY) {
    LRESULT result = 0;
    if (view->OnNotify(reinterpret_cast<const NMHDR*>(lParam), result)) return result;
  }
  if (view && message == WM_CONTEXTMENU) {
    const POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (view->OnContextMenu(reinterpret_cast<HWND>(wParam), screen)) return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void registerParentClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = parentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kParentClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  ASSERT_TRUE(registered);
}

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// One parent window for all the tests: without a window manager (Xvfb)
// Wine can wait two seconds each time a managed top-level window goes away.
// Each test gets a fresh view and control inside it.
class BackupListViewTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    registerParentClass();
    parent_ = CreateWindowExA(0, kParentClass, "list test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                              20, 800, 520, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  static void TearDownTestSuite() {
    if (parent_) DestroyWindow(parent_);
    parent_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(parent_, nullptr);
    view_ = std::make_unique<BackupListView>();
    SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view_.get()));
    ASSERT_TRUE(view_->Create(parent_, kListId));
    list_ = view_->hwnd();
    view_->onCurrentRowChanged = [this](int row) { currentRows_.push_back(row); };
    view_->onContextMenu = [this](POINT screen) { menuPoints_.push_back(screen); };
    pumpMessages();
  }
  void TearDown() override {
    // The view takes its control with it.
    view_.reset();
    EXPECT_FALSE(IsWindow(list_));
    SetWindowLongPtrA(parent_, GWLP_USERDATA, 0);
    pumpMessages();
  }

  void addRows(int count) {
    for (int i = 0; i < count; ++i) view_->appendRow("row" + std::to_string(i));
  }
  void setState(int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  UINT stateImage(int row) {
    return (static_cast<UINT>(SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK)) &
            LVIS_STATEIMAGEMASK) >> 12;
  }
  int iconOf(int row) {
    LVITEMA item;
    std::memset(&item, 0xcc, sizeof item);
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = 0;
    EXPECT_TRUE(SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    return item.iImage;
  }
  // The middle of a row's caption, in the list's client coordinates.
  POINT rowPoint(int row) {
    RECT rect = {};
    rect.left = LVIR_LABEL;
    EXPECT_TRUE(SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect)));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  void click(int row, WPARAM keys = 0) {
    const POINT at = rowPoint(row);
    SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(at.x, at.y));
    SendMessageA(list_, WM_LBUTTONUP, keys, MAKELPARAM(at.x, at.y));
  }
  // The control follows a right button press until the button comes up, and
  // reports the menu at the mouse position of that message: the mouse is
  // moved there and the release is queued before the press.
  POINT rightClick(POINT client) {
    POINT screen = client;
    ClientToScreen(list_, &screen);
    SetCursorPos(screen.x, screen.y);
    GetCursorPos(&screen);
    PostMessageA(list_, WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
    pumpMessages();
    return screen;
  }
  std::vector<std::string> captions() {
    std::vector<std::string> out;
    for (int row = 0; row < view_->rowCount(); ++row) out.push_back(view_->cellText(row, 0));
    return out;
  }

  static HWND parent_;
  HWND list_ = nullptr;
  std::unique_ptr<BackupListView> view_;
  std::vector<int> currentRows_;
  std::vector<POINT> menuPoints_;
};

HWND BackupListViewTest::parent_ = nullptr;

TEST_F(BackupListViewTest, IsAReportViewWithMultipleSelectionAndNoEditing) {
  const LONG_PTR style = GetWindowLongPtrA(list_, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_FALSE(style & LVS_SINGLESEL);
  EXPECT_FALSE(style & LVS_EDITLABELS);
  EXPECT_FALSE(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING));
  EXPECT_EQ(SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
            LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(list_, LVM_GETBKCOLOR, 0, 0)), RGB(255, 255, 255));
  EXPECT_EQ(GetDlgItem(parent_, kListId), list_);

  RECT rect = {};
  GetWindowRect(list_, &rect);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 8);
  EXPECT_EQ(rect.top, 96);
  EXPECT_EQ(rect.right - rect.left, 720);
  EXPECT_EQ(rect.bottom - rect.top, 320);
}

TEST_F(BackupListViewTest, UsesSongTi14PixelsHigh) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logFont;
  std::memset(&logFont, 0xcc, sizeof logFont);
  ASSERT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
  EXPECT_STREQ(logFont.lfFaceName, "宋体");
  EXPECT_EQ(logFont.lfHeight, -14);
}

TEST_F(BackupListViewTest, HasTheSevenColumnsOfAnItem) {
  struct Expected {
    const char* title;
    int width;
  };
  const Expected expected[] = {{"文件名", 250},   {"备份序号", 80},   {"最后时间", 150},
                               {"最后大小", 80},  {"新增大小", 80},   {"备份到路径", 600},
                               {"文件路径", 0}};
  HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 7);
  EXPECT_EQ(view_->columnCount(), 7);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(testing::Message() << "column " << i);
    char title[64];
    std::memset(title, 0xcc, sizeof title);
    LVCOLUMNA column;
    std::memset(&column, 0xcc, sizeof column);
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    ASSERT_TRUE(SendMessageA(list_, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(column.pszText, expected[i].title);
    EXPECT_EQ(column.cx, expected[i].width);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_FALSE(column.fmt & (LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT));
  }
}

TEST_F(BackupListViewTest, RowImagesAreTwo24PixelIcons) {
  HIMAGELIST images =
      reinterpret_cast<HIMAGELIST>(SendMessageA(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 2);
  int width = 0, height = 0;
  ASSERT_TRUE(ImageList_GetIconSize(images, &width, &height));
  EXPECT_EQ(width, 24);
  EXPECT_EQ(height, 24);
}

TEST_F(BackupListViewTest, AppendedRowIsUntickedWithItsCaptionAndTheOrdinaryIcon) {
  EXPECT_EQ(view_->appendRow("a.txt"), 0);
  EXPECT_EQ(view_->appendRow("备份.doc"), 1);
  EXPECT_EQ(view_->rowCount(), 2);
  EXPECT_EQ(captions(), (std::vector<std::string>{"a.txt", "备份.doc"}));
  for (int row = 0; row < 2; ++row) {
    EXPECT_FALSE(view_->isTicked(row));
    EXPECT_EQ(stateImage(row), 1u) << "the empty check box";
    EXPECT_EQ(iconOf(row), 0);
    for (int column = 1; column < 7; ++column) EXPECT_EQ(view_->cellText(row, column), "");
  }
}

struct CellTextCase {
  const char* name;
  std::string text;
};

class CellTextTest : public BackupListViewTest,
                     public testing::WithParamInterface<CellTextCase> {};

std::string repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Every column, the hidden one included, gives back the bytes it was given;
// the lengths sit around where a first buffer would end.
TEST_P(CellTextTest, RoundTripsInEveryColumn) {
  addRows(2);
  for (int column = 0; column < 7; ++column) {
    SCOPED_TRACE(testing::Message() << "column " << column);
    view_->setCellText(1, column, GetParam().text);
    EXPECT_EQ(view_->cellText(1, column), GetParam().text);
    EXPECT_EQ(view_->cellText(0, column), column == 0 ? "row0" : "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, CellTextTest,
    testing::Values(CellTextCase{"Empty", ""}, CellTextCase{"Ascii255", std::string(255, 'b')},
                    CellTextCase{"Ascii256", std::string(256, 'c')},
                    CellTextCase{"DoubleByteAcross256", "xx" + repeat("份", 128)},
                    CellTextCase{"DoubleByteOddLength", "x" + repeat("卷", 300)},
                    CellTextCase{"TrailByteBackslash", "D:\\運行\\質料|E:\\備份"},
                    CellTextCase{"TenThousandBytes", repeat("C:\\栖卷\\", 1250)}),
    [](const testing::TestParamInfo<CellTextCase>& info) { return std::string(info.param.name); });

TEST_F(BackupListViewTest, CellOutsideTheListIsEmpty) {
  addRows(1);
  EXPECT_EQ(view_->cellText(1, 0), "");
  EXPECT_EQ(view_->cellText(-1, 0), "");
  EXPECT_EQ(view_->cellText(0, 7), "");
  view_->setCellText(0, 7, "x");
  EXPECT_EQ(view_->cellText(0, 0), "row0");
}

TEST_F(BackupListViewTest, TickIsTheCheckBoxStateImage) {
  addRows(2);
  view_->setTicked(1, true);
  EXPECT_TRUE(view_->isTicked(1));
  EXPECT_EQ(stateImage(1), 2u);
  EXPECT_FALSE(view_->isTicked(0));
  view_->setTicked(1, false);
  EXPECT_FALSE(view_->isTicked(1));
  EXPECT_EQ(stateImage(1), 1u);
}

TEST_F(BackupListViewTest, ClickOnTheCheckBoxTicksTheRow) {
  addRows(1);
  // The state image sits left of the row icon; find it as the control does.
  const POINT middle = rowPoint(0);
  POINT box = {-1, -1};
  for (int x = 0; x < middle.x && box.x < 0; ++x) {
    LVHITTESTINFO hit = {};
    hit.pt = {x, middle.y};
    SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem == 0 && (hit.flags & LVHT_ONITEMSTATEICON)) box = hit.pt;
  }
  ASSERT_GE(box.x, 0) << "no check box on the row";
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  SendMessageA(list_, WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  EXPECT_TRUE(view_->isTicked(0));
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  SendMessageA(list_, WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  EXPECT_FALSE(view_->isTicked(0));
}

TEST_F(BackupListViewTest, SetIconSwitchesBetweenTheTwoImages) {
  addRows(3);
  view_->setIcon(1, 1);
  EXPECT_EQ(iconOf(0), 0);
  EXPECT_EQ(iconOf(1), 1);
  EXPECT_EQ(iconOf(2), 0);
  view_->setIcon(1, 0);
  view_->setIcon(2, 1);
  EXPECT_EQ(iconOf(1), 0);
  EXPECT_EQ(iconOf(2), 1);
}

TEST_F(BackupListViewTest, DeleteRowTakesItsTextAndTickWithIt) {
  addRows(3);
  view_->setTicked(2, true);
  view_->setCellText(2, ListView::kSourcePath, "C:\\row2");
  view_->deleteRow(1);
  EXPECT_EQ(captions(), (std::vector<std::string>{"row0", "row2"}));
  EXPECT_FALSE(view_->isTicked(0));
  EXPECT_TRUE(view_->isTicked(1));
  EXPECT_EQ(view_->cellText(1, ListView::kSourcePath), "C:\\row2");

  view_->deleteAllRows();
  EXPECT_EQ(view_->rowCount(), 0);
  EXPECT_TRUE(view_->selectedRows().empty());
  EXPECT_EQ(view_->appendRow("again"), 0);
}

TEST_F(BackupListViewTest, SelectedRowsComeInAscendingOrder) {
  addRows(8);
  EXPECT_TRUE(view_->selectedRows().empty());
  setState(5, LVIS_SELECTED, LVIS_SELECTED);
  setState(2, LVIS_SELECTED, LVIS_SELECTED);
  setState(7, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(view_->selectedRows(), (std::vector<int>{2, 5, 7}));
}

TEST_F(BackupListViewTest, ScrollsARowIntoViewAndTakesTheFocus) {
  addRows(40);
  EXPECT_FALSE(SendMessageA(list_, LVM_ISITEMVISIBLE, 39, 0));
  view_->scrollIntoView(39);
  EXPECT_TRUE(SendMessageA(list_, LVM_ISITEMVISIBLE, 39, 0));
  EXPECT_GT(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0), 0);

  SetFocus(parent_);
  view_->focus();
  EXPECT_EQ(GetFocus(), list_);
}

TEST_F(BackupListViewTest, TickAllTicksEveryRowAndTouchesNothingElse) {
  addRows(4);
  view_->setTicked(1, true);
  view_->setCellText(2, ListView::kSequence, "7");
  setState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  currentRows_.clear();

  view_->tickAll(true);
  for (int row = 0; row < 4; ++row) EXPECT_TRUE(view_->isTicked(row)) << row;
  view_->tickAll(false);
  for (int row = 0; row < 4; ++row) EXPECT_FALSE(view_->isTicked(row)) << row;

  EXPECT_EQ(view_->selectedRows(), std::vector<int>{2});
  EXPECT_EQ(view_->cellText(2, ListView::kSequence), "7");
  EXPECT_EQ(captions(), (std::vector<std::string>{"row0", "row1", "row2", "row3"}));
  EXPECT_TRUE(currentRows_.empty());
}

TEST_F(BackupListViewTest, TickAllOnAnEmptyListDoesNothing) {
  view_->tickAll(true);
  view_->tickAll(false);
  EXPECT_EQ(view_->rowCount(), 0);
  EXPECT_TRUE(currentRows_.empty());
}

TEST_F(BackupListViewTest, ClickingARowMakesItCurrent) {
  addRows(6);
  click(3);
  EXPECT_EQ(currentRows_, std::vector<int>{3});
  EXPECT_EQ(view_->selectedRows(), std::vector<int>{3});
  click(1);
  EXPECT_EQ(currentRows_, (std::vector<int>{3, 1}));
}

TEST_F(BackupListViewTest, ArrowKeyMovesTheCurrentRow) {
  addRows(4);
  click(0);
  SendMessageA(list_, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(list_, WM_KEYUP, VK_DOWN, 0);
  ASSERT_FALSE(currentRows_.empty());
  EXPECT_EQ(currentRows_.back(), 1);
}

struct TwoClicks {
  const char* name;
  int first;
  int second;  // clicked with Ctrl held, so both stay selected
};

class LowestSelectedRowTest : public BackupListViewTest,
                              public testing::WithParamInterface<TwoClicks> {};

TEST_P(LowestSelectedRowTest, IsHandedOnWhicheverWasClickedLast) {
  addRows(8);
  click(GetParam().first);
  click(GetParam().second, MK_CONTROL);
  ASSERT_EQ(view_->selectedRows(), (std::vector<int>{2, 5}));
  ASSERT_FALSE(currentRows_.empty());
  EXPECT_EQ(currentRows_.back(), 2);
}

INSTANTIATE_TEST_SUITE_P(Orders, LowestSelectedRowTest,
                         testing::Values(TwoClicks{"TwoThenFive", 2, 5},
                                         TwoClicks{"FiveThenTwo", 5, 2}),
                         [](const testing::TestParamInfo<TwoClicks>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(BackupListViewTest, OnlyTheFocusedRowHandsOnTheLowestSelection) {
  addRows(4);
  setState(3, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_TRUE(currentRows_.empty()) << "focus without a selection";
  setState(1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(currentRows_.empty()) << "a row selected without the focus";
  setState(3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(currentRows_, std::vector<int>{1}) << "the focused row selected";
  setState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(currentRows_, (std::vector<int>{1, 0}));
}

TEST_F(BackupListViewTest, RightClickBelowTheRowsOpensTheMenuWithNothingSelected) {
  addRows(3);
  click(1);
  const POINT screen = rightClick({100, 280});
  ASSERT_EQ(menuPoints_.size(), 1u);
  EXPECT_EQ(menuPoints_[0].x, screen.x);
  EXPECT_EQ(menuPoints_[0].y, screen.y);
  EXPECT_TRUE(view_->selectedRows().empty());
}

TEST_F(BackupListViewTest, RightClickOnARowSelectsItAndOpensTheMenu) {
  addRows(3);
  const POINT screen = rightClick(rowPoint(2));
  ASSERT_EQ(menuPoints_.size(), 1u);
  EXPECT_EQ(menuPoints_[0].x, screen.x);
  EXPECT_EQ(menuPoints_[0].y, screen.y);
  EXPECT_EQ(view_->selectedRows(), std::vector<int>{2});
  EXPECT_EQ(currentRows_, std::vector<int>{2});
}

TEST_F(BackupListViewTest, MenuKeyOpensTheMenuOverTheList) {
  addRows(3);
  click(1);
  SendMessageA(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), MAKELPARAM(-1, -1));
  ASSERT_EQ(menuPoints_.size(), 1u);
  RECT rect = {};
  GetWindowRect(list_, &rect);
  EXPECT_TRUE(PtInRect(&rect, menuPoints_[0]))
      << menuPoints_[0].x << "," << menuPoints_[0].y;
}

TEST_F(BackupListViewTest, HeaderClickKeepsTheOrder) {
  view_->appendRow("b");
  view_->appendRow("a");
  view_->appendRow("c");
  HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
  RECT item = {};
  ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
  const POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  pumpMessages();
  EXPECT_EQ(captions(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_TRUE(view_->selectedRows().empty());
  EXPECT_TRUE(currentRows_.empty());
}

TEST_F(BackupListViewTest, SecondCreateIsRefused) {
  EXPECT_FALSE(view_->Create(parent_, kListId + 1));
  EXPECT_EQ(view_->hwnd(), list_);
}

}  // namespace

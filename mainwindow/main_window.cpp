#include "mainwindow/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "engine/item_store.h"
#include "engine/autostart_data.h"
#include "mainwindow/control_ids.h"
#include "res/resource_ids.h"
#include "textdialog/help_text.h"
#include "textdialog/text_dialog.h"
#include "win32/message_box_win.h"
#include "win32/autostart_win.h"
#include "win32/single_instance_win.h"
#include "win32/window_text.h"

const char* const kAppName = "禾岚·栖卷";
const char* const kMainWindowTitle = "禾岚·栖卷 v1.0.0.1      当文件发生更改时自动备份到指定路径";

namespace {
constexpr const char* kInfoTitle = "信息：";

// The start button's caption is the watching state.
class ButtonCaption : public StartButton {
 public:
  explicit ButtonCaption(HWND button) : button_(button) {}
  std::string caption() const override { return windowText(button_); }
  void setCaption(const std::string& caption) override { setWindowText(button_, caption); }

 private:
  HWND button_;
};

class BoxMessages : public InfoMessages {
 public:
  void showInformation(const std::string& text, const std::string& title) override {
    showMessageBox(text, title, MB_OK | MB_ICONINFORMATION);
  }
};

HFONT makeFont(const char* face, int height, int weight, bool underline = false) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, underline, FALSE, GB2312_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

HWND makeChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
               int h, int id, HFONT font) {
  HWND hwnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd && font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}
}  // namespace

MainWindow::MainWindow(MainWindowContext context) : c_(std::move(context)) {}

MainWindow::~MainWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::Create() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  bigIcon_.reset(static_cast<HICON>(LoadImageA(wc.hInstance, MAKEINTRESOURCEA(IDI_PROGRAM),
                                               IMAGE_ICON, 32, 32, 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageA(wc.hInstance, MAKEINTRESOURCEA(IDI_PROGRAM),
                                                 IMAGE_ICON, 16, 16, 0)));
  wc.hIcon = bigIcon_.get();
  wc.hIconSm = smallIcon_.get();
  // A second window of the class (tests) finds it registered already.
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle, style, 50, 50, 745, 717, nullptr,
                         nullptr, wc.hInstance, this) != nullptr;
}

void MainWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    self = static_cast<MainWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Nothing may cross the window procedure; the message counts as handled.
    return 0;
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case kFirstActivatedMessage:
      OnFirstActivated();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (list_.OnNotify(reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case kTrayMessage:
      OnTrayEvent(static_cast<UINT>(lParam));
      return 0;
    case WM_CLOSE:
      if (OnCanClose()) DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      return OnCanClose() ? TRUE : FALSE;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      if (message == taskbarCreatedMessage_ && message != 0) {
        AddTrayIcon();
        return 0;
      }
      if (message == bringToFrontMessage_ && message != 0) {
        BringToFront();
        return 0;
      }
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool MainWindow::OnCreate() {
  InitCommonControls();
  font_.reset(makeFont("宋体", 12, FW_NORMAL));
  startFont_.reset(makeFont("宋体", 24, FW_BOLD));
  linkFont_.reset(makeFont("宋体", 12, FW_NORMAL, true));
  HFONT font = static_cast<HFONT>(font_.get());

  CreateBanner(font);
  if (!list_.Create(hwnd_, control_id::kList)) return false;
  list_.onCurrentRowChanged = [this](int row) {
    if (row >= 0 && row < c_.items.count()) panel_.showItemOptions(c_.items.at(row));
  };
  list_.onContextMenu = [this](POINT screen) { list_.ShowPopupMenu(menu_.get(), screen); };
  if (!panel_.Create(hwnd_, font)) return false;
  SetWindowSubclass(panel_.addButton(), AddButtonProc, 1, reinterpret_cast<DWORD_PTR>(this));
  startButton_ = makeChild(hwnd_, "BUTTON", kCaptionIdle, WS_TABSTOP | BS_PUSHBUTTON, 8, 616, 720,
                           56, control_id::kStartButton, static_cast<HFONT>(startFont_.get()));
  CreateMenu();

  startCaption_ = std::make_unique<ButtonCaption>(startButton_);
  infoMessages_ = std::make_unique<BoxMessages>();
  MonitorServices ms{list_,    c_.items, c_.store,      c_.files,       c_.digest,
                     c_.clock, c_.pump,  *startCaption_, *infoMessages_, [this] { SaveListState(); }};
  monitor_ = std::make_unique<BackupMonitor>(ms);

  ItemCommandServices cs{list_,
                         c_.items,
                         c_.store,
                         c_.files,
                         c_.digest,
                         [this] {
                           return PanelInput{panel_.filesText(), panel_.templateText(),
                                             panel_.keepCountText(), panel_.refreshText()};
                         },
                         [this] { SetFocus(panel_.filesBox()); },
                         [this](const std::string& caption) {
                           setWindowText(panel_.addButton(), caption);
                         },
                         [this] { return isWatching(); },
                         [this](unsigned ms) { monitor_->pauseWithEvents(ms); },
                         [this] { SaveListState(); }};
  commands_ = std::make_unique<ItemCommands>(cs);

  c_.dropTarget.Attach(hwnd_, [this](std::int32_t count, std::int32_t index,
                                     const std::string& path, const std::string& extension) {
    return panel_.onDroppedFile(count, index, path, extension);
  });
  taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
  bringToFrontMessage_ = RegisterWindowMessageA(kBringToFrontMessageName);
  AddTrayIcon();
  return true;
}

void MainWindow::CreateBanner(HFONT font) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND banner = makeChild(hwnd_, "STATIC", "", SS_BITMAP | WS_CLIPSIBLINGS, 0, 0, 1104, 90, control_id::kBanner, nullptr);
  if (HANDLE bitmap = LoadImageA(instance, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0))
    SendMessageA(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  // The help controls are siblings above the banner so that they get the clicks.
  HWND picture = makeChild(hwnd_, "BUTTON", "", BS_BITMAP | BS_PUSHBUTTON, 16, 0, 64, 64,
                           control_id::kHelpPicture, nullptr);
  if (HANDLE bitmap = LoadImageA(instance, MAKEINTRESOURCEA(IDB_HELP), IMAGE_BITMAP, 0, 0, 0))
    SendMessageA(picture, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  HWND link = makeChild(hwnd_, "STATIC", "疑点说明", SS_NOTIFY | SS_CENTER | SS_CENTERIMAGE, 16, 64,
                        64, 24, control_id::kHelpLink, static_cast<HFONT>(linkFont_.get()));
  SetWindowSubclass(link, HelpLinkProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetWindowPos(banner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  (void)font;
}

void MainWindow::CreateMenu() {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, menu_id::kOpenPath, "打开路径");
  AppendMenuA(popup, MF_STRING, menu_id::kOpenBackupPath, "打开备份路径");
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING, menu_id::kResetSequence, "重置备份序号");
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING, menu_id::kTickAll, "全打勾");
  AppendMenuA(popup, MF_STRING, menu_id::kUntickAll, "全不打勾");
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING | MF_UNCHECKED, menu_id::kAutostart, "开机启动");
  menu_.reset(popup);
  autostartItem_ = std::make_unique<Win32MenuItem>(popup, menu_id::kAutostart);
}

void MainWindow::AddTrayIcon() { tray_.Add(hwnd_, kTrayMessage, smallIcon_.get(), c_.appName); }

void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE || firstActivationDone_) return;
  firstActivationDone_ = true;
  // Loading, and perhaps a whole watching cycle, runs from the message loop
  // rather than inside the activation.
  PostMessageA(hwnd_, kFirstActivatedMessage, 0, 0);
}

void MainWindow::OnFirstActivated() {
  loadItems(c_.store, list_, c_.items, c_.digest, *autostartItem_);
  if (autostartItem_->checked() &&
      AutostartValue(c_.appName).sync(autostart::dataFor(c_.programPath)) ==
          AutostartPlace::None)
    ClearAutostartMark();
  if (list_.rowCount() > 0 && c_.startedByAutostart) {
    ShowWindow(hwnd_, SW_HIDE);
    monitor_->OnStartButtonClicked();
  }
}

bool MainWindow::isWatching() const { return windowText(startButton_) != kCaptionIdle; }

void MainWindow::SaveListState() { saveListState(c_.store, list_, *autostartItem_); }

bool MainWindow::OnCanClose() {
  SaveListState();
  if (isWatching()) {
    ShowWindow(hwnd_, SW_HIDE);
    return false;
  }
  return true;
}

void MainWindow::OnDestroy() {
  SaveListState();
  if (monitor_) monitor_->requestStop();
  tray_.Remove();
  c_.dropTarget.Detach(hwnd_);
  PostQuitMessage(0);
}

void MainWindow::OnCommand(int id, int code) {
  if (panel_.OnCommand(id, code)) return;
  switch (id) {
    case control_id::kStartButton:
      if (code == BN_CLICKED) monitor_->OnStartButtonClicked();
      return;
    case control_id::kAddButton:
      if (code == BN_CLICKED) commands_->OnAdd();
      return;
    case control_id::kDeleteButton:
      if (code == BN_CLICKED) commands_->OnDelete();
      return;
    case control_id::kHelpPicture:
      if (code == BN_CLICKED) ShowHelp();
      return;
    case menu_id::kOpenPath:
      openSelectedPath(list_, c_.items);
      return;
    case menu_id::kOpenBackupPath:
      openSelectedBackupPath(list_);
      return;
    case menu_id::kResetSequence:
      commands_->OnResetSequence();
      return;
    case menu_id::kTickAll:
      list_.tickAll(true);
      return;
    case menu_id::kUntickAll:
      list_.tickAll(false);
      return;
    case menu_id::kAutostart:
      OnToggleAutostart();
      return;
    default:
      return;
  }
}

void MainWindow::OnContextMenu(HWND from, POINT screen) { list_.OnContextMenu(from, screen); }

void MainWindow::OnTrayEvent(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONUP:
      ToggleVisible();
      return;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      OnExitRequest();
      return;
    default:
      return;
  }
}

void MainWindow::ToggleVisible() {
  if (IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, SW_HIDE);
  } else {
    // Bringing to the front shows it, after the stay-on-top switch is off.
    BringToFront();
  }
}

void MainWindow::BringToFront() {
  const bool wasTopmost = (GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  c_.pump.handlePendingEvents();
  if (!hwnd_) return;  // the pending messages ended the window
  if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
  if (IsIconic(hwnd_)) {
    ShowWindow(hwnd_, SW_RESTORE);
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (!wasTopmost) SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
}

void MainWindow::OnExitRequest() {
  if (isWatching()) {
    showMessageBox("备份监视执行中，请先停止！", kInfoTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const std::string question = "确定要退出本软件《" + c_.appName + "》吗？";
  if (showMessageBox(question, kInfoTitle, MB_OKCANCEL) != IDOK) return;
  OnCanClose();
  tray_.Remove();
  DestroyWindow(hwnd_);
}

void MainWindow::OnToggleAutostart() {
  const bool checked = !autostartItem_->checked();
  autostartItem_->setChecked(checked);
  if (!checked) {
    AutostartValue(c_.appName).disable();
    return;
  }
  if (AutostartValue(c_.appName).enable(autostart::dataFor(c_.programPath)) ==
      AutostartPlace::None)
    ClearAutostartMark();
}

void MainWindow::ClearAutostartMark() {
  // A check mark that claims autostart while no value could be written would mislead.
  autostartItem_->setChecked(false);
  showMessageBox("无法写入开机启动的注册表项，开机启动未能设置。", kInfoTitle,
                 MB_OK | MB_ICONEXCLAMATION);
}

void MainWindow::ShowHelp() { showTextDialog(helpText(), "疑点说明", hwnd_); }

LRESULT CALLBACK MainWindow::AddButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR refData) {
  // The right mouse button pressed on "添加" modifies the selected items.
  if (message == WM_RBUTTONDOWN) {
    auto* self = reinterpret_cast<MainWindow*>(refData);
    try {
      self->commands_->OnModifySelected();
    } catch (...) {
    }
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, AddButtonProc, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::HelpLinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR refData) {
  if (message == WM_LBUTTONDOWN) {
    auto* self = reinterpret_cast<MainWindow*>(refData);
    try {
      self->ShowHelp();
    } catch (...) {
    }
    return 0;
  }
  if (message == WM_SETCURSOR) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return TRUE;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, HelpLinkProc, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

#include "textdialog/text_dialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool TextDialog::anyOpen_ = false;

namespace {

// Place and size of a control as designed, in client pixels.
struct DesignedControl {
  TextDialog::Control id;
  const char* className;
  DWORD style;
  DWORD extendedStyle;
  int x, y, width, height;
  const char* text;
};

const DesignedControl kForm[] = {
    {TextDialog::编辑框提示, "EDIT", ES_AUTOHSCROLL | ES_READONLY, 0, 13, 8, 395, 33, ""},
    {TextDialog::编辑框正文, "EDIT",
     WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE, 5, 56, 411, 168,
     ""},
    {TextDialog::外形框, "STATIC", SS_ETCHEDFRAME, 0, 8, 320, 336, 34, ""},
    {TextDialog::按钮确定, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, 351, 328, 64, 24, "确定"},
    {TextDialog::按钮取消, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, 414, 328, 64, 24, "取消"},
};

void append(std::vector<WORD>& out, const void* data, std::size_t bytes) {
  const std::size_t at = out.size();
  out.resize(at + (bytes + 1) / 2);
  std::memcpy(out.data() + at, data, bytes);
}

// The dialog window alone, in memory, so that no resource is needed; its
// controls are made in pixels once it exists. Dialog units follow the font,
// so the size here is a placeholder that WM_INITDIALOG replaces.
std::vector<WORD> dialogTemplate() {
  DLGTEMPLATE header = {};
  header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | DS_MODALFRAME |
                 DS_SETFONT;
  header.cdit = 0;
  header.cx = 300;
  header.cy = 200;
  std::vector<WORD> form;
  append(form, &header, sizeof header);
  form.push_back(0);  // no menu
  form.push_back(0);  // the standard dialog class
  form.push_back(0);  // caption: set from the title
  form.push_back(9);  // point size of the font
  const wchar_t face[] = L"MS Shell Dlg";
  append(form, face, sizeof face);
  return form;
}

RECT rectIn(HWND dialog, HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

bool TextDialog::Show(const std::string& content, const std::string& title, HWND owner) {
  if (anyOpen_) return false;
  const std::vector<WORD> form = dialogTemplate();
  text_ = content;
  title_ = title.empty() ? std::string("禾岚：") : title;
  owner_ = owner;
  confirmed_ = false;

  anyOpen_ = true;
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(form.data()),
                          IsWindow(owner_) ? owner_ : nullptr, &TextDialog::DialogProc,
                          reinterpret_cast<LPARAM>(this));
  anyOpen_ = false;
  // The prompt line that used the font is gone with the dialog.
  boldFont_.reset();
  // Read-only presentation never confirms.
  return confirmed_;
}

INT_PTR CALLBACK TextDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      reinterpret_cast<TextDialog*>(lParam)->OnInitDialog(dialog);
      // The focus was given to the content box.
      return FALSE;
    }
    // Messages before WM_INITDIALOG (the first WM_SIZE among them) find no state.
    auto* self = reinterpret_cast<TextDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    switch (message) {
      case WM_SIZE:
        self->OnSize(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
      case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
      case WM_CLOSE:
        self->close();
        return TRUE;
      case WM_CTLCOLORSTATIC:
        return self->OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      case WM_NCDESTROY:
        self->OnNcDestroy();
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        return FALSE;
      default:
        return FALSE;
    }
  } catch (...) {
    // Nothing unwinds through the dialog manager; the dialog simply closes.
    EndDialog(dialog, 0);
    return FALSE;
  }
}

void TextDialog::OnInitDialog(HWND dialog) {
  dialog_ = dialog;
  createControls();
  // Sizing the window runs the layout for the first time.
  SetWindowPos(dialog_, nullptr, 0, 0, kDesignWidth, kDesignHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  SetWindowTextA(dialog_, title_.c_str());
  // No limit: the content may be of any length.
  SendMessageA(item(编辑框正文), EM_SETLIMITTEXT, 0, 0);
  SetWindowTextA(item(编辑框正文), text_.c_str());

  presentReadOnly();
  confirmed_ = false;
  centreOnScreen();
  SetFocus(item(编辑框正文));
}

void TextDialog::createControls() {
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0));
  for (const DesignedControl& c : kForm) {
    HWND control = CreateWindowExA(c.extendedStyle, c.className, c.text,
                                   WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width, c.height,
                                   dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control != nullptr && font != nullptr) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
}

void TextDialog::presentReadOnly() {
  ShowWindow(item(按钮确定), SW_HIDE);
  ShowWindow(item(外形框), SW_HIDE);
  // The background colour comes with WM_CTLCOLORSTATIC, which a read-only
  // edit box sends.
  SendMessageA(item(编辑框正文), EM_SETREADONLY, TRUE, 0);

  const HWND prompt = item(编辑框提示);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(prompt, WM_GETFONT, 0, 0));
  LOGFONTA face = {};
  if (font != nullptr && GetObjectA(font, sizeof face, &face) == sizeof face) {
    face.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectA(&face));
    if (boldFont_) SendMessageA(prompt, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
  }

  SetWindowTextA(item(按钮取消), "关闭(&G)");
  SendMessageA(dialog_, DM_SETDEFID, 按钮取消, 0);
}

void TextDialog::centreOnScreen() {
  RECT r = {};
  GetWindowRect(dialog_, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  // 30 pixels are left for the taskbar.
  const int top = (GetSystemMetrics(SM_CYSCREEN) - 30) / 2 - height / 2;
  SetWindowPos(dialog_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TextDialog::OnSize(int clientWidth, int clientHeight) {
  const HWND prompt = item(编辑框提示);
  const HWND content = item(编辑框正文);
  const HWND toolRow = item(外形框);
  const HWND confirm = item(按钮确定);
  const HWND cancel = item(按钮取消);
  if (!prompt || !content || !toolRow || !confirm || !cancel) return;

  const int m = margin_;
  const RECT toolRect = rectIn(dialog_, toolRow);
  const RECT confirmRect = rectIn(dialog_, confirm);
  const RECT cancelRect = rectIn(dialog_, cancel);
  const int toolHeight = toolRect.bottom - toolRect.top;
  const int confirmWidth = confirmRect.right - confirmRect.left;
  const int cancelWidth = cancelRect.right - cancelRect.left;
  const int cancelHeight = cancelRect.bottom - cancelRect.top;
  // A window made very small gives empty boxes, never negative sizes.
  const int innerWidth = std::max(0, clientWidth - 2 * m);

  MoveWindow(prompt, m, m, innerWidth, 0, TRUE);

  // The tool row's height is kept free although the tool row is hidden, so
  // the close button always has its strip.
  const int contentTop = 2 * m;
  const int contentHeight = std::max(0, clientHeight - 2 * m - toolHeight);
  MoveWindow(content, m, contentTop, innerWidth, contentHeight, TRUE);

  const int toolTop = contentTop + contentHeight;
  SetWindowPos(toolRow, nullptr, m, toolTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int buttonTop = toolTop + toolHeight / 2 - cancelHeight / 2;
  const int cancelLeft = clientWidth - m - cancelWidth;
  SetWindowPos(cancel, nullptr, cancelLeft, buttonTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(confirm, nullptr, cancelLeft - confirmWidth, buttonTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TextDialog::OnCommand(int id) {
  // "关闭(&G)", Enter (the default button) and Escape; 按钮确定 is hidden and
  // confirms nothing in read-only presentation.
  if (id == 按钮取消 || id == 按钮确定) {
    close();
    return true;
  }
  return false;
}

INT_PTR TextDialog::OnCtlColorStatic(HDC dc, HWND control) {
  if (control != item(编辑框正文)) return FALSE;
  // The system's default background colour for the read-only content.
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

void TextDialog::OnNcDestroy() { dialog_ = nullptr; }

void TextDialog::close() { EndDialog(dialog_, 0); }

bool showTextDialog(const std::string& content, const std::string& title, HWND owner) {
  static TextDialog dialog;
  return dialog.Show(content, title, owner);
}

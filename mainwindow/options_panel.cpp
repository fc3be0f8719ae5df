#include "mainwindow/options_panel.h"

#include <commdlg.h>

#include <vector>

#include "common/text.h"
#include "engine/panel_values.h"
#include "mainwindow/control_ids.h"
#include "win32/window_text.h"

const char* const kTagButtonNames[13] = {"目录路径", "目录名", "主名", "副名", "年",
                                         "月",       "日",     "时",   "分",   "秒",
                                         "大小",     "字节",   "序号"};

namespace {
struct TagButtonPlace {
  int left;
  int width;
};
// Left and width of each tag button within the group; all at top 93, 24 high.
const TagButtonPlace kTagButtonPlaces[13] = {{112, 80}, {193, 70}, {264, 50}, {315, 50},
                                             {366, 30}, {397, 30}, {428, 30}, {459, 30},
                                             {490, 30}, {521, 30}, {552, 50}, {603, 50},
                                             {654, 50}};

// The file chooser's buffer for the chosen names.
constexpr DWORD kChooserBufferBytes = 98192;

HWND makeControl(HWND parent, const char* cls, const char* caption, DWORD style, int x, int y,
                 int w, int h, int id, HFONT font, DWORD exStyle = 0) {
  HWND hwnd = CreateWindowExA(exStyle, cls, caption, WS_CHILD | WS_VISIBLE | style,
                              OptionsPanel::kLeft + x, OptionsPanel::kTop + y, w, h, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd && font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

HWND makeLabel(HWND parent, const char* caption, int x, int y, int id, HFONT font) {
  return makeControl(parent, "STATIC", caption, SS_LEFT | SS_CENTERIMAGE, x, y, 96, 24, id, font);
}

HWND makeEdit(HWND parent, const char* text, int x, int y, int w, int id, HFONT font) {
  // Clip siblings: the ".." and "×" buttons lie over the right end of their
  // boxes and must stay above them when the box repaints. No hidden
  // selection: a tag button inserts where the user left the selection.
  HWND edit = makeControl(parent, "EDIT", text,
                          WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL | ES_NOHIDESEL, x, y, w,
                          24, id, font, WS_EX_CLIENTEDGE);
  if (edit) SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);  // no limit but memory
  return edit;
}

HWND makeButton(HWND parent, const char* caption, int x, int y, int w, int h, int id,
                HFONT font) {
  return makeControl(parent, "BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, x, y, w, h, id, font);
}
}  // namespace

bool OptionsPanel::Create(HWND parent, HFONT font) {
  parent_ = parent;
  group_ = makeControl(parent, "BUTTON", "备份选项", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, 720, 176,
                       control_id::kOptionsGroup, font);
  makeLabel(parent, "要备份文件：", 16, 24, control_id::kFilesLabel, font);
  filesBox_ = makeEdit(parent, "", 112, 24, 592, control_id::kFilesBox, font);
  HWND choose = makeButton(parent, "..", 672, 26, 29, 20, control_id::kChooseFilesButton, font);
  makeLabel(parent, "备份到路径：", 16, 66, control_id::kTemplateLabel, font);
  templateBox_ = makeEdit(parent, kDefaultTemplate, 112, 66, 592, control_id::kTemplateBox, font);
  HWND clear = makeButton(parent, "×", 672, 69, 29, 20, control_id::kClearTemplateButton, font);
  for (int i = 0; i < 13; ++i) {
    makeButton(parent, kTagButtonNames[i], kTagButtonPlaces[i].left, 93, kTagButtonPlaces[i].width,
               24, control_id::kFirstTagButton + i, font);
  }
  makeLabel(parent, "刷新监视秒：", 16, 136, control_id::kRefreshLabel, font);
  refreshBox_ = makeEdit(parent, "5", 112, 136, 56, control_id::kRefreshBox, font);
  makeLabel(parent, "保持备份数：", 216, 136, control_id::kKeepLabel, font);
  keepBox_ = makeEdit(parent, "10", 312, 136, 56, control_id::kKeepBox, font);
  addButton_ = makeButton(parent, "添加", 454, 132, 125, 32, control_id::kAddButton, font);
  deleteButton_ = makeButton(parent, "删除", 579, 132, 125, 32, control_id::kDeleteButton, font);

  // The group box is drawn below everything; the two small buttons above
  // the edit boxes they sit on.
  SetWindowPos(group_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(choose, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(clear, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return group_ && filesBox_ && templateBox_ && refreshBox_ && keepBox_ && addButton_ &&
         deleteButton_ && choose && clear;
}

bool OptionsPanel::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  if (id >= control_id::kFirstTagButton && id < control_id::kFirstTagButton + 13) {
    insertTag(kTagButtonNames[id - control_id::kFirstTagButton]);
    return true;
  }
  switch (id) {
    case control_id::kClearTemplateButton:
      setTemplateText("");
      return true;
    case control_id::kChooseFilesButton:
      chooseFiles();
      return true;
    default:
      return false;
  }
}

void OptionsPanel::insertTag(const std::string& tag) {
  const std::string inserted = "<" + tag + ">";
  // Replaces the selection, or inserts at the caret when nothing is selected;
  // the caret then stands after the tag.
  SendMessageA(templateBox_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(inserted.c_str()));
  SetFocus(templateBox_);
}

void OptionsPanel::showItemOptions(const BackupItem& item) {
  setFilesText(item.sourcePath);
  setTemplateText(item.pathTemplate);
  setWindowText(keepBox_, std::to_string(item.keepCount));
  setWindowText(refreshBox_, refreshSecondsText(item.refreshSeconds));
}

std::int32_t OptionsPanel::onDroppedFile(std::int32_t count, std::int32_t index,
                                         const std::string& path, const std::string&) {
  if (index == 1) droppedFilesText_.clear();
  if (droppedFilesText_.empty()) droppedFilesText_ = path;
  else droppedFilesText_ += "|" + path;
  if (index == count) {
    setFilesText(droppedFilesText_);
    droppedFilesText_.clear();
  }
  return 0;
}

bool OptionsPanel::chooseFiles() {
  std::string before(MAX_PATH, '\0');
  DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(before.size()), before.data());
  if (n >= before.size()) {
    before.assign(n, '\0');
    n = GetCurrentDirectoryA(n, before.data());
  }
  before.resize(n);

  std::vector<char> names(kChooserBufferBytes, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = parent_;
  // "全部文件(*.*)|*.*": the name shown, then the pattern.
  static const char kFilter[] = "全部文件(*.*)\0*.*\0";
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = names.data();
  ofn.nMaxFile = kChooserBufferBytes;
  ofn.lpstrTitle = "选择要动态备份的文件：";
  ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT;
  if (!GetOpenFileNameA(&ofn)) return false;

  // One file: its full path. Several: the directory, then the names, each
  // ended by a zero byte, the list by a second one.
  const char* p = names.data();
  std::string first = p;
  p += first.size() + 1;
  std::vector<std::string> paths;
  if (*p == '\0') {
    paths.push_back(first);
  } else {
    const bool endsInBackslash =
        !first.empty() && text::findLast(first, "\\") == first.size() - 1;
    for (; *p; p += std::string(p).size() + 1)
      paths.push_back(first + (endsInBackslash ? "" : "\\") + std::string(p));
  }
  setFilesText(text::join(paths, "|"));
  SetCurrentDirectoryA(before.c_str());
  return true;
}

std::string OptionsPanel::filesText() const { return windowText(filesBox_); }
std::string OptionsPanel::templateText() const { return windowText(templateBox_); }
std::string OptionsPanel::keepCountText() const { return windowText(keepBox_); }
std::string OptionsPanel::refreshText() const { return windowText(refreshBox_); }
void OptionsPanel::setFilesText(const std::string& text) { setWindowText(filesBox_, text); }
void OptionsPanel::setTemplateText(const std::string& text) { setWindowText(templateBox_, text); }

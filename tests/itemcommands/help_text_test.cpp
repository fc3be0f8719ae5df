// The help text under "疑点说明": its bytes, and the dialog it opens in.
#include "textdialog/help_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "textdialog/text_dialog.h"

namespace {

struct FixedLine {
  int number;  // counted from 1
  const char* text;
};

// Lines 5 to 14 as the program must show them; the even ones are empty.
const FixedLine kFixedLines[] = {
    {5, "备份到路径是可以设置模板的，能够自由引用文件的修改时间（年月日时分秒）、目录路径、目录名、主名（文件名前缀），副名（文件名后缀，含小数点）、大小（自动转换字节单位）、字节（原始字节数值）、序号（备份序号，就是已经备份到了第几次）。"},
    {7, "如果想每次保存触发的备份，同时备份到几个位置，可以给“备份到路径”使用“|”隔开多个路径。"},
    {9, "支持批量添加多个要备份的文件（将使用相同的设置），你可以拖放多个文件到“要备份的文件”中。"},
    {11, "备份项目列表打勾者可被监视。右键有菜单，可设置开机启动。最后执行备份的项目将显示图标为红色。右键单击“添加”按钮可修改选定项目而不是添加新项目到末尾。"},
    {13, "刷新监视秒：就是每隔多久检查一次文件是否被修改"},
    {14, "保持备份数：可以设定文件的备份副本始终保持在指定数量，超出数量的，将自动删除旧备份副本。"},
};

std::vector<std::string> linesOf(const std::string& s) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = s.find("\r\n", from);
    lines.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return lines;
    from = at + 2;
  }
}

TEST(HelpText, FourteenLinesJoinedByCrLfWithEmptySeparators) {
  const std::string& help = helpText();
  ASSERT_GE(help.size(), 2u);
  EXPECT_NE(help.substr(help.size() - 2), "\r\n") << "a break after the last line";
  // No bare CR or LF: every break is a CR LF pair.
  std::string rest = help;
  for (std::size_t at; (at = rest.find("\r\n")) != std::string::npos;) rest.erase(at, 2);
  EXPECT_EQ(rest.find('\r'), std::string::npos);
  EXPECT_EQ(rest.find('\n'), std::string::npos);

  const std::vector<std::string> lines = linesOf(help);
  ASSERT_EQ(lines.size(), 14u);
  for (int empty : {2, 4, 6, 8, 10, 12}) EXPECT_EQ(lines[empty - 1], "") << "line " << empty;
  // Lines 1 and 3 are the program's own words: the tool and its maker, and
  // why it exists.
  EXPECT_NE(text::find(lines[0], "禾岚"), text::npos);
  EXPECT_NE(text::find(lines[2], "停电"), text::npos);
  for (const FixedLine& line : kFixedLines) {
    EXPECT_EQ(lines[static_cast<std::size_t>(line.number - 1)], line.text) << "line " << line.number;
  }
}

// The dialog is modal: a thread timer, dispatched by its own loop, looks at
// it and closes it.
struct Seen {
  bool found = false;
  std::string caption;
  std::string content;
  bool readOnly = false;
  bool ownerEnabled = true;
  HWND owner = nullptr;
};
Seen* seen = nullptr;

std::string windowText(HWND window) {
  std::string s(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  s.resize(static_cast<std::size_t>(GetWindowTextA(window, s.data(), static_cast<int>(s.size()))));
  return s;
}

HWND openDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM into) -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window)) {
          *reinterpret_cast<HWND*>(into) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK inspectAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND dialog = openDialog();
  if (dialog == nullptr || seen == nullptr) return;  // not up yet: the timer comes again
  KillTimer(nullptr, id);
  seen->found = true;
  seen->caption = windowText(dialog);
  const HWND content = GetDlgItem(dialog, TextDialog::编辑框正文);
  seen->content = windowText(content);
  seen->readOnly = (GetWindowLongA(content, GWL_STYLE) & ES_READONLY) != 0;
  seen->owner = GetWindow(dialog, GW_OWNER);
  seen->ownerEnabled = IsWindowEnabled(seen->owner) != FALSE;
  SendMessageA(GetDlgItem(dialog, TextDialog::按钮取消), BM_CLICK, 0, 0);
}

void CALLBACK rescue(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (const HWND dialog = openDialog()) EndDialog(dialog, 0);
}

TEST(HelpDialog, ShowsTheHelpTextReadOnlyUnderItsTitle) {
  const HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  Seen result;
  seen = &result;
  const UINT_PTR inspect = SetTimer(nullptr, 0, 50, inspectAndClose);
  const UINT_PTR rescueTimer = SetTimer(nullptr, 0, 10000, rescue);
  showTextDialog(helpText(), "疑点说明", owner);
  KillTimer(nullptr, inspect);
  KillTimer(nullptr, rescueTimer);
  seen = nullptr;

  ASSERT_TRUE(result.found) << "no dialog came up";
  EXPECT_EQ(result.caption, "疑点说明");
  EXPECT_EQ(result.content, helpText());
  EXPECT_TRUE(result.readOnly);
  EXPECT_EQ(result.owner, owner);
  EXPECT_FALSE(result.ownerEnabled) << "the owner takes input while the help is open";
  EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner stays disabled after closing";
  EXPECT_EQ(openDialog(), nullptr);
  DestroyWindow(owner);
}

}  // namespace

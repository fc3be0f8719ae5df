// The one seam for the program's message boxes: a handler answers in place
// of the user, and without one a real box comes up without an owner.
#include "win32/message_box_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Box {
  std::string text;
  std::string title;
  UINT flags;
};

TEST(MessageBoxHandler, SeesTheExactBytesAndItsAnswerComesBack) {
  std::vector<Box> boxes;
  ScopedMessageBoxHandler answer([&](const std::string& text, const std::string& title, UINT flags) {
    boxes.push_back({text, title, flags});
    return IDCANCEL;
  });
  EXPECT_EQ(showMessageBox("确定要退出本软件《禾岚·栖卷》吗？", "信息：", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(boxes.size(), 1u);
  // GBK: 确 = C8 B7, 信息： = D0 C5 CF A2 A3 BA.
  EXPECT_EQ(boxes[0].text.substr(0, 2), "\xC8\xB7");
  EXPECT_EQ(boxes[0].text, "确定要退出本软件《禾岚·栖卷》吗？");
  EXPECT_EQ(boxes[0].title, "\xD0\xC5\xCF\xA2\xA3\xBA");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL));
}

TEST(MessageBoxHandler, ScopesNestAndRestoreThePreviousHandler) {
  std::vector<std::string> answeredBy;
  {
    ScopedMessageBoxHandler outer([&](const std::string&, const std::string&, UINT) {
      answeredBy.push_back("outer");
      return IDOK;
    });
    {
      ScopedMessageBoxHandler inner([&](const std::string&, const std::string&, UINT) {
        answeredBy.push_back("inner");
        return IDNO;
      });
      EXPECT_EQ(showMessageBox("a", "b", MB_YESNO), IDNO);
    }
    EXPECT_EQ(showMessageBox("a", "b", MB_OK), IDOK);
  }
  EXPECT_EQ(answeredBy, (std::vector<std::string>{"inner", "outer"}));
  EXPECT_FALSE(setMessageBoxHandler(nullptr));
}

// Without a handler the real box is shown. A thread timer, which the box's
// own modal loop dispatches, finds it, reads it and presses its OK button.
struct SeenBox {
  bool found = false;
  std::string title;
  std::string text;
  HWND owner = reinterpret_cast<HWND>(1);
};
SeenBox seenBox;
const char kRealTitle[] = "信息：真的";

BOOL CALLBACK findStatic(HWND child, LPARAM result) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0 && GetWindowTextLengthA(child) > 0) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(child)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(child, text.data(), static_cast<int>(text.size()))));
    *reinterpret_cast<std::string*>(result) = text;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK pressOk(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", kRealTitle);
  if (!box) return;  // not up yet: the timer fires again
  KillTimer(nullptr, timer);
  seenBox.found = true;
  char title[64] = {};
  GetWindowTextA(box, title, sizeof title);
  seenBox.title = title;
  EnumChildWindows(box, findStatic, reinterpret_cast<LPARAM>(&seenBox.text));
  seenBox.owner = GetWindow(box, GW_OWNER);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST(MessageBoxDefault, ShowsARealBoxWithoutOwner) {
  SetTimer(nullptr, 0, 50, pressOk);
  EXPECT_EQ(showMessageBox("至少添加一个备份项目！", kRealTitle, MB_OK | MB_ICONINFORMATION), IDOK);
  ASSERT_TRUE(seenBox.found);
  EXPECT_EQ(seenBox.title, kRealTitle);
  EXPECT_EQ(seenBox.text, "至少添加一个备份项目！");
  EXPECT_EQ(seenBox.owner, nullptr);
}

}  // namespace

// The text dialog for real: each test opens it with showTextDialog and acts
// on it from a thread timer, which the dialog's own modal loop dispatches.
#include "textdialog/text_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string windowText(HWND window) {
  std::string s(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  s.resize(static_cast<std::size_t>(GetWindowTextA(window, s.data(), static_cast<int>(s.size()))));
  return s;
}

std::vector<HWND> openDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM into) -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window)) {
          reinterpret_cast<std::vector<HWND>*>(into)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// One opening of the dialog, driven from inside its modal loop.
struct Opening {
  std::function<void(HWND)> action;
  bool ran = false;
  // The action did not close the dialog and the rescue timer had to.
  bool forced = false;
};
Opening* current = nullptr;

void CALLBACK onActionTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const std::vector<HWND> dialogs = openDialogs();
  if (current == nullptr || dialogs.size() != 1) return;
  current->ran = true;
  current->action(dialogs[0]);
}

void CALLBACK onRescueTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (HWND dialog : openDialogs()) {
    if (current != nullptr) current->forced = true;
    EndDialog(dialog, 0);
  }
}

bool open(Opening& opening, const std::string& content, const std::string& title, HWND owner) {
  current = &opening;
  const UINT_PTR action = SetTimer(nullptr, 0, 50, onActionTimer);
  const UINT_PTR rescue = SetTimer(nullptr, 0, 10000, onRescueTimer);
  const bool result = showTextDialog(content, title, owner);
  KillTimer(nullptr, action);
  KillTimer(nullptr, rescue);
  current = nullptr;
  return result;
}

RECT rectIn(HWND dialog, int id) {
  RECT r = {};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void expectRect(HWND dialog, int id, int left, int top, int width, int height) {
  const RECT r = rectIn(dialog, id);
  EXPECT_EQ(r.left, left) << "control " << id;
  EXPECT_EQ(r.top, top) << "control " << id;
  EXPECT_EQ(r.right - r.left, width) << "control " << id;
  EXPECT_EQ(r.bottom - r.top, height) << "control " << id;
}

// The layout for the dialog's present client size: margins of 5, the
// content box down to the 34-pixel tool row strip, the 64 x 24 buttons at
// the right end of that strip, centred on its middle line.
void expectLayout(HWND dialog) {
  RECT client = {};
  GetClientRect(dialog, &client);
  const int W = client.right;
  const int H = client.bottom;
  expectRect(dialog, TextDialog::编辑框提示, 5, 5, W - 10, 0);
  expectRect(dialog, TextDialog::编辑框正文, 5, 10, W - 10, H - 10 - 34);
  expectRect(dialog, TextDialog::外形框, 5, H - 34, 336, 34);
  expectRect(dialog, TextDialog::按钮取消, W - 5 - 64, H - 34 + 17 - 12, 64, 24);
  expectRect(dialog, TextDialog::按钮确定, W - 5 - 64 - 64, H - 34 + 17 - 12, 64, 24);
}

void closeWithButton(HWND dialog) {
  SendMessageA(GetDlgItem(dialog, TextDialog::按钮取消), BM_CLICK, 0, 0);
}

class TextDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override { DestroyWindow(owner); }
  HWND owner = nullptr;
};

TEST_F(TextDialogTest, OpensReadOnlyWithOneCloseButtonCentredAtItsDesignedSize) {
  const std::string content = "第一行\r\nsecond line\r\n";
  Opening opening;
  opening.action = [&](HWND dialog) {
    EXPECT_EQ(windowText(dialog), "疑点说明");
    const HWND text = GetDlgItem(dialog, TextDialog::编辑框正文);
    EXPECT_EQ(windowText(text), content);
    EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(GetFocus(), text);

    const HWND prompt = GetDlgItem(dialog, TextDialog::编辑框提示);
    EXPECT_EQ(windowText(prompt), "");
    LOGFONTA font;
    std::memset(&font, 0xcc, sizeof font);
    ASSERT_EQ(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(prompt, WM_GETFONT, 0, 0)),
                         sizeof font, &font),
              static_cast<int>(sizeof font));
    EXPECT_GE(font.lfWeight, FW_BOLD);

    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, TextDialog::按钮确定)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, TextDialog::外形框)));
    const HWND close = GetDlgItem(dialog, TextDialog::按钮取消);
    EXPECT_TRUE(IsWindowVisible(close));
    EXPECT_EQ(windowText(close), "关闭(&G)");
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(TextDialog::按钮取消, DC_HASDEFID));

    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner takes input while the dialog is open";

    RECT outer = {};
    GetWindowRect(dialog, &outer);
    EXPECT_EQ(outer.right - outer.left, 495);
    EXPECT_EQ(outer.bottom - outer.top, 393);
    EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 495 / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 30) / 2 - 393 / 2);
    expectLayout(dialog);

    closeWithButton(dialog);
  };
  EXPECT_FALSE(open(opening, content, "疑点说明", owner));
  EXPECT_TRUE(opening.ran);
  EXPECT_FALSE(opening.forced);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(TextDialogTest, LayoutFollowsEverySizeChange) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{760, 560}, {320, 240}, {495, 393}};
  Opening opening;
  opening.action = [&](HWND dialog) {
    for (const Size& s : sizes) {
      SCOPED_TRACE(testing::Message() << s.width << " x " << s.height);
      SetWindowPos(dialog, nullptr, 0, 0, s.width, s.height, SWP_NOMOVE | SWP_NOZORDER);
      RECT outer = {};
      GetWindowRect(dialog, &outer);
      ASSERT_EQ(outer.right - outer.left, s.width);
      expectLayout(dialog);
    }
    // Smaller than the strip itself: the content box is empty, not negative.
    SetWindowPos(dialog, nullptr, 0, 0, 150, 60, SWP_NOMOVE | SWP_NOZORDER);
    const RECT text = rectIn(dialog, TextDialog::编辑框正文);
    EXPECT_GE(text.bottom - text.top, 0);
    EXPECT_GE(text.right - text.left, 0);
    closeWithButton(dialog);
  };
  EXPECT_FALSE(open(opening, "text", "title", owner));
  EXPECT_TRUE(opening.ran);

  // The next opening starts afresh at the designed size.
  Opening again;
  again.action = [&](HWND dialog) {
    RECT outer = {};
    GetWindowRect(dialog, &outer);
    EXPECT_EQ(outer.right - outer.left, 495);
    EXPECT_EQ(outer.bottom - outer.top, 393);
    EXPECT_EQ(windowText(GetDlgItem(dialog, TextDialog::编辑框正文)), "new text");
    closeWithButton(dialog);
  };
  EXPECT_FALSE(open(again, "new text", "title", owner));
  EXPECT_TRUE(again.ran);
}

TEST_F(TextDialogTest, SecondCallWhileOpenReturnsFalseAndChangesNothing) {
  Opening opening;
  opening.action = [&](HWND dialog) {
    EXPECT_FALSE(showTextDialog("other text", "other title", nullptr));
    EXPECT_EQ(openDialogs().size(), 1u);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(windowText(dialog), "帮助");
    EXPECT_EQ(windowText(GetDlgItem(dialog, TextDialog::编辑框正文)), "first text");
    closeWithButton(dialog);
  };
  EXPECT_FALSE(open(opening, "first text", "帮助", owner));
  EXPECT_TRUE(opening.ran);
  EXPECT_FALSE(opening.forced);
}

TEST_F(TextDialogTest, CloseButtonEnterAndCloseBoxEachCloseIt) {
  struct Way {
    const char* name;
    std::function<void(HWND)> close;
  };
  const Way ways[] = {
      {"close button", closeWithButton},
      {"Enter in the content box",
       [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001); }},
      {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Opening opening;
    opening.action = way.close;
    EXPECT_FALSE(open(opening, "text", "title", owner));
    EXPECT_TRUE(opening.ran);
    EXPECT_FALSE(opening.forced) << "the dialog stayed open";
  }
}

TEST_F(TextDialogTest, ShowsTextOfAnyLengthUnderTheDefaultTitle) {
  std::string content;
  while (content.size() < 300000) content += "备份副本 line of the help text 说明\r\n";
  Opening opening;
  opening.action = [&](HWND dialog) {
    EXPECT_EQ(windowText(dialog), "禾岚：");
    const std::string shown = windowText(GetDlgItem(dialog, TextDialog::编辑框正文));
    EXPECT_EQ(shown.size(), content.size());
    EXPECT_TRUE(shown == content);
    closeWithButton(dialog);
  };
  EXPECT_FALSE(open(opening, content, "", owner));
  EXPECT_TRUE(opening.ran);
}

TEST_F(TextDialogTest, OpensWithoutOwnerWhenTheOwnerIsNoWindow) {
  HWND gone = CreateWindowExA(0, "STATIC", "gone", 0, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(gone);
  for (HWND missing : {static_cast<HWND>(nullptr), gone}) {
    Opening opening;
    opening.action = [&](HWND dialog) {
      EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
      closeWithButton(dialog);
    };
    EXPECT_FALSE(open(opening, "text", "title", missing));
    EXPECT_TRUE(opening.ran);
  }
}

}  // namespace

// Message boxes on a real display: caption, icon, buttons in the
// locale's words, the answers, and the window each belongs to.
#include <gtest/gtest.h>

#include "ui/gui/message_box_window.h"
#include "ui/gui/testing/window_test_support.h"
#include "ui/message_box.h"

namespace ltb::ui::gui {
namespace {

TEST(MessageBoxWindow, CaptionIconButtonsAndAnswers) {
  REQUIRE_DISPLAY();
  DialogAnswerer yes(wxID_YES);
  yes.Arm();
  EXPECT_EQ(ShowMessageBox(nullptr, "同名のファイルが存在します。\n\n上書きしてもよろしいですか？",
                           "消費税", kMbYesNo | kMbIconQuestion),
            kIdYes);
  EXPECT_EQ(yes.title, "\xE6\xB6\x88\xE8\xB2\xBB\xE7\xA8\x8E");  // the caption, UTF-8
  EXPECT_TRUE(yes.icon) << "a question shows the question icon";
  ASSERT_EQ(yes.buttons.size(), 2u);
  if (JapaneseLocale()) {
    EXPECT_EQ(yes.buttons[0].rfind("\xE3\x81\xAF\xE3\x81\x84", 0), 0u) << yes.buttons[0];  // はい
    EXPECT_EQ(yes.buttons[1].rfind("\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88", 0), 0u)  // いいえ
        << yes.buttons[1];
  } else {
    EXPECT_EQ(yes.buttons[0], "Yes");
    EXPECT_EQ(yes.buttons[1], "No");
  }
  // Buttons of normal size, side by side, inside the box's margins.
  for (const wxRect& button : yes.buttonRects) {
    EXPECT_LT(button.width, yes.client.x / 2);
    EXPECT_GE(button.x, 6);
    EXPECT_LE(button.GetRight(), yes.client.x - 6);
    EXPECT_LE(button.GetBottom(), yes.client.y - 6);
  }
  DialogAnswerer closed(kCloseTheBox);
  closed.Arm();
  EXPECT_EQ(
      ShowMessageBox(nullptr, "上書きしてもよろしいですか？", "消費税", kMbYesNo | kMbIconWarning),
      kIdNo);
  EXPECT_TRUE(closed.icon);
  DialogAnswerer ok(wxID_OK);
  ok.Arm();
  EXPECT_EQ(ShowMessageBox(nullptr, "消費税情報の出力が終了しました。", "消費税",
                           kMbOk | kMbIconInformation),
            kIdOk);
  EXPECT_TRUE(ok.icon);
  EXPECT_EQ(ok.buttons.size(), 1u);
}

TEST(MessageBoxWindow, BoxWithoutAWindowOfOursBelongsToTheParentProgramsWindow) {
  REQUIRE_DISPLAY();
  // The parent program's window, made on a connection of its own.
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  const Window foreign =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
  XSync(display, False);
  DialogAnswerer ok(wxID_OK);
  ok.Arm();
  EXPECT_EQ(ShowMessageBox(nullptr, "ドライブ名が有効でありません。", "消費税",
                           kMbOk | kMbIconWarning, foreign),
            kIdOk);
  EXPECT_EQ(ok.transientFor, foreign);
  XDestroyWindow(display, foreign);
  XCloseDisplay(display);
}

}  // namespace
}  // namespace ltb::ui::gui

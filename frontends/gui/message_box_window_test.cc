// Message boxes on a real display: caption, icon, buttons in the
// locale's words, the answers, and the window each belongs to.
#include <cstdlib>

#include <gtest/gtest.h>

#include "frontends/gui/message_box_window.h"
#include "frontends/gui/progress_window.h"
#include "frontends/gui/template_window.h"
#include "frontends/gui/testing/window_test_support.h"
#include "frontends/gui/x11_transient.h"
#include "platform/env.h"
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

// A key pressed before the box appeared (typed while the run worked and
// waiting in the queue) is no answer; a key pressed since is.
TEST(MessageBoxWindow, KeysPressedBeforeTheBoxAppearedAreNoAnswer) {
  REQUIRE_DISPLAY();
  MessageBoxWindow box(wxString::FromUTF8("x"), wxString::FromUTF8("x"),
                       MessageBoxStyle(kMbYesNo | kMbIconQuestion));
  const uint32_t shownAt = 0xFFFFFF00u;  // just before the server's clock wraps
  box.IgnoreKeysBefore(shownAt);
  auto press = [&](uint32_t at) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_RETURN;
    key.SetTimestamp(at);
    key.SetEventObject(&box);
    box.ProcessWindowEvent(key);
    return key.GetSkipped();
  };
  // Skipped on: the box handles the key as usual. Not skipped: dropped.
  EXPECT_FALSE(press(shownAt - 5000));
  EXPECT_TRUE(press(shownAt + 10));
  EXPECT_TRUE(press(shownAt + 0x200u));  // past the wrap
}

// Under a window manager, at the scale the toolkit runs at (the test runs
// again with GDK_SCALE=2): a box with an owner is transient for it and
// centred on it wherever the owner sits; a box without one is centred on
// the screen. Positions are read from the X server, in device pixels.
TEST(MessageBoxWindow, SitsCentredOnItsOwnerOrTheScreen) {
  REQUIRE_DISPLAY();
  ManagedDisplay managed;
  if (!managed.Ready()) GTEST_SKIP() << "no window manager";
  Display* display = managed.display();
  ProgressWindow progress(*platform::Env::Default());
  const wxRect screen(0, 0, DisplayWidth(display, DefaultScreen(display)),
                      DisplayHeight(display, DefaultScreen(display)));
  struct Place {
    const char* name;
    wxPoint ownerAt;  // logical pixels; no owner when negative
  };
  const Place places[] = {{"top left", {30, 40}}, {"right", {200, 200}}, {"no owner", {-1, -1}}};
  for (const Place& place : places) {
    SCOPED_TRACE(place.name);
    wxWindow* owner = nullptr;
    if (place.ownerAt.x >= 0) {
      owner = progress.Window();
      owner->Move(place.ownerAt);
      progress.Show();
      ASSERT_TRUE(PumpUntil([&] { return owner->IsShownOnScreen(); }, 5000));
      Pump(300);  // the window manager has placed it
    }
    DialogAnswerer ok(wxID_OK);
    ok.delayMs = 400;  // placed by the window manager too
    if (owner == nullptr) {
      ok.beforeAnswer = [](wxWindow* box) { SaveFramedCapture(box, "message_box.png"); };
    }
    ok.Arm();
    EXPECT_EQ(
        ShowMessageBox(owner, "｢消費税｣の集計を中止します。", "消費税", kMbOk | kMbIconInformation),
        kIdOk);
    const wxRect around =
        owner != nullptr ? WindowOnScreen(display, static_cast<Window>(XWindowOf(owner))) : screen;
    const wxPoint want(around.x + around.width / 2, around.y + around.height / 2);
    const wxPoint got(ok.onScreen.x + ok.onScreen.width / 2,
                      ok.onScreen.y + ok.onScreen.height / 2);
    // Within a title bar's height: the manager may centre the frame.
    const int slack =
        24 * (std::getenv("GDK_SCALE") != nullptr ? std::atoi(std::getenv("GDK_SCALE")) : 1);
    EXPECT_LE(std::abs(got.x - want.x), slack) << got.x << " vs " << want.x;
    EXPECT_LE(std::abs(got.y - want.y), slack) << got.y << " vs " << want.y;
    EXPECT_EQ(ok.transientFor, owner != nullptr ? XWindowOf(owner) : 0u);
  }
  progress.Close();
  Pump(50);
}

}  // namespace
}  // namespace ltb::ui::gui

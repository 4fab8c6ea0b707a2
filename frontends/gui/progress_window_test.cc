// The progress dialog on a real display: its caption and bars reach the
// screen, and its cancel button, Escape and close button ask the run to
// stop.
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/control.h>
#include <wx/gauge.h>

#include "frontends/gui/progress_window.h"
#include "frontends/gui/template_window.h"
#include "frontends/gui/testing/window_test_support.h"
#include "frontends/gui/x11_transient.h"
#include "platform/env.h"

#include <X11/Xlib.h>
#include "frontends/gui/wx_text.h"

namespace ltb::ui::gui {
namespace {

TEST(ProgressWindowTest, CaptionAndBarsReachTheScreen) {
  REQUIRE_DISPLAY();
  ProgressWindow progress(*platform::Env::Default());
  progress.Window()->Move(20, 300);
  progress.Show();
  // Many cheap ticks, then the final state.
  for (int i = 0; i <= 100000; ++i) {
    progress.SetActivity(i % 11, 10);
    progress.Repaint();
  }
  wxGauge* overallGauge = dynamic_cast<wxGauge*>(progress.Window()->Control(1019));
  ASSERT_NE(overallGauge, nullptr);
  // The full overall bar reaches the window at once, whatever the throttle
  // last did; so does the last caption.
  progress.SetOverall(1000, 1000);
  progress.SetActivity(5, 10);
  progress.Repaint();
  EXPECT_EQ(overallGauge->GetValue(), overallGauge->GetRange());
  progress.SetCaption("集計中 100％");
  progress.Repaint();
  TemplateWindow* window = progress.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FromWx(window->GetTitle()), "集計中 100％");
  // The template's window and a row below it for the cancel button.
  EXPECT_EQ(window->GetClientSize(), window->ToPixels(0, 0, 221, 44 + 19).GetSize());
  // The theme draws the bar as a band somewhere inside its rectangle: find
  // the band's row by its highlight colour near the left end, then look at
  // the fraction asked for: 1 filled, 0 empty, -1 no band at all.
  wxImage screen;
  auto filledAt = [&](wxWindow* bar, double fraction) {
    const wxRect r = bar->GetScreenRect();
    const int x = r.x + static_cast<int>(r.width * fraction);
    const int probe = r.x + r.width / 20;
    for (int y = r.y; y < r.y + r.height; ++y) {
      const int red = screen.GetRed(probe, y), blue = screen.GetBlue(probe, y);
      if (blue > red + 60) return screen.GetBlue(x, y) > screen.GetRed(x, y) + 60 ? 1 : 0;
    }
    return -1;
  };
  wxWindow* overall = window->Control(1019);
  wxWindow* activity = window->Control(1024);
  // The full overall bar is one colour from end to end; the half-full
  // activity bar differs between its two halves. The X server shows the
  // window in its own time: look again (bounded) until it does.
  auto finalStateShown = [&] {
    return filledAt(overall, 0.2) == 1 && filledAt(overall, 0.97) == 1 &&
           filledAt(activity, 0.2) == 1 && filledAt(activity, 0.8) == 0;
  };
  bool shown = false;
  for (int attempt = 0; attempt < 50 && !shown; ++attempt) {
    Pump(60);
    screen = Screenshot(window);
    ASSERT_TRUE(screen.IsOk());
    shown = finalStateShown();
  }
  EXPECT_TRUE(shown) << "overall " << filledAt(overall, 0.2) << filledAt(overall, 0.97)
                     << ", activity " << filledAt(activity, 0.2) << filledAt(activity, 0.8);
  // Each bar is drawn over the height its template gives it (22 and 10
  // units), not as a thin band in the middle.
  auto bandHeight = [&](wxWindow* bar) {
    const wxRect r = bar->GetScreenRect();
    const int probe = r.x + r.width / 2;
    int rows = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
      if (screen.GetBlue(probe, y) > screen.GetRed(probe, y) + 60) ++rows;
    }
    return rows;
  };
  EXPECT_EQ(overall->GetRect(), window->ToPixels(5, 6, 211, 22));
  EXPECT_EQ(activity->GetRect(), window->ToPixels(5, 29, 211, 10));
  EXPECT_GE(bandHeight(overall), overall->GetSize().y * 3 / 4);
  EXPECT_GE(bandHeight(activity), activity->GetSize().y / 2);
  if (!shown) SaveCapture(screen, window->GetScreenRect(), "progress_failure.png");
  progress.Close();
  EXPECT_EQ(progress.Window(), nullptr);
  Pump(50);
}

// Asks the window manager to close a window, as its close button does.
void CloseThroughTheWindowManager(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = CurrentTime;
  event.xclient.data.l[1] = 2;  // from a pager: a person's request
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureNotifyMask | SubstructureRedirectMask, &event);
  XFlush(display);
}

// While a run ticks the dialog, the cancel button, Escape and the window's
// close button each ask it to stop; the window stays up (the run closes
// it) and keeps nothing more to press.
TEST(ProgressWindowTest, CancelButtonEscapeAndCloseButtonAskTheRunToStop) {
  REQUIRE_DISPLAY();
  if (!HaveXdotool()) GTEST_SKIP() << "no xdotool";
  ManagedDisplay screen;
  if (!screen.Ready()) GTEST_SKIP() << "no window manager";
  Display* display = screen.display();
  for (const char* how : {"button", "escape", "close"}) {
    SCOPED_TRACE(how);
    ProgressWindow progress(*platform::Env::Default());
    TemplateWindow* window = progress.Window();
    window->Move(100, 100);
    progress.Show();
    ASSERT_TRUE(PumpUntil([&] { return window->IsShownOnScreen(); }, 5000));
    Pump(300);
    const Window id = static_cast<Window>(XWindowOf(window));
    auto* cancel = dynamic_cast<wxButton*>(window->FindWindow(wxID_CANCEL));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(FromWx(wxControl::RemoveMnemonics(cancel->GetLabel()))
                  .rfind(JapaneseLocale() ? "キャンセル" : "Cancel", 0),
              0u);
    EXPECT_FALSE(progress.CancelRequested());
    if (std::string(how) == "button") {
      progress.SetCaption("集計中 37％");
      progress.SetOverall(370, 1000);
      progress.SetActivity(6, 10);
      progress.Repaint();
      Pump(300);
      SaveFramedCapture(window, "progress_dialog.png");
    }
    if (std::string(how) == "button") {
      const wxRect r = cancel->GetScreenRect();
      TypeKeys("mousemove " + std::to_string(r.x + r.width / 2) + " " +
               std::to_string(r.y + r.height / 2) + " click 1");
    } else if (std::string(how) == "escape") {
      TypeKeys("windowfocus --sync " + std::to_string(id));
      TypeKeys("key Escape");
    } else {
      CloseThroughTheWindowManager(display, id);
    }
    // The run goes on ticking and asking, as the aggregation does.
    bool stopped = false;
    for (int i = 0; i < 200000 && !stopped; ++i) {
      progress.SetActivity(i % 11, 10);
      progress.Repaint();
      stopped = progress.CancelRequested();
      if (i % 1000 == 0) usleep(1000);
    }
    EXPECT_TRUE(stopped) << "the request never reached the run";
    EXPECT_TRUE(window->IsShown()) << "the window went before the run closed it";
    EXPECT_FALSE(cancel->IsEnabled());
    progress.Close();
    Pump(100);
  }
}

}  // namespace
}  // namespace ltb::ui::gui

// The program's windows as a window manager sees them: what they offer the
// person (no minimise, no maximise) and which window each belongs to.
#include <algorithm>

#include <gtest/gtest.h>

#include "frontends/gui/controller_dialog.h"
#include "frontends/gui/message_box_window.h"
#include "frontends/gui/progress_window.h"
#include "frontends/gui/template_window.h"
#include "frontends/gui/testing/window_test_support.h"
#include "frontends/gui/x11_transient.h"
#include "platform/env.h"
#include "resources/conditions_dialog_template.h"
#include "ui/message_box.h"

#include <X11/Xatom.h>

namespace ltb::ui::gui {
namespace {

// The windows that hold up the run (the progress dialog, a message box)
// are offered neither minimise nor maximise, as the window manager itself
// computes what it offers (_NET_WM_ALLOWED_ACTIONS), under openbox and
// under metacity, and still take the keyboard focus. Every window asks for
// neither in its Motif hints, the conditions dialog stays a dialog, and any
// window minimised anyway comes back at once.
TEST(ModalWindows, OfferNoMinimiseOrMaximiseUnderEachWindowManager) {
  REQUIRE_DISPLAY();
  if (!HaveXdotool()) GTEST_SKIP() << "no xdotool";
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  int managers = 0;
  for (const char* program : {"openbox", "metacity"}) {
    SCOPED_TRACE(program);
    WindowManager manager(display, program);
    if (!manager.Running()) continue;
    ++managers;
    FakeController controller;
    ControllerDialog conditions(nullptr, resources::ConditionsDialogTemplate(), controller);
    ProgressWindow progress(*platform::Env::Default());
    MessageBoxWindow box(wxString::FromUTF8("x"), wxString::FromUTF8("x"),
                         MessageBoxStyle(kMbOk | kMbIconInformation));
    struct Shown {
      const char* name;
      wxTopLevelWindow* window;
      bool holdsTheRun;
    };
    const Shown windows[] = {{"conditions", &conditions, false},
                             {"progress", progress.Window(), true},
                             {"message box", &box, true}};
    for (const Shown& shown : windows) {
      SCOPED_TRACE(shown.name);
      wxTopLevelWindow* window = shown.window;
      bool minimised = false;
      window->Bind(wxEVT_ICONIZE, [&minimised](wxIconizeEvent& event) {
        event.Skip();
        minimised = minimised || event.IsIconized();
      });
      window->Show();
      const Window id = static_cast<Window>(XWindowOf(window));
      ASSERT_TRUE(PumpUntil(
          [&] {
            return AtomNames(display, id, "_NET_WM_ALLOWED_ACTIONS").size() > 0 &&
                   window->IsShownOnScreen();
          },
          10000));
      // Motif hints: functions and decorations without minimise (8, 0x20)
      // or maximise (0x10, 0x40).
      Atom type = 0;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* data = nullptr;
      XGetWindowProperty(display, id, XInternAtom(display, "_MOTIF_WM_HINTS", False), 0, 5, False,
                         AnyPropertyType, &type, &format, &items, &after, &data);
      ASSERT_NE(data, nullptr);
      ASSERT_GE(items, 3u);
      const long* hints = reinterpret_cast<const long*>(data);
      EXPECT_EQ(hints[1] & 0x18, 0) << "functions " << hints[1];
      EXPECT_EQ(hints[2] & 0x60, 0) << "decorations " << hints[2];
      XFree(data);
      const std::vector<std::string> actions = AtomNames(display, id, "_NET_WM_ALLOWED_ACTIONS");
      for (const std::string& action : actions) {
        EXPECT_EQ(action.find("MAXIMIZE"), std::string::npos) << action;
        if (shown.holdsTheRun) {
          EXPECT_NE(action, "_NET_WM_ACTION_MINIMIZE");
        }
      }
      // It can still be moved and closed.
      EXPECT_NE(std::find(actions.begin(), actions.end(), "_NET_WM_ACTION_CLOSE"), actions.end());
      EXPECT_NE(std::find(actions.begin(), actions.end(), "_NET_WM_ACTION_MOVE"), actions.end());
      if (!shown.holdsTheRun) {
        EXPECT_EQ(AtomNames(display, id, "_NET_WM_WINDOW_TYPE"),
                  std::vector<std::string>{"_NET_WM_WINDOW_TYPE_DIALOG"});
      } else {
        // The keyboard reaches it: the manager made it the active window.
        EXPECT_TRUE(PumpUntil(
            [&] {
              const std::string active =
                  "xdotool getactivewindow 2>/dev/null | grep -qx " + std::to_string(id);
              return std::system(active.c_str()) == 0;
            },
            5000))
            << "never focused";
      }
      // Minimised through the window manager, it is back at once.
      TypeKeys("windowminimize " + std::to_string(id));
      if (PumpUntil([&] { return minimised; }, 3000)) {
        EXPECT_TRUE(PumpUntil(
            [&] {
              XWindowAttributes attributes;
              return !window->IsIconized() && XGetWindowAttributes(display, id, &attributes) &&
                     attributes.map_state == IsViewable;
            },
            10000))
            << "stays minimised";
      }
      window->Hide();
      Pump(50);
    }
    progress.Close();
    Pump(50);
  }
  XCloseDisplay(display);
  if (managers == 0) GTEST_SKIP() << "no window manager";
}

TEST(X11Transient, DialogBecomesTransientForAnExistingWindowOnly) {
  REQUIRE_DISPLAY();
  TemplateWindow parent(nullptr, resources::ConditionsDialogTemplate());
  TemplateWindow child(nullptr, resources::ConditionsDialogTemplate());
  const uint64_t parentId = XWindowOf(&parent);
  ASSERT_NE(parentId, 0u);
  EXPECT_TRUE(MakeTransientFor(&child, parentId));
  EXPECT_TRUE(MakeTransientFor(&child, 0));
  EXPECT_FALSE(MakeTransientFor(&child, 0x3fffff01));  // no such window
}

}  // namespace
}  // namespace ltb::ui::gui

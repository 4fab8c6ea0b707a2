// The program's windows as a window manager sees them: what they offer the
// person (no minimise, no maximise) and which window each belongs to.
#include <gtest/gtest.h>

#include "platform/env.h"
#include "resources/conditions_dialog_template.h"
#include "ui/gui/controller_dialog.h"
#include "ui/gui/message_box_window.h"
#include "ui/gui/progress_window.h"
#include "ui/gui/template_window.h"
#include "ui/gui/testing/window_test_support.h"
#include "ui/gui/x11_transient.h"
#include "ui/message_box.h"

#include <X11/Xatom.h>

namespace ltb::ui::gui {
namespace {

// A modal window asks for neither minimise nor maximise in its Motif hints,
// stays a dialog (a toolbar or menu type would lose minimise under openbox
// but could no longer be focused by a click into it), cannot be maximised,
// and comes back at once when the window manager minimises it anyway
// (openbox ignores the Motif minimise and maximise bits on every window).
TEST(ModalWindows, OfferNoMinimiseOrMaximiseAndComeBackWhenMinimised) {
  REQUIRE_DISPLAY();
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "no xdotool";
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  {
    WindowManager manager(display);
    if (!manager.Running()) {
      XCloseDisplay(display);
      GTEST_SKIP() << "no window manager";
    }
    FakeController controller;
    ControllerDialog conditions(nullptr, resources::ConditionsDialogTemplate(), controller);
    ProgressWindow progress(*platform::Env::Default());
    MessageBoxWindow box(wxString::FromUTF8("x"), wxString::FromUTF8("x"),
                         MessageBoxStyle(kMbOk | kMbIconInformation));
    const std::vector<std::pair<const char*, wxTopLevelWindow*>> windows = {
        {"conditions", &conditions}, {"progress", progress.Window()}, {"message box", &box}};
    for (const auto& [name, window] : windows) {
      SCOPED_TRACE(name);
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
      EXPECT_EQ(AtomNames(display, id, "_NET_WM_WINDOW_TYPE"),
                std::vector<std::string>{"_NET_WM_WINDOW_TYPE_DIALOG"});
      for (const std::string& action : AtomNames(display, id, "_NET_WM_ALLOWED_ACTIONS")) {
        EXPECT_EQ(action.find("MAXIMIZE"), std::string::npos) << action;
      }
      // Minimised through the window manager, it is back at once.
      TypeKeys("windowminimize " + std::to_string(id));
      EXPECT_TRUE(PumpUntil([&] { return minimised; }, 10000)) << "never minimised";
      EXPECT_TRUE(PumpUntil(
          [&] {
            XWindowAttributes attributes;
            return !window->IsIconized() && XGetWindowAttributes(display, id, &attributes) &&
                   attributes.map_state == IsViewable;
          },
          10000))
          << "stays minimised";
      window->Hide();
      Pump(50);
    }
    progress.Close();
  }
  XCloseDisplay(display);
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

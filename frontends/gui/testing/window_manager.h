// A window manager on the test display, for tests that look at windows as a
// desktop shows them. Xlib only: the program's own tests use it too.
#pragma once

#include <sys/types.h>

#include <X11/Xlib.h>

namespace ltb::ui::gui {

// A window manager on the test display for the life of the object: the one
// already running, else the one named (openbox by default) started here
// (none: Running() is false).
class WindowManager {
 public:
  explicit WindowManager(Display* display, const char* program = "openbox");
  ~WindowManager();
  bool Running() { return Present(); }

 private:
  bool Present();
  Display* display_;
  pid_t pid_ = 0;
};

}  // namespace ltb::ui::gui

#include "frontends/gui/testing/window_manager.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <X11/Xatom.h>

namespace ltb::ui::gui {

WindowManager::WindowManager(Display* display, const char* program) : display_(display) {
  if (Present()) return;
  if (std::system((std::string("command -v ") + program + " >/dev/null").c_str()) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    if (std::string(program) == "openbox") {
      execlp(program, program, "--sm-disable", static_cast<char*>(nullptr));
    } else {
      execlp(program, program, "--replace", static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  for (int waited = 0; waited < 10000 && !Present(); waited += 50) usleep(50000);
  // Let it finish taking over the screen before windows are mapped.
  usleep(200000);
}

WindowManager::~WindowManager() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  // The next manager must not find this one's check window still there.
  for (int waited = 0; waited < 5000 && Present(); waited += 50) usleep(50000);
}

bool WindowManager::Present() {
  const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, XA_WINDOW, &type,
                     &format, &items, &after, &data);
  bool present = data != nullptr && items == 1;
  if (present) {
    // A manager that has gone leaves its property behind: its check window
    // must still exist.
    XWindowAttributes attributes;
    const Window checkWindow = *reinterpret_cast<Window*>(data);
    present = XGetWindowAttributes(display_, checkWindow, &attributes) != 0;
  }
  if (data != nullptr) XFree(data);
  return present;
}

}  // namespace ltb::ui::gui

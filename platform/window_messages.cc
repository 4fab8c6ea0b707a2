// The parent program's window, stood in for by an X11 window.
//
// A posted message is a ClientMessage of type "_LTB_WINDOW_MESSAGE",
// format 32: data.l[0] the message number, data.l[1] the first parameter
// sign-extended, data.l[2] the second parameter (32 bits travel, as the X
// protocol carries 32-bit items). A disabled window carries the property
// "_LTB_WINDOW_DISABLED" (CARDINAL, value 1).
#include "platform/window_messages.h"

#include <ctime>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <mutex>

namespace ltb::platform {
namespace {

// Xlib reports protocol errors through one process-wide handler; ours is
// installed only around our own requests, records the error for our
// connection and hands any other connection's error to the previous handler.
std::mutex gMutex;
Display* gDisplay = nullptr;
unsigned char gError = 0;
XErrorHandler gPrevious = nullptr;

int RecordError(Display* display, XErrorEvent* event) {
  if (display == gDisplay) {
    if (gError == 0) gError = event->error_code;
    return 0;
  }
  return gPrevious ? gPrevious(display, event) : 0;
}

// A busy X server may turn a new connection away now and then; a few
// attempts 100 ms apart keep the parent from missing its notification.
// Without a display name there is nothing to retry.
Display* OpenWithRetry(const std::string& name) {
  if (name.empty()) return nullptr;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (Display* d = XOpenDisplay(name.c_str())) return d;
    struct timespec pause = {0, 100 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return nullptr;
}

// One short-lived connection to the named display; empty when there is
// none.
class Connection {
 public:
  explicit Connection(const std::string& name) : lock_(gMutex), display_(OpenWithRetry(name)) {
    if (!display_) return;
    gDisplay = display_;
    gError = 0;
    gPrevious = XSetErrorHandler(RecordError);
  }
  ~Connection() {
    if (!display_) return;
    XSync(display_, False);
    XSetErrorHandler(gPrevious);
    gDisplay = nullptr;
    XCloseDisplay(display_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  Display* display() const { return display_; }
  // Waits for the server to answer everything sent; the first error since
  // the connection was opened, 0 when none.
  unsigned char Sync() {
    XSync(display_, False);
    return gError;
  }

 private:
  std::lock_guard<std::mutex> lock_;
  Display* display_;
};

bool WindowExists(Connection& c, Window w) {
  XWindowAttributes attrs;
  return XGetWindowAttributes(c.display(), w, &attrs) != 0 && c.Sync() == 0;
}

}  // namespace

bool PostWindowMessage(const std::string& display, uint64_t window, uint32_t message,
                       int32_t wparam, int64_t lparam) {
  Connection c(display);
  if (!c.display() || window == 0) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(window);
  event.xclient.message_type = XInternAtom(c.display(), "_LTB_WINDOW_MESSAGE", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(message);
  event.xclient.data.l[1] = static_cast<long>(wparam);  // sign-extended
  event.xclient.data.l[2] = static_cast<long>(lparam);
  if (XSendEvent(c.display(), static_cast<Window>(window), False, NoEventMask, &event) == 0) {
    return false;
  }
  return c.Sync() == 0;
}

bool EnableWindow(const std::string& display, uint64_t window, bool enable) {
  Connection c(display);
  if (!c.display() || window == 0) return false;
  Atom disabled = XInternAtom(c.display(), "_LTB_WINDOW_DISABLED", False);
  if (enable) {
    XDeleteProperty(c.display(), static_cast<Window>(window), disabled);
  } else {
    unsigned long one = 1;  // format-32 items are longs in Xlib
    XChangeProperty(c.display(), static_cast<Window>(window), disabled, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&one), 1);
  }
  return c.Sync() == 0;
}

bool SetForegroundWindow(const std::string& display, uint64_t window) {
  Connection c(display);
  if (!c.display() || window == 0 || !WindowExists(c, static_cast<Window>(window))) {
    return false;
  }
  XRaiseWindow(c.display(), static_cast<Window>(window));
  // The focus request fails for an unmapped window; that is no failure of
  // the call, as Windows only asks for the foreground too.
  XSetInputFocus(c.display(), static_cast<Window>(window), RevertToParent, CurrentTime);
  c.Sync();
  return true;
}

}  // namespace ltb::platform

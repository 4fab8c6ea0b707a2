#include "app/parent_window.h"

#include "platform/window_messages.h"

namespace ltb::app {

void X11ParentWindow::Enable(host::WindowHandle window, bool enable) {
  platform::EnableWindow(display_, window, enable);
}

void X11ParentWindow::SetForeground(host::WindowHandle window) {
  platform::SetForegroundWindow(display_, window);
}

void X11ParentWindow::Post(host::WindowHandle window, uint32_t message, int32_t wparam,
                           int64_t lparam) {
  platform::PostWindowMessage(display_, window, message, wparam, lparam);
}

}  // namespace ltb::app

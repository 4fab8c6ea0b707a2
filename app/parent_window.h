// The parent program's window as the run driver uses it: disabled while the
// run works, raised, re-enabled and notified at the end.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "host/host.h"

namespace ltb::app {

class ParentWindow {
 public:
  virtual ~ParentWindow() = default;
  virtual void Enable(host::WindowHandle window, bool enable) = 0;
  virtual void SetForeground(host::WindowHandle window) = 0;
  // wparam arrives sign-extended; a dead window or no display fails quietly.
  virtual void Post(host::WindowHandle window, uint32_t message, int32_t wparam,
                    int64_t lparam) = 0;
};

// The real parent: X11 window messages through platform/window_messages.h,
// on the display named by `display` ($DISPLAY; empty: none, every call
// fails quietly).
class X11ParentWindow : public ParentWindow {
 public:
  explicit X11ParentWindow(std::string display) : display_(std::move(display)) {}
  void Enable(host::WindowHandle window, bool enable) override;
  void SetForeground(host::WindowHandle window) override;
  void Post(host::WindowHandle window, uint32_t message, int32_t wparam, int64_t lparam) override;

 private:
  std::string display_;
};

}  // namespace ltb::app

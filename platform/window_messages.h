// Window operations on the parent program's window, stood in for by X11.
// Each call opens a short connection to the X display it is given (as
// $DISPLAY names it). Without a display (an empty name), or for a window
// that does not exist, every call fails quietly (returns false), as
// posting to a dead window does.
#pragma once

#include <cstdint>
#include <string>

namespace ltb::platform {

// Posts an X11 ClientMessage: message number, first parameter sign-extended
// to 64 bits, second parameter.
bool PostWindowMessage(const std::string& display, uint64_t window, uint32_t message,
                       int32_t wparam, int64_t lparam);
// Marks the window disabled or enabled (a documented property on the
// window, since X11 has no such state of its own).
bool EnableWindow(const std::string& display, uint64_t window, bool enable);
// Raises the window and asks for the input focus.
bool SetForegroundWindow(const std::string& display, uint64_t window);

}  // namespace ltb::platform

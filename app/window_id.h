// The parent's window item: the decimal number a parent program passes, or
// the "0x" hexadecimal form in which xwininfo and xdotool print window ids.
#pragma once

#include <string>
#include <string_view>

#include "host/host.h"

namespace ltb::app {

// "0x1a00007" (blanks before it allowed) is read as hexadecimal; anything
// else as the C library reads a leading decimal integer (0 when there is
// none).
host::WindowHandle ReadWindowId(std::string_view item);

// True when the whole item (blanks around it allowed) is a decimal number
// with an optional sign or a "0x" hexadecimal one.
bool IsWindowIdText(std::string_view item);

// For a parent line whose window item (before the first comma) is neither
// form: a warning naming the item and saying how it is read. Empty when
// the item is a window id, is empty, or the line has no comma.
std::string WindowItemWarning(std::string_view line);

}  // namespace ltb::app

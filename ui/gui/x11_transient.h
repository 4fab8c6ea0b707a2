// Ties a dialog to the parent program's X11 window: the window manager
// then keeps it above the parent and treats it as the parent's dialog (the
// nearest X11 has to a Windows owner window).
#pragma once

#include <cstdint>

class wxWindow;

namespace ltb::ui::gui {

// The X11 window id of a realised top-level wx window, 0 when it has none.
uint64_t XWindowOf(wxWindow* window);
// Marks `window` transient for the X11 window `parent` (0: nothing to do).
// False when either window cannot be reached.
bool MakeTransientFor(wxWindow* window, uint64_t parent);

}  // namespace ltb::ui::gui

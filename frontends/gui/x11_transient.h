// Ties a dialog to the parent program's X11 window: the window manager
// then keeps it above the parent and treats it as the parent's dialog (the
// nearest X11 has to a Windows owner window). Also keeps a modal window in
// sight when a window manager offers to minimise it.
#pragma once

#include <cstdint>

class wxTopLevelWindow;
class wxWindow;

namespace ltb::ui::gui {

// The X11 window id of a realised top-level wx window, 0 when it has none.
uint64_t XWindowOf(wxWindow* window);
// Marks `window` transient for the X11 window `parent` (0: nothing to do).
// False when either window cannot be reached.
bool MakeTransientFor(wxWindow* window, uint64_t parent);
// Moves `window` so that it is centred on the X11 window `parent`, kept on
// the screen. False (and nothing moved) when the parent cannot be reached.
bool CentreOnForeign(wxWindow* window, uint64_t parent);
// Restores `window` at once whenever it is minimised while shown. The
// Motif hints already ask for no minimise, but some window managers offer
// it on every dialog anyway: openbox ignores the hints' minimise and
// maximise bits and removes minimise only from toolbar and menu windows,
// which it will not focus on a click into them.
void KeepRestored(wxTopLevelWindow* window);

}  // namespace ltb::ui::gui

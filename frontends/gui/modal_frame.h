// How a window that holds up the run until it is answered or done (a
// message box, the progress dialog) asks the window manager to offer
// neither minimise nor maximise: out of sight, it would leave the person
// with a run that seems to hang.
#pragma once

#include <string>

class wxTopLevelWindow;

namespace ltb::ui::gui {

// The running window manager's name as it announces itself
// (_NET_SUPPORTING_WM_CHECK), empty when none does.
std::string WindowManagerName();

// Marks `window`, before it is first shown, as modal for the window manager.
// The Motif hints of the window's style (no minimise or maximise box) and
// the modal state are what most managers go by. Openbox offers minimise on
// every window whatever its hints, except on toolbar and menu windows; a
// modal toolbar window keeps its title bar, its close button and the
// keyboard focus there, so under openbox the window is typed a toolbar.
void MakeModalFrame(wxTopLevelWindow* window);

}  // namespace ltb::ui::gui

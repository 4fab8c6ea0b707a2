// The save-file dialog: a wxFileDialog over the Linux file system, fed and
// answered in Windows paths through the drive table.
#pragma once

#include <string>
#include <string_view>

#include "ui/seat.h"

class wxWindow;

namespace ltb::ui::gui {

// Shows the dialog modally over owner. On OK returns true with *chosen the
// Windows form (CP932) of the picked path.
bool ShowSaveFileDialog(wxWindow* owner, const SaveFileRequest& request, std::string* chosen);

}  // namespace ltb::ui::gui

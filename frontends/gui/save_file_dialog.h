// The save-file dialog: a wxFileDialog over the Linux file system, fed and
// answered in Windows paths through the drive table of an Env.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"
#include "ui/seat.h"

class wxWindow;

namespace ltb::ui::gui {

// Shows the dialog modally over owner. On OK returns true with *chosen the
// Windows form (CP932) of the picked path, both through env.
bool ShowSaveFileDialog(wxWindow* owner, platform::Env& env, const SaveFileRequest& request,
                        std::string* chosen);

}  // namespace ltb::ui::gui

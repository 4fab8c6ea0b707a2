// Message boxes as wxWidgets dialogs: caption, icon and buttons from the
// Windows-style flags of ui/message_box.h.
#pragma once

#include <cstdint>
#include <string_view>

class wxWindow;

namespace ltb::ui::gui {

// The wx style bits (wxOK or wxYES_NO, one icon) for Windows-style flags.
long MessageBoxStyle(unsigned flags);

// Shows the box modally over owner (may be null); returns kIdOk, kIdYes or
// kIdNo. Closing a Yes/No box without answering counts as No. A box
// without a wx owner may belong to another program's X11 window
// (foreignOwner, 0 for none): it is then made transient for that window.
int ShowMessageBox(wxWindow* owner, std::string_view text, std::string_view caption,
                   unsigned flags, uint64_t foreignOwner = 0);

}  // namespace ltb::ui::gui

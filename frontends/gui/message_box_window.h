// Message boxes as wxWidgets dialogs: caption, icon and buttons from the
// Windows-style flags of ui/message_box.h, laid out as a message box is:
// the icon of its kind beside the text, buttons of normal size centred
// below with margins, no minimise or maximise box.
#pragma once

#include <cstdint>
#include <string_view>

#include <wx/dialog.h>

namespace ltb::ui::gui {

// The wx style bits (wxOK or wxYES_NO, one icon) for Windows-style flags.
long MessageBoxStyle(unsigned flags);

// The box itself; ShowMessageBox below is how the program uses it. Tests
// find it among the top-level windows to look at it and answer it.
class MessageBoxWindow : public wxDialog {
 public:
  // style as MessageBoxStyle gives. Created without a wx parent: see
  // ShowMessageBox for how it belongs to its owner.
  MessageBoxWindow(const wxString& text, const wxString& caption, long style);

  // The answer a click on the button with that wx id (wxID_OK, wxID_YES,
  // wxID_NO) gives; ends the modal loop.
  void Answer(int wxId);

  // Drops key presses made before the X server time `shownAt` (typed while
  // the run worked, waiting in the queue): they are no answer to this box.
  void IgnoreKeysBefore(uint32_t shownAt) { shownAt_ = shownAt; }

 private:
  uint32_t shownAt_ = 0;
};

// Shows the box modally over owner (may be null), transient for it and
// centred on it; returns kIdOk, kIdYes or kIdNo. Yes is the default button
// of a question; Escape or closing a Yes/No box without answering counts as
// No. A box without a wx owner may belong to another program's X11 window
// (foreignOwner, 0 for none) in the same way.
int ShowMessageBox(wxWindow* owner, std::string_view text, std::string_view caption, unsigned flags,
                   uint64_t foreignOwner = 0);

}  // namespace ltb::ui::gui

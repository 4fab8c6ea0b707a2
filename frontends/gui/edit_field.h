// Where an edit field's caret sits: a field that scrolls horizontally shows
// the part around its caret, so a long path is shown by its end (the file
// name) when the caret is put there.
#pragma once

class wxTextCtrl;

namespace ltb::ui::gui {

// Selects the whole text with the caret at its end, scrolled into view.
// (wx's own SelectAll leaves the caret at the start, which scrolls a long
// text back to its beginning.)
void SelectAllShowingEnd(wxTextCtrl* field);

// Moves the caret to the end of the text, so the end is what shows.
void ShowEnd(wxTextCtrl* field);

}  // namespace ltb::ui::gui

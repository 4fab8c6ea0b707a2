// Wraps text for a window by the Japanese line-breaking rules: a line may
// break between any two characters of Japanese text, and at spaces in
// Latin text, but never so that a line begins with a closing bracket,
// a mark of punctuation, a prolonged sound mark or a small kana, or ends
// with an opening bracket (the character then moves to the next line).
#pragma once

#include <functional>

#include <wx/string.h>

class wxWindow;

namespace ltb::ui::gui {

// The width of a piece of text, in any unit.
using TextWidth = std::function<int(const wxString&)>;

// `text` with line breaks inserted so that no line is wider than
// `maxWidth` where the rules allow; the line breaks already in the text are
// kept. A piece that cannot break (a long Latin word) stays whole.
wxString WrapJapanese(const wxString& text, int maxWidth, const TextWidth& width);

// The same, measured in `window`'s font, at most `ems` full-width
// characters wide.
wxString WrapJapaneseFor(wxWindow* window, const wxString& text, int ems);

}  // namespace ltb::ui::gui

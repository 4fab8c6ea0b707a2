// The edge between the program's CP932 text and wxWidgets' wide strings.
//
// The front end is built with wxNO_IMPLICIT_WXSTRING_ENCODING, so a narrow
// string never becomes a wxString by accident (under a UTF-8 locale such a
// conversion silently yields an empty string for CP932 bytes); every
// crossing goes through these two functions.
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace ltb::ui::gui {

// CP932 bytes to a wxString; bytes that are not CP932 are dropped.
wxString ToWx(std::string_view cp932);
// A wxString to CP932 bytes; characters without a CP932 form become '?'.
std::string FromWx(const wxString& text);

}  // namespace ltb::ui::gui

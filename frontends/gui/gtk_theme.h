// Compact widget styling, so controls fit the sizes their dialog templates
// give them (a 12-unit edit field is about 18 pixels high; the default GTK
// theme asks for twice that and would clip the text).
#pragma once

class wxWindow;

namespace ltb::ui::gui {

// Installs the style for the whole screen; call once after the toolkit
// started.
void InstallCompactTheme();

// A progress bar drawn over the whole height it is given (the theme draws
// a thin band in the middle otherwise).
void FillHeight(wxWindow* gauge, int pixels);

// A button whose label is ellipsized rather than asking for more width
// than the button has (the toolkit complains when a control gets less than
// its minimum size).
void KeepLabelInside(wxWindow* button);

}  // namespace ltb::ui::gui

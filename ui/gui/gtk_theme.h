// Compact widget styling, so controls fit the sizes their dialog templates
// give them (a 12-unit edit field is about 18 pixels high; the default GTK
// theme asks for twice that and would clip the text).
#pragma once

namespace ltb::ui::gui {

// Installs the style for the whole screen; call once after the toolkit
// started.
void InstallCompactTheme();

}  // namespace ltb::ui::gui

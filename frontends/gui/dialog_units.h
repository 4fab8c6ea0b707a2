// Dialog units the way a template means them: a quarter of the dialog
// font's average Latin letter width across, an eighth of its height down.
// The base units come from the metrics of the one font the dialog uses, so
// a dialog keeps its template's proportions in every locale (the text
// layout's fallback fonts, which differ by language, play no part).
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>

#include "resources/conditions_dialog_template.h"

class wxWindow;

namespace ltb::ui::gui {

struct DialogBaseUnits {
  int x = 0;  // average width of the letters A-Z and a-z, in pixels
  int y = 0;  // the font's height (ascent plus descent), in pixels
};

// The font a template names when it is installed, else the first installed
// Japanese face of a fixed list (the same in every locale), else the
// toolkit's default face at the template's size.
wxFont TemplateFont(const resources::DialogTemplate& dialogTemplate);

// The base units of `font` as `window` (realised or not) draws it.
DialogBaseUnits BaseUnitsOf(const wxFont& font, wxWindow* window);

// Dialog units to pixels, rounded to nearest as the dialog manager does.
// REQUIRES: base.x and base.y are positive.
wxRect DialogToPixels(const DialogBaseUnits& base, int x, int y, int w, int h);

}  // namespace ltb::ui::gui

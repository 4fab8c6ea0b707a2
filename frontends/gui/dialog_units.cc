#include "frontends/gui/dialog_units.h"

#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>

#include <wx/fontutil.h>
#include <wx/window.h>

#include "frontends/gui/wx_text.h"

namespace ltb::ui::gui {
namespace {

// True when a font of exactly that family is installed (an alias that
// fontconfig would substitute does not count).
bool FamilyInstalled(const wxString& family) {
  const wxScopedCharBuffer name = family.utf8_str();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.data()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  const bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

// Windows' MulDiv: value * numerator / denominator, rounded half away from
// zero.
int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace

wxFont TemplateFont(const resources::DialogTemplate& dialogTemplate) {
  wxString face = ToWx(dialogTemplate.fontName);
  if (!FamilyInstalled(face)) {
    // The Windows face is not installed here: take a proportional Japanese
    // face (the install script installs one), then any Japanese face.
    static const char* const kFallbacks[] = {"VL PGothic", "VL Gothic", "Noto Sans CJK JP",
                                             "IPAPGothic", "Droid Sans Fallback"};
    face.clear();
    for (const char* candidate : kFallbacks) {
      const wxString name = wxString::FromAscii(candidate);
      if (FamilyInstalled(name)) {
        face = name;
        break;
      }
    }
  }
  wxFontInfo info(dialogTemplate.fontPoints);
  if (!face.empty()) info.FaceName(face);
  return wxFont(info);
}

DialogBaseUnits BaseUnitsOf(const wxFont& font, wxWindow* window) {
  DialogBaseUnits base;
  const wxString letters =
      wxString::FromAscii("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  int width = 0;
  window->GetTextExtent(letters, &width, nullptr, nullptr, nullptr, &font);
  base.x = (width / 26 + 1) / 2;
  // The height of the font itself, not of a line laid out with it: a line
  // takes the tallest of the fallback fonts the language brings in.
  GtkWidget* widget = static_cast<GtkWidget*>(window->GetHandle());
  PangoContext* context = widget != nullptr ? gtk_widget_get_pango_context(widget) : nullptr;
  const wxNativeFontInfo* native = font.GetNativeFontInfo();
  if (context != nullptr && native != nullptr) {
    if (PangoFont* loaded = pango_context_load_font(context, native->description)) {
      PangoFontMetrics* metrics = pango_font_get_metrics(loaded, nullptr);
      base.y = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) +
                            pango_font_metrics_get_descent(metrics));
      pango_font_metrics_unref(metrics);
      g_object_unref(loaded);
    }
  }
  if (base.y <= 0) window->GetTextExtent(letters, nullptr, &base.y, nullptr, nullptr, &font);
  if (base.x <= 0) base.x = 1;
  if (base.y <= 0) base.y = 1;
  return base;
}

wxRect DialogToPixels(const DialogBaseUnits& base, int x, int y, int w, int h) {
  return wxRect(MulDiv(x, base.x, 4), MulDiv(y, base.y, 8), MulDiv(w, base.x, 4),
                MulDiv(h, base.y, 8));
}

}  // namespace ltb::ui::gui

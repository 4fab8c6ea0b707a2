#include "ui/gui/gtk_theme.h"

#include <gtk/gtk.h>

namespace ltb::ui::gui {

void InstallCompactTheme() {
  static const char kCss[] =
      "entry { min-height: 0; padding: 0 3px; }\n"
      "button { min-height: 0; min-width: 0; padding: 0 4px; }\n"
      "radio { min-height: 0; min-width: 0; -gtk-icon-transform: scale(0.9); }\n"
      "radiobutton { padding: 0; }\n"
      "frame > border { padding: 0; }\n"
      "progressbar > trough { min-height: 0; }\n"
      "progressbar > trough > progress { min-height: 0; }\n"
      "progressbar trough, progressbar progress { min-height: 0; }\n";
  GdkScreen* screen = gdk_screen_get_default();
  if (screen == nullptr) return;
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(
      screen, GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

}  // namespace ltb::ui::gui

#include "frontends/gui/gtk_theme.h"

#include <gtk/gtk.h>

#include <set>
#include <string>
#include <utility>

#include <wx/window.h>

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
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

void FillHeight(wxWindow* gauge, int pixels) {
  auto* bar = static_cast<GtkWidget*>(gauge->GetHandle());
  GdkScreen* screen = gdk_screen_get_default();
  if (bar == nullptr || !GTK_IS_PROGRESS_BAR(bar) || screen == nullptr) return;
  // The trough's border takes a pixel above and below the band. The rule
  // names the bar, so it reaches the trough and band nodes inside it.
  const int band = pixels > 4 ? pixels - 2 : 2;
  const std::string name = "ltb-bar-" + std::to_string(band);
  gtk_widget_set_name(bar, name.c_str());
  static std::set<std::pair<GdkScreen*, int>> styled;  // rules already installed
  if (!styled.insert({screen, band}).second) return;
  const std::string css = "progressbar#" + name + " trough, progressbar#" + name +
                          " progress { min-height: " + std::to_string(band) + "px; }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
  g_object_unref(provider);
}

void KeepLabelInside(wxWindow* button) {
  auto* widget = static_cast<GtkWidget*>(button->GetHandle());
  if (widget == nullptr || !GTK_IS_BIN(widget)) return;
  GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
  if (child != nullptr && GTK_IS_LABEL(child)) {
    gtk_label_set_ellipsize(GTK_LABEL(child), PANGO_ELLIPSIZE_END);
  }
}

}  // namespace ltb::ui::gui

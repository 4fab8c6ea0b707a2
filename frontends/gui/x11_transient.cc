#include "frontends/gui/x11_transient.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>

#include <wx/gdicmn.h>
#include <wx/toplevel.h>
#include <wx/window.h>

namespace ltb::ui::gui {
uint64_t XWindowOf(wxWindow* window) {
  if (window == nullptr) return 0;
  GtkWidget* widget = static_cast<GtkWidget*>(window->GetHandle());
  if (widget == nullptr) return 0;
  if (!gtk_widget_get_realized(widget)) gtk_widget_realize(widget);
  GdkWindow* gdkWindow = gtk_widget_get_window(widget);
  if (gdkWindow == nullptr || !GDK_IS_X11_WINDOW(gdkWindow)) return 0;
  return gdk_x11_window_get_xid(gdkWindow);
}

bool MakeTransientFor(wxWindow* window, uint64_t parent) {
  if (parent == 0) return true;
  const uint64_t self = XWindowOf(window);
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  if (self == 0 || gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return false;
  Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
  // A bad parent id must not end the run: X errors are trapped and turn
  // into a false result.
  gdk_x11_display_error_trap_push(gdkDisplay);
  XWindowAttributes attributes;
  const bool exists = XGetWindowAttributes(display, static_cast<Window>(parent), &attributes) != 0;
  if (exists) XSetTransientForHint(display, static_cast<Window>(self), static_cast<Window>(parent));
  const int error = gdk_x11_display_error_trap_pop(gdkDisplay);
  return exists && error == 0;
}

}  // namespace ltb::ui::gui

namespace ltb::ui::gui {

bool CentreOnForeign(wxWindow* window, uint64_t parent) {
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  if (parent == 0 || gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return false;
  Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
  gdk_x11_display_error_trap_push(gdkDisplay);
  XWindowAttributes attributes;
  int left = 0, top = 0;
  Window child = 0;
  bool found = XGetWindowAttributes(display, static_cast<Window>(parent), &attributes) != 0 &&
               XTranslateCoordinates(display, static_cast<Window>(parent), attributes.root, 0, 0,
                                     &left, &top, &child) != 0;
  found = gdk_x11_display_error_trap_pop(gdkDisplay) == 0 && found;
  if (!found) return false;
  // The X server counts device pixels, the toolkit logical ones: at a
  // scale of 2 every X coordinate is twice the toolkit's.
  GtkWidget* widget = static_cast<GtkWidget*>(window->GetHandle());
  const int scale = widget != nullptr ? std::max(1, gtk_widget_get_scale_factor(widget)) : 1;
  left /= scale;
  top /= scale;
  const int width = attributes.width / scale, height = attributes.height / scale;
  const wxSize size = window->GetSize();
  const wxRect screen = wxGetClientDisplayRect();
  int x = left + (width - size.x) / 2;
  int y = top + (height - size.y) / 2;
  x = std::max(screen.x, std::min(x, screen.GetRight() + 1 - size.x));
  y = std::max(screen.y, std::min(y, screen.GetBottom() + 1 - size.y));
  window->Move(x, y);
  return true;
}

void KeepRestored(wxTopLevelWindow* window) {
  window->Bind(wxEVT_ICONIZE, [window](wxIconizeEvent& event) {
    event.Skip();
    if (!event.IsIconized() || !window->IsShown()) return;
    window->CallAfter([window] {
      window->Iconize(false);
      window->Raise();
    });
  });
}

}  // namespace ltb::ui::gui

#include "ui/gui/x11_transient.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

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

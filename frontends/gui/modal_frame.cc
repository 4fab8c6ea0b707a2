#include "frontends/gui/modal_frame.h"

#include <X11/Xatom.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <wx/toplevel.h>

namespace ltb::ui::gui {
namespace {

// One property of a window as raw data; empty when it has none.
std::string Property(Display* display, Window window, const char* name, Atom type) {
  Atom actual = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string value;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 64, False, type,
                         &actual, &format, &items, &after, &data) == Success &&
      data != nullptr && actual == type) {
    value.assign(reinterpret_cast<const char*>(data), items * (format == 32 ? sizeof(long) : 1));
  }
  if (data != nullptr) XFree(data);
  return value;
}

}  // namespace

std::string WindowManagerName() {
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  if (gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return std::string();
  Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
  // Read afresh each time: the manager may have changed since the last
  // window. A check window that has gone meanwhile is trapped.
  gdk_x11_display_error_trap_push(gdkDisplay);
  std::string name;
  const std::string check =
      Property(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (check.size() == sizeof(long)) {
    const Window checkWindow = static_cast<Window>(*reinterpret_cast<const long*>(check.data()));
    name =
        Property(display, checkWindow, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False));
  }
  gdk_x11_display_error_trap_pop_ignored(gdkDisplay);
  return name;
}

void MakeModalFrame(wxTopLevelWindow* window) {
  GtkWidget* widget = static_cast<GtkWidget*>(window->GetHandle());
  if (widget == nullptr || !GTK_IS_WINDOW(widget)) return;
  gtk_window_set_modal(GTK_WINDOW(widget), TRUE);
  if (WindowManagerName() == "Openbox") {
    gtk_window_set_type_hint(GTK_WINDOW(widget), GDK_WINDOW_TYPE_HINT_TOOLBAR);
  }
}

}  // namespace ltb::ui::gui

#include "frontends/gui/edit_field.h"

#include <gtk/gtk.h>

#include <wx/textctrl.h>

namespace ltb::ui::gui {
namespace {

GtkEditable* EditableOf(wxTextCtrl* field) {
  auto* widget = static_cast<GtkWidget*>(field->GetHandle());
  return widget != nullptr && GTK_IS_EDITABLE(widget) ? GTK_EDITABLE(widget) : nullptr;
}

}  // namespace

void SelectAllShowingEnd(wxTextCtrl* field) {
  if (GtkEditable* editable = EditableOf(field)) {
    // The caret goes to the second position given.
    gtk_editable_select_region(editable, 0, -1);
  } else {
    field->SelectAll();
  }
}

void ShowEnd(wxTextCtrl* field) {
  if (GtkEditable* editable = EditableOf(field)) {
    gtk_editable_set_position(editable, -1);
  } else {
    field->SetInsertionPointEnd();
  }
}

}  // namespace ltb::ui::gui

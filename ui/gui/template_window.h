// A wx dialog laid out from a dialog template: every control of the
// template at its position in dialog units, converted to pixels with the
// template's font, created in template order (which is the tab order).
#pragma once

#include <map>
#include <vector>

#include <wx/dialog.h>

#include "resources/conditions_dialog_template.h"

namespace ltb::ui::gui {

class TemplateWindow : public wxDialog {
 public:
  // parent may be null. The window is created hidden.
  TemplateWindow(wxWindow* parent, const resources::DialogTemplate& dialogTemplate);

  const resources::DialogTemplate& Template() const { return template_; }
  // The control with that id, or null.
  wxWindow* Control(int id) const;
  // The template id of a control window (kNoControlId when unknown).
  int IdOf(const wxWindow* window) const;
  // Every created control in template order, with its template record.
  struct Entry {
    const resources::ControlTemplate* record;
    wxWindow* window;
  };
  const std::vector<Entry>& Entries() const { return entries_; }

  // Pixel rectangle of a rectangle in dialog units.
  wxRect ToPixels(int x, int y, int w, int h) const;

 private:
  wxWindow* CreateControl(const resources::ControlTemplate& control);

  const resources::DialogTemplate& template_;
  std::vector<Entry> entries_;
  std::map<int, wxWindow*> byId_;
};

// Extra width a control needs beside its text (a radio button's circle, a
// button's or group box's padding), in pixels.
int TextIndicatorWidth(resources::ControlKind kind);

// Gives a text control a smaller font when its label would not fit its
// width with the dialog's font (long dataset names, fonts wider than the
// one the template was drawn for), down to a readable minimum.
void FitLabelFont(wxWindow* control, resources::ControlKind kind);

// The font a template names, or the closest installed Japanese font when
// that face is missing.
wxFont TemplateFont(const resources::DialogTemplate& dialogTemplate);

}  // namespace ltb::ui::gui

// A wx dialog laid out from a dialog template: every control of the
// template at its position in dialog units, converted to pixels with the
// base units of the template's font, created in template order (which is
// the tab order).
#pragma once

#include <map>
#include <vector>

#include <wx/dialog.h>

#include "frontends/gui/dialog_units.h"
#include "resources/conditions_dialog_template.h"

namespace ltb::ui::gui {

// A modal dialog's frame: a caption with a close box and a system menu,
// no minimise or maximise box, not resizable.
constexpr long kModalDialogStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;

class TemplateWindow : public wxDialog {
 public:
  // parent may be null. The window is created hidden. While shown it
  // cannot stay minimised: a window manager that minimises it anyway gets
  // it back at once (a modal window out of sight would block the run).
  TemplateWindow(wxWindow* parent, const resources::DialogTemplate& dialogTemplate,
                 long style = kModalDialogStyle);

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

  const DialogBaseUnits& BaseUnits() const { return base_; }
  // Pixel rectangle of a rectangle in dialog units.
  wxRect ToPixels(int x, int y, int w, int h) const;

  // Fits every label to its control after texts changed: a label too wide
  // for its control gets a smaller font, down to a readable minimum, and
  // the radio buttons share the smallest font any of them needed. Value
  // texts are ellipsized instead (see IsEllipsized).
  void FitLabels();

 private:
  wxWindow* CreateControl(const resources::ControlTemplate& control);
  void LevelLabelsWithFields();

  const resources::DialogTemplate& template_;
  DialogBaseUnits base_;
  std::vector<Entry> entries_;
  std::map<int, wxWindow*> byId_;
};

// Whether a template control shows a value that is ellipsized at its end
// when it does not fit (a left-aligned static that does not start a group,
// as the dataset facts are); the front end then offers the whole text as
// the control's tooltip.
bool IsEllipsized(const resources::ControlTemplate& control);

// True when a text control's label is wider than the control.
bool LabelClipped(wxWindow* control);

// Extra width a control needs beside its text (a radio button's circle, a
// button's or group box's padding), in pixels.
int TextIndicatorWidth(resources::ControlKind kind);

}  // namespace ltb::ui::gui

#include "frontends/gui/template_window.h"

#include <gtk/gtk.h>

#include <algorithm>

#include <wx/button.h>
#include <wx/control.h>
#include <wx/gauge.h>
#include <wx/generic/statbmpg.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "frontends/gui/gtk_theme.h"
#include "frontends/gui/wx_text.h"
#include "frontends/gui/x11_transient.h"

namespace ltb::ui::gui {

using resources::ControlKind;
using resources::ControlTemplate;
using resources::DialogTemplate;

namespace {

constexpr double kMinimumPoints = 7.0;

bool HasLabel(ControlKind kind) {
  return kind != ControlKind::kEdit && kind != ControlKind::kImage &&
         kind != ControlKind::kProgressBar;
}

// The largest size, from `font` down to a readable minimum in half points,
// at which the control's label fits its width.
double FittingPoints(wxWindow* control, ControlKind kind, wxFont font) {
  const wxString text = wxControl::RemoveMnemonics(control->GetLabel());
  const int room = control->GetSize().x - TextIndicatorWidth(kind);
  double points = font.GetFractionalPointSize();
  int width = 0;
  control->GetTextExtent(text, &width, nullptr, nullptr, nullptr, &font);
  while (width > room && points > kMinimumPoints) {
    points -= 0.5;
    font.SetFractionalPointSize(points);
    control->GetTextExtent(text, &width, nullptr, nullptr, nullptr, &font);
  }
  return points;
}

void SetPoints(wxWindow* control, wxFont font, double points) {
  font.SetFractionalPointSize(points);
  if (control->GetFont() != font) control->SetFont(font);
}

}  // namespace

bool IsEllipsized(const ControlTemplate& control) {
  return control.kind == ControlKind::kStatic && control.id != resources::kNoControlId &&
         (control.style &
          (resources::kStyleGroup | resources::kStyleRightAligned | resources::kStyleCentred)) == 0;
}

bool LabelClipped(wxWindow* control) {
  return control->GetTextExtent(wxControl::RemoveMnemonics(control->GetLabel())).x >
         control->GetClientSize().x;
}

int TextIndicatorWidth(ControlKind kind) {
  switch (kind) {
    case ControlKind::kRadioButton: return 20;
    case ControlKind::kPushButton: return 8;
    case ControlKind::kGroupBox: return 12;
    default: return 0;
  }
}

TemplateWindow::TemplateWindow(wxWindow* parent, const DialogTemplate& dialogTemplate, long style)
    : wxDialog(parent, wxID_ANY, ToWx(dialogTemplate.caption), wxDefaultPosition, wxDefaultSize,
               style),
      template_(dialogTemplate) {
  SetFont(TemplateFont(dialogTemplate));
  base_ = BaseUnitsOf(GetFont(), this);
  SetClientSize(ToPixels(0, 0, dialogTemplate.width, dialogTemplate.height).GetSize());
  for (size_t i = 0; i < dialogTemplate.controlCount; ++i) {
    const ControlTemplate& control = dialogTemplate.controls[i];
    wxWindow* window = CreateControl(control);
    if (window == nullptr) continue;
    entries_.push_back({&control, window});
    if (control.id != resources::kNoControlId) byId_[control.id] = window;
    if (control.style & resources::kStyleDisabled) window->Disable();
  }
  LevelLabelsWithFields();
  FitLabels();
  KeepRestored(this);
  Centre();
}

void TemplateWindow::LevelLabelsWithFields() {
  // A label is drawn at the top of its rectangle, a field's text in the
  // middle of its own: a label in the same row as a field, as tall as it,
  // is drawn in the middle too, so the two texts stand level.
  for (const Entry& label : entries_) {
    if (label.record->kind != ControlKind::kStatic) continue;
    auto* widget = static_cast<GtkWidget*>(label.window->GetHandle());
    if (widget == nullptr || !GTK_IS_LABEL(widget)) continue;
    for (const Entry& field : entries_) {
      if (field.record->kind == ControlKind::kEdit && field.record->y == label.record->y &&
          field.record->h == label.record->h) {
        gtk_label_set_yalign(GTK_LABEL(widget), 0.5f);
        break;
      }
    }
  }
}

wxRect TemplateWindow::ToPixels(int x, int y, int w, int h) const {
  return DialogToPixels(base_, x, y, w, h);
}

void TemplateWindow::FitLabels() {
  const wxFont font = GetFont();
  double radioPoints = font.GetFractionalPointSize();
  for (const Entry& entry : entries_) {
    const ControlKind kind = entry.record->kind;
    if (!HasLabel(kind) || IsEllipsized(*entry.record)) continue;
    const double points = FittingPoints(entry.window, kind, font);
    if (kind == ControlKind::kRadioButton) {
      radioPoints = std::min(radioPoints, points);
    } else {
      SetPoints(entry.window, font, points);
    }
  }
  for (const Entry& entry : entries_) {
    if (entry.record->kind == ControlKind::kRadioButton) {
      SetPoints(entry.window, font, radioPoints);
    }
  }
}

wxWindow* TemplateWindow::Control(int id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

int TemplateWindow::IdOf(const wxWindow* window) const {
  for (const Entry& entry : entries_) {
    if (entry.window == window) return entry.record->id;
  }
  return resources::kNoControlId;
}

wxWindow* TemplateWindow::CreateControl(const ControlTemplate& control) {
  const wxRect rect = ToPixels(control.x, control.y, control.w, control.h);
  const wxString text = ToWx(control.text);
  const unsigned style = control.style;
  switch (control.kind) {
    case ControlKind::kStatic: {
      long align = wxALIGN_LEFT;
      if (style & resources::kStyleRightAligned) align = wxALIGN_RIGHT;
      if (style & resources::kStyleCentred) align = wxALIGN_CENTRE_HORIZONTAL;
      if (IsEllipsized(control)) align |= wxST_ELLIPSIZE_END;
      auto* label = new wxStaticText(this, wxID_ANY, wxString(), rect.GetPosition(), rect.GetSize(),
                                     align | wxST_NO_AUTORESIZE);
      label->SetLabel(text);
      return label;
    }
    case ControlKind::kEdit: {
      long editStyle = 0;
      if (style & resources::kStyleRightAligned) editStyle |= wxTE_RIGHT;
      auto* edit =
          new wxTextCtrl(this, wxID_ANY, text, rect.GetPosition(), rect.GetSize(), editStyle);
      if (control.maxLength > 0) edit->SetMaxLength(control.maxLength);
      if (style & resources::kStyleDigitsOnly) {
        edit->SetValidator(wxTextValidator(wxFILTER_DIGITS));
      }
      return edit;
    }
    case ControlKind::kGroupBox: {
      auto* box = new wxStaticBox(this, wxID_ANY, text, rect.GetPosition(), rect.GetSize());
      // The frame is drawn behind the controls that sit on it.
      box->Lower();
      return box;
    }
    case ControlKind::kPushButton:
      return new wxButton(this, wxID_ANY, text, rect.GetPosition(), rect.GetSize());
    case ControlKind::kRadioButton: {
      auto* radio = new wxRadioButton(this, wxID_ANY, text, rect.GetPosition(), rect.GetSize(),
                                      (style & resources::kStyleGroup) ? wxRB_GROUP : 0);
      KeepLabelInside(radio);
      return radio;
    }
    case ControlKind::kImage:
      // Empty until a tooltip gives it something to anchor (see the views).
      // A window of its own: the toolkit looks a tooltip up from the window
      // under the pointer, and a windowless image inside a group box's
      // rectangle would be taken for the group box.
      return new wxGenericStaticBitmap(this, wxID_ANY, wxNullBitmap, rect.GetPosition(),
                                       rect.GetSize());
    case ControlKind::kProgressBar: {
      long gaugeStyle = wxGA_HORIZONTAL;
      if (style & resources::kStyleSmooth) gaugeStyle |= wxGA_SMOOTH;
      auto* gauge =
          new wxGauge(this, wxID_ANY, 100, rect.GetPosition(), rect.GetSize(), gaugeStyle);
      FillHeight(gauge, rect.height);
      return gauge;
    }
  }
  return nullptr;
}

}  // namespace ltb::ui::gui

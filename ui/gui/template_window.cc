#include "ui/gui/template_window.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/fontenum.h>
#include <wx/gauge.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "ui/gui/wx_text.h"

namespace ltb::ui::gui {

using resources::ControlKind;
using resources::ControlTemplate;
using resources::DialogTemplate;

wxFont TemplateFont(const DialogTemplate& dialogTemplate) {
  wxString face = ToWx(dialogTemplate.fontName);
  if (!wxFontEnumerator::IsValidFacename(face)) {
    // The Windows face is not installed here: take a proportional Japanese
    // face (the README's set-up installs one), then any Japanese face.
    static const char* const kFallbacks[] = {"VL PGothic", "VL Gothic", "Noto Sans CJK JP",
                                             "IPAPGothic", "Droid Sans Fallback"};
    face.clear();
    for (const char* candidate : kFallbacks) {
      wxString name = wxString::FromAscii(candidate);
      if (wxFontEnumerator::IsValidFacename(name)) {
        face = name;
        break;
      }
    }
  }
  wxFontInfo info(dialogTemplate.fontPoints);
  if (!face.empty()) info.FaceName(face);
  return wxFont(info);
}

int TextIndicatorWidth(ControlKind kind) {
  switch (kind) {
    case ControlKind::kRadioButton: return 20;
    case ControlKind::kPushButton: return 8;
    case ControlKind::kGroupBox: return 12;
    default: return 0;
  }
}

void FitLabelFont(wxWindow* control, ControlKind kind) {
  if (kind == ControlKind::kEdit || kind == ControlKind::kImage ||
      kind == ControlKind::kProgressBar) {
    return;
  }
  wxWindow* parent = control->GetParent();
  wxFont font = parent != nullptr ? parent->GetFont() : control->GetFont();
  wxString text = control->GetLabel();
  text.Replace(wxString::FromAscii("&&"), wxString::FromAscii("\x01"));
  text.Replace(wxString::FromAscii("&"), wxString());
  const int room = control->GetSize().x - TextIndicatorWidth(kind);
  static const double kMinimumPoints = 7.0;
  if (control->GetFont() != font) control->SetFont(font);
  while (control->GetTextExtent(text).x > room && font.GetFractionalPointSize() > kMinimumPoints) {
    font.SetFractionalPointSize(font.GetFractionalPointSize() - 0.5);
    control->SetFont(font);
  }
}

TemplateWindow::TemplateWindow(wxWindow* parent, const DialogTemplate& dialogTemplate)
    : wxDialog(parent, wxID_ANY, ToWx(dialogTemplate.caption), wxDefaultPosition,
               wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      template_(dialogTemplate) {
  SetFont(TemplateFont(dialogTemplate));
  SetClientSize(ConvertDialogToPixels(wxSize(dialogTemplate.width, dialogTemplate.height)));
  for (size_t i = 0; i < dialogTemplate.controlCount; ++i) {
    const ControlTemplate& control = dialogTemplate.controls[i];
    wxWindow* window = CreateControl(control);
    if (window == nullptr) continue;
    entries_.push_back({&control, window});
    if (control.id != resources::kNoControlId) byId_[control.id] = window;
    if (control.style & resources::kStyleDisabled) window->Disable();
    FitLabelFont(window, control.kind);
  }
  Centre();
}

wxRect TemplateWindow::ToPixels(int x, int y, int w, int h) const {
  return wxRect(ConvertDialogToPixels(wxPoint(x, y)), ConvertDialogToPixels(wxSize(w, h)));
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
      auto* label = new wxStaticText(this, wxID_ANY, wxString(), rect.GetPosition(),
                                     rect.GetSize(), align | wxST_NO_AUTORESIZE);
      label->SetLabel(text);
      return label;
    }
    case ControlKind::kEdit: {
      long editStyle = 0;
      if (style & resources::kStyleRightAligned) editStyle |= wxTE_RIGHT;
      auto* edit = new wxTextCtrl(this, wxID_ANY, text, rect.GetPosition(), rect.GetSize(),
                                  editStyle);
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
    case ControlKind::kRadioButton:
      return new wxRadioButton(this, wxID_ANY, text, rect.GetPosition(), rect.GetSize(),
                               (style & resources::kStyleGroup) ? wxRB_GROUP : 0);
    case ControlKind::kImage: {
      // Empty until a tooltip gives it something to anchor (see the views).
      auto* image = new wxStaticBitmap(this, wxID_ANY, wxNullBitmap, rect.GetPosition(),
                                       rect.GetSize());
      return image;
    }
    case ControlKind::kProgressBar: {
      long gaugeStyle = wxGA_HORIZONTAL;
      if (style & resources::kStyleSmooth) gaugeStyle |= wxGA_SMOOTH;
      return new wxGauge(this, wxID_ANY, 100, rect.GetPosition(), rect.GetSize(), gaugeStyle);
    }
  }
  return nullptr;
}

}  // namespace ltb::ui::gui

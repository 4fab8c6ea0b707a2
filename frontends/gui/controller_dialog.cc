#include "frontends/gui/controller_dialog.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/control.h>
#include <wx/generic/statbmpg.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "frontends/gui/edit_field.h"
#include "frontends/gui/japanese_wrap.h"
#include "frontends/gui/mnemonic.h"
#include "frontends/gui/wx_text.h"

namespace ltb::ui::gui {
namespace {

constexpr int kTooltipEms = 30;  // a help tooltip's widest line, in full-width characters

}  // namespace

using resources::ControlKind;

ControllerDialog::ControllerDialog(wxWindow* parent,
                                   const resources::DialogTemplate& dialogTemplate,
                                   DialogController& controller)
    : TemplateWindow(parent, dialogTemplate), controller_(controller) {
  SetTitle(ToWx(controller.Caption()));
  Bind(wxEVT_CHAR_HOOK, &ControllerDialog::OnCharHook, this);
  Bind(wxEVT_BUTTON, &ControllerDialog::OnButton, this);
  Bind(wxEVT_RADIOBUTTON, &ControllerDialog::OnRadio, this);
  Bind(wxEVT_TEXT, &ControllerDialog::OnText, this);
  Bind(wxEVT_CLOSE_WINDOW, &ControllerDialog::OnClose, this);
  // The first activation of the window also delivers a pending selection.
  Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
    event.Skip();
    const int id = pendingSelect_;
    if (!event.GetActive() || id == 0) return;
    pendingSelect_ = 0;
    SelectAllLater(id);
  });
  for (const Entry& entry : Entries()) {
    if (entry.record->kind != ControlKind::kEdit) continue;
    const int id = entry.record->id;
    entry.window->Bind(wxEVT_SET_FOCUS, [this, id](wxFocusEvent& event) {
      event.Skip();
      if (pendingSelect_ != id) return;
      pendingSelect_ = 0;
      SelectAllLater(id);
    });
  }
}

void ControllerDialog::SelectAllLater(int id) {
  // Selecting the whole text leaves the caret at its end, in view. A key
  // typed meanwhile cancels it: the selection must not swallow type-ahead.
  const int generation = selectGeneration_;
  CallAfter([this, id, generation] {
    if (generation != selectGeneration_) return;
    if (auto* field = dynamic_cast<wxTextCtrl*>(Control(id))) SelectAllShowingEnd(field);
  });
}

int ControllerDialog::Run(std::function<void()> onShown) {
  controller_.OnInitDialog();
  SyncFromController();
  int code = 0;
  if (controller_.Ended(&code)) return code;  // refused while opening
  ApplyFocus();
  // Once the window is up, apply the focus again: a hidden window only
  // remembers it, and the whole-text selection needs the real focus. Not
  // when the user was quicker and already typed.
  CallAfter([this] {
    if (!userTyped_) ApplyFocus();
  });
  if (onShown) CallAfter([onShown] { onShown(); });
  ShowModal();
  return controller_.Ended(&code) ? code : endCode_;
}

void ControllerDialog::SyncFromController() {
  syncing_ = true;
  bool relabelled = false;
  for (const Entry& entry : Entries()) {
    const int id = entry.record->id;
    if (id == resources::kNoControlId) continue;
    const ControlState state = controller_.State(id);
    wxWindow* window = entry.window;
    const wxString text = ToWx(state.text);
    switch (entry.record->kind) {
      case ControlKind::kEdit: {
        auto* edit = static_cast<wxTextCtrl*>(window);
        if (edit->GetValue() != text) {
          edit->ChangeValue(text);
          // A field that scrolls shows the end of a long text (a path's
          // file name) until the user moves its caret.
          if ((entry.record->style & resources::kStyleAutoHScroll) && !edit->HasFocus()) {
            ShowEnd(edit);
          }
        }
        break;
      }
      case ControlKind::kRadioButton: {
        auto* radio = static_cast<wxRadioButton*>(window);
        if (radio->GetLabel() != text) {
          radio->SetLabel(text);
          relabelled = true;
        }
        if (radio->GetValue() != state.checked) radio->SetValue(state.checked);
        break;
      }
      case ControlKind::kImage: {
        // The help icon is shown only where it has a tooltip to offer.
        auto* image = static_cast<wxStaticBitmapBase*>(window);
        const bool wanted = !state.tooltip.empty();
        if (wanted != image->GetBitmap().IsOk()) {
          image->SetBitmap(wanted ? wxArtProvider::GetBitmap(wxString::FromAscii(wxART_QUESTION),
                                                             wxString::FromAscii(wxART_OTHER),
                                                             image->GetSize())
                                  : wxNullBitmap);
        }
        break;
      }
      case ControlKind::kProgressBar: break;
      default:
        if (window->GetLabel() != text) {
          window->SetLabel(text);
          relabelled = true;
        }
        break;
    }
    if (window->IsEnabled() != state.enabled) window->Enable(state.enabled);
  }
  if (relabelled) FitLabels();
  for (const Entry& entry : Entries()) {
    if (entry.record->id == resources::kNoControlId) continue;
    wxWindow* window = entry.window;
    wxString tip = ToWx(controller_.State(entry.record->id).tooltip);
    // A help text is wrapped by the Japanese rules before the toolkit would
    // wrap it by its own, which breaks before a closing mark's word.
    if (!tip.empty()) tip = WrapJapaneseFor(window, tip, kTooltipEms);
    // A value cut short at the dialog's edge offers its whole text.
    if (tip.empty() && IsEllipsized(*entry.record) && LabelClipped(window)) {
      tip = wxControl::RemoveMnemonics(window->GetLabel());
    }
    if (window->GetToolTipText() != tip) {
      if (tip.empty()) {
        window->UnsetToolTip();
      } else {
        window->SetToolTip(tip);
      }
    }
  }
  syncing_ = false;
}

void ControllerDialog::ApplyFocus() {
  const int id = controller_.FocusId();
  wxWindow* target = Control(id);
  if (target == nullptr || !target->IsEnabled()) return;
  lastFocus_ = id;
  target->SetFocus();
  if (controller_.SelectAllOnFocus()) {
    if (auto* edit = dynamic_cast<wxTextCtrl*>(target)) {
      SelectAllShowingEnd(edit);
      // GTK moves the caret when the focus actually arrives (later, while
      // the window is being shown); select again then, so typing replaces
      // the whole text.
      pendingSelect_ = id;
    }
  }
}

bool ControllerDialog::EndIfDone() {
  int code = 0;
  if (!controller_.Ended(&code)) return false;
  endCode_ = code;
  if (IsModal()) EndModal(code);
  return true;
}

void ControllerDialog::AfterHandler(bool applyFocus) {
  if (EndIfDone()) return;
  SyncFromController();
  // A handler that does not move the focus itself leaves the controller's
  // focus where it was; only a change is applied then, so the user's own
  // moves (Tab, mouse) are not undone.
  if (applyFocus || controller_.FocusId() != lastFocus_) ApplyFocus();
}

void ControllerDialog::Click(int controlId) {
  wxWindow* window = Control(controlId);
  if (window == nullptr || !window->IsEnabled()) return;
  if (auto* radio = dynamic_cast<wxRadioButton*>(window)) {
    // An automatic radio button checks itself before the click is handled.
    if (!radio->GetValue()) radio->SetValue(true);
    controller_.OnClick(controlId);
    AfterHandler(false);
    return;
  }
  controller_.OnClick(controlId);
  AfterHandler(true);
}

void ControllerDialog::TypeText(int controlId, const std::string& cp932) {
  auto* edit = dynamic_cast<wxTextCtrl*>(Control(controlId));
  if (edit == nullptr) return;
  edit->ChangeValue(ToWx(cp932));
  controller_.OnTextChanged(controlId, cp932);
  AfterHandler(false);
}

bool ControllerDialog::PressKey(Key key) {
  const bool handled = controller_.OnKeyDown(key, FocusedId());
  if (handled) {
    AfterHandler(true);
    return true;
  }
  if (key == Key::kEscape) {
    Cancel();
    return true;
  }
  return false;
}

void ControllerDialog::Cancel() {
  controller_.OnCancel();
  if (!EndIfDone()) AfterHandler(true);
}

int ControllerDialog::FocusedId() const {
  const wxWindow* focus = wxWindow::FindFocus();
  // GTK may report an inner widget of a composite control.
  while (focus != nullptr && focus != this) {
    const int id = IdOf(focus);
    if (id != resources::kNoControlId) return id;
    focus = focus->GetParent();
  }
  return resources::kNoControlId;
}

void ControllerDialog::OnCharHook(wxKeyEvent& event) {
  // Every key cancels the selections still waiting to be applied.
  userTyped_ = true;
  pendingSelect_ = 0;
  ++selectGeneration_;
  const int code = event.GetKeyCode();
  const int modifiers = event.GetModifiers();
  if (modifiers == wxMOD_ALT && code < 128 && HandleMnemonic(code)) return;
  if (RejectedByDigitsField(event)) {
    wxBell();
    return;
  }
  if (modifiers != wxMOD_NONE) {
    event.Skip();
    return;
  }
  Key key = Key::kOther;
  switch (code) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: key = Key::kEnter; break;
    case WXK_ESCAPE: key = Key::kEscape; break;
    case WXK_F12: key = Key::kF12; break;
    case WXK_TAB: key = Key::kTab; break;
    default: break;
  }
  if (key == Key::kOther) {
    event.Skip();
    return;
  }
  if (PressKey(key)) return;
  // Enter on a control the logic leaves alone: a button or radio button
  // is pressed as the platform does; elsewhere Enter does nothing (there is
  // no default button to trigger).
  if (key == Key::kEnter) {
    const int id = FocusedId();
    const resources::ControlTemplate* record = resources::FindControl(Template(), id);
    if (record != nullptr &&
        (record->kind == ControlKind::kPushButton || record->kind == ControlKind::kRadioButton)) {
      Click(id);
    }
    return;
  }
  event.Skip();
}

bool ControllerDialog::RejectedByDigitsField(const wxKeyEvent& event) const {
  // Refused here, before the field sees the key: a character the field
  // refuses later would already have replaced the selected text.
  if ((event.GetModifiers() & ~wxMOD_SHIFT) != 0) return false;
  const wxChar typed = event.GetUnicodeKey();
  if (typed == WXK_NONE || typed < 0x20 || typed == 0x7f || (typed >= '0' && typed <= '9')) {
    return false;
  }
  const resources::ControlTemplate* record = resources::FindControl(Template(), FocusedId());
  return record != nullptr && record->kind == ControlKind::kEdit &&
         (record->style & resources::kStyleDigitsOnly) != 0;
}

bool ControllerDialog::HandleMnemonic(int keyCode) {
  std::vector<MnemonicControl> controls;
  std::vector<std::string> texts;
  texts.reserve(Entries().size());
  for (const Entry& entry : Entries()) {
    texts.push_back(FromWx(entry.window->GetLabel()));
  }
  for (size_t i = 0; i < Entries().size(); ++i) {
    const Entry& entry = Entries()[i];
    controls.push_back({entry.record->kind, texts[i], entry.window->IsEnabled(),
                        (entry.record->style & resources::kStyleTabStop) != 0});
  }
  const MnemonicHit hit = ResolveMnemonic(controls, static_cast<char>(keyCode));
  if (hit.action == MnemonicAction::kNone) return false;
  const Entry& entry = Entries()[hit.index];
  entry.window->SetFocus();
  if (hit.action == MnemonicAction::kClick) {
    Click(entry.record->id);
  } else if (auto* edit = dynamic_cast<wxTextCtrl*>(entry.window)) {
    SelectAllShowingEnd(edit);
  }
  return true;
}

void ControllerDialog::OnButton(wxCommandEvent& event) {
  const int id = IdOf(dynamic_cast<wxWindow*>(event.GetEventObject()));
  if (id == resources::kNoControlId) return;
  Click(id);
}

void ControllerDialog::OnRadio(wxCommandEvent& event) {
  if (syncing_) return;
  const int id = IdOf(dynamic_cast<wxWindow*>(event.GetEventObject()));
  if (id == resources::kNoControlId) return;
  controller_.OnClick(id);
  AfterHandler(false);
}

void ControllerDialog::OnText(wxCommandEvent& event) {
  if (syncing_) return;
  auto* edit = dynamic_cast<wxTextCtrl*>(event.GetEventObject());
  const int id = IdOf(edit);
  if (edit == nullptr || id == resources::kNoControlId) return;
  controller_.OnTextChanged(id, FromWx(edit->GetValue()));
  AfterHandler(false);
}

void ControllerDialog::OnClose(wxCloseEvent& event) {
  // Closing the window is a cancel; the logic decides when it ends.
  if (event.CanVeto()) event.Veto();
  Cancel();
}

}  // namespace ltb::ui::gui

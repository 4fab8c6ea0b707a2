// The conditions dialog (or any template dialog with toolkit-neutral
// logic) as a wx window: a thin view that renders the controller's state
// and feeds clicks, typed text and keys back to it. No rule of the dialog
// lives here.
#pragma once

#include <functional>

#include "frontends/gui/template_window.h"
#include "ui/dialog_controller.h"

namespace ltb::ui::gui {

class ControllerDialog : public TemplateWindow {
 public:
  ControllerDialog(wxWindow* parent, const resources::DialogTemplate& dialogTemplate,
                   DialogController& controller);

  // Initialises the logic and, unless that already ended the dialog, shows
  // it modally. onShown (may be empty) runs once the dialog is up, inside
  // its modal loop. Returns the controller's end code.
  int Run(std::function<void()> onShown);

  // Re-reads every control's state from the controller (texts, enabled,
  // checked, tooltip). Focus is applied separately.
  void SyncFromController();
  // Moves the focus to the controller's focus control.
  void ApplyFocus();
  // Ends the modal loop when the controller reports an end.
  bool EndIfDone();

  // Front-end actions, as a person's input would trigger them; used by the
  // event handlers and by unattended runs.
  void Click(int controlId);
  void TypeText(int controlId, const std::string& cp932);
  bool PressKey(Key key);
  void Cancel();

 private:
  void OnCharHook(wxKeyEvent& event);
  void OnButton(wxCommandEvent& event);
  void OnRadio(wxCommandEvent& event);
  void OnText(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  bool HandleMnemonic(int keyCode);
  // Whether the key types a character the focused digits-only field takes
  // no part of; such a key changes nothing.
  bool RejectedByDigitsField(const wxKeyEvent& event) const;
  int FocusedId() const;
  // After a handler: push state, move focus when asked, end when done.
  void AfterHandler(bool applyFocus);
  // Selects the edit field's whole text once the toolkit is idle, unless a
  // key arrives first.
  void SelectAllLater(int id);

  DialogController& controller_;
  int lastFocus_ = 0;
  int pendingSelect_ = 0;     // edit field to select whole once it has the focus
  int selectGeneration_ = 0;  // grows with every key; stale selections skip
  bool userTyped_ = false;
  bool syncing_ = false;
  int endCode_ = 0;
};

}  // namespace ltb::ui::gui

// The toolkit-neutral side of a dialog, as a front end sees it.
//
// The dialog's controls, their texts and states, the focus and the handlers
// live in the program's logic; a front end renders the state it reads here
// and feeds clicks, keys and typed text back. Nothing here knows a toolkit.
#pragma once

#include <string>

namespace ltb::ui {

enum class Key { kEnter, kEscape, kF12, kTab, kOther };

struct ControlState {
  std::string text;  // CP932
  bool enabled = true;
  bool checked = false;  // radio buttons
  std::string tooltip;   // CP932, empty for none
};

class DialogController {
 public:
  virtual ~DialogController() = default;
  // The dialog's caption (CP932).
  virtual std::string Caption() const = 0;
  // Called once when the front end has created its window.
  virtual void OnInitDialog() = 0;
  virtual ControlState State(int controlId) const = 0;
  // The user changed the text of an edit control.
  virtual void OnTextChanged(int controlId, const std::string& text) = 0;
  // A button or radio button was clicked.
  virtual void OnClick(int controlId) = 0;
  // A key went down with no Shift, Ctrl or Alt held, focus on focusId.
  // Returns true when the logic handled (consumed) the key.
  virtual bool OnKeyDown(Key key, int focusId) = 0;
  // Escape or closing the window.
  virtual void OnCancel() = 0;
  // The control that should have the focus, and whether its text is to be
  // selected whole; the front end applies it after every handler.
  virtual int FocusId() const = 0;
  virtual bool SelectAllOnFocus() const = 0;
  // True once the dialog has ended; *code is 1005 (execute) or 1006 (cancel).
  virtual bool Ended(int* code) const = 0;
};

}  // namespace ltb::ui

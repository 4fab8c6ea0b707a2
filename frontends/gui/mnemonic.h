// Mnemonics ("&S" in a label) the way a Windows dialog resolves them: a
// button or radio button is pressed, a label or group box passes the focus
// on to the next control in tab order that can take it.
#pragma once

#include <string_view>
#include <vector>

#include "resources/conditions_dialog_template.h"

namespace ltb::ui::gui {

// The upper-case ASCII letter or digit marked by '&' in a CP932 text, or 0.
// "&&" is a literal ampersand; bytes of double-byte characters are skipped.
char MnemonicOf(std::string_view cp932);

struct MnemonicControl {
  resources::ControlKind kind;
  std::string_view text;  // current text, CP932
  bool enabled;
  bool tabStop;
};

enum class MnemonicAction { kNone, kFocus, kClick };

struct MnemonicHit {
  MnemonicAction action = MnemonicAction::kNone;
  size_t index = 0;  // into the controls given
};

// What the key `letter` (any case) does among controls in tab order.
MnemonicHit ResolveMnemonic(const std::vector<MnemonicControl>& controls, char letter);

}  // namespace ltb::ui::gui

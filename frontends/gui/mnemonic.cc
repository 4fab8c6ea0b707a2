#include "frontends/gui/mnemonic.h"

#include "platform/cp932.h"

namespace ltb::ui::gui {

using resources::ControlKind;

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool Focusable(const MnemonicControl& c) { return c.enabled && c.tabStop; }

}  // namespace

char MnemonicOf(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    if (text[i] != '&' || i + 1 >= text.size()) continue;
    const char next = text[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    const char up = Upper(next);
    if ((up >= 'A' && up <= 'Z') || (up >= '0' && up <= '9')) return up;
    return 0;
  }
  return 0;
}

MnemonicHit ResolveMnemonic(const std::vector<MnemonicControl>& controls, char letter) {
  const char wanted = Upper(letter);
  if (wanted == 0) return {};
  for (size_t i = 0; i < controls.size(); ++i) {
    const MnemonicControl& c = controls[i];
    if (MnemonicOf(c.text) != wanted) continue;
    if (c.kind == ControlKind::kPushButton || c.kind == ControlKind::kRadioButton) {
      if (!c.enabled) return {};
      return {MnemonicAction::kClick, i};
    }
    if (c.kind != ControlKind::kStatic && c.kind != ControlKind::kGroupBox) return {};
    for (size_t j = i + 1; j < controls.size(); ++j) {
      if (Focusable(controls[j])) return {MnemonicAction::kFocus, j};
    }
    return {};
  }
  return {};
}

}  // namespace ltb::ui::gui

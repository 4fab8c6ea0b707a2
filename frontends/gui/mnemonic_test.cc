#include "frontends/gui/mnemonic.h"

#include <gtest/gtest.h>

#include "resources/conditions_dialog_template.h"

namespace ltb::ui::gui {
namespace {

using resources::ControlKind;

TEST(MnemonicOf, FindsTheMarkedLetterAndSkipsLiteralsAndDoubleByteText) {
  EXPECT_EQ(MnemonicOf("月度(&S)"), 'S');
  EXPECT_EQ(MnemonicOf("参照(&d)..."), 'D');
  EXPECT_EQ(MnemonicOf("A && B"), 0);
  EXPECT_EQ(MnemonicOf("A && &B"), 'B');
  EXPECT_EQ(MnemonicOf("実行(F12)"), 0);
  EXPECT_EQ(MnemonicOf("&"), 0);
  // 0x81 0x26 is a double-byte character whose second byte is '&'.
  EXPECT_EQ(MnemonicOf("\x81\x26X"), 0);
}

// The conditions dialog as a person meets it: controls in template order.
std::vector<MnemonicControl> ConditionsControls(bool browseEnabled) {
  std::vector<MnemonicControl> controls;
  const resources::DialogTemplate& t = resources::ConditionsDialogTemplate();
  for (size_t i = 0; i < t.controlCount; ++i) {
    const auto& c = t.controls[i];
    bool enabled = true;
    if (!browseEnabled && (c.id == 1008 || c.id == 1009)) enabled = false;
    controls.push_back({c.kind, c.text, enabled, (c.style & resources::kStyleTabStop) != 0});
  }
  return controls;
}

size_t IndexOf(int id) {
  const resources::DialogTemplate& t = resources::ConditionsDialogTemplate();
  for (size_t i = 0; i < t.controlCount; ++i) {
    if (t.controls[i].id == id) return i;
  }
  return SIZE_MAX;
}

TEST(ResolveMnemonic, LabelsPassFocusOnButtonsAndRadiosArePressed) {
  const auto controls = ConditionsControls(true);
  MnemonicHit hit = ResolveMnemonic(controls, 's');
  EXPECT_EQ(hit.action, MnemonicAction::kFocus);
  EXPECT_EQ(hit.index, IndexOf(1014));
  hit = ResolveMnemonic(controls, 'E');
  EXPECT_EQ(hit.action, MnemonicAction::kFocus);
  EXPECT_EQ(hit.index, IndexOf(1016));
  hit = ResolveMnemonic(controls, 'O');
  EXPECT_EQ(hit.action, MnemonicAction::kFocus);
  EXPECT_EQ(hit.index, IndexOf(1008));
  hit = ResolveMnemonic(controls, 'D');
  EXPECT_EQ(hit.action, MnemonicAction::kClick);
  EXPECT_EQ(hit.index, IndexOf(1009));
  hit = ResolveMnemonic(controls, 'P');
  EXPECT_EQ(hit.action, MnemonicAction::kClick);
  EXPECT_EQ(hit.index, IndexOf(1031));
  EXPECT_EQ(ResolveMnemonic(controls, 'Q').action, MnemonicAction::kNone);
}

TEST(ResolveMnemonic, DisabledTargetsAreSkippedOrIgnored) {
  const auto controls = ConditionsControls(false);
  // The group box's next tab stops (field and browse button) are disabled:
  // the focus goes on to Execute.
  MnemonicHit hit = ResolveMnemonic(controls, 'O');
  EXPECT_EQ(hit.action, MnemonicAction::kFocus);
  EXPECT_EQ(hit.index, IndexOf(1005));
  EXPECT_EQ(ResolveMnemonic(controls, 'D').action, MnemonicAction::kNone);
}

}  // namespace
}  // namespace ltb::ui::gui

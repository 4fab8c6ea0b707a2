// Dialog templates as data: the conditions dialog (130).
//
// Front ends lay their windows out from these records (positions in dialog
// units); the console form takes its labels from them. Texts are CP932.
#pragma once

#include <cstddef>

namespace ltb::resources {

enum class ControlKind {
  kStatic,    // text label
  kEdit,      // single-line edit field
  kGroupBox,  // frame with a caption
  kPushButton,
  kRadioButton,  // automatic radio button
  kImage,        // image static
  kProgressBar,
};

// Style bits of a control.
enum ControlStyle : unsigned {
  kStyleGroup = 1u << 0,  // starts a group (tab and arrow-key order)
  kStyleTabStop = 1u << 1,
  kStyleDigitsOnly = 1u << 2,    // edit accepts 0-9 only
  kStyleRightAligned = 1u << 3,  // text right-aligned
  kStyleCentred = 1u << 4,       // text centred horizontally
  kStyleVCentred = 1u << 5,      // text centred vertically
  kStyleBorder = 1u << 6,
  kStyleAutoHScroll = 1u << 7,  // edit scrolls horizontally while typing
  kStyleSmooth = 1u << 8,       // progress bar drawn without segments
  kStyleDisabled = 1u << 9,     // disabled when the window is created
};

// Controls without an id of their own (separators) carry this id.
constexpr int kNoControlId = -1;

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // CP932; "&" marks the mnemonic
  int x, y, w, h;    // dialog units
  unsigned style;    // ControlStyle bits
  int maxLength;     // edit fields: characters accepted; 0 = no limit
};

struct DialogTemplate {
  int id;
  const char* caption;   // CP932
  int width, height;     // dialog units
  const char* fontName;  // CP932
  int fontPoints;
  bool systemModal;
  bool visibleAtCreation;
  const ControlTemplate* controls;  // in template order (= tab order)
  size_t controlCount;
};

// Template 130, "消費税 - 集計条件".
const DialogTemplate& ConditionsDialogTemplate();

// The control with that id, or null (kNoControlId is never found).
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id);

}  // namespace ltb::resources

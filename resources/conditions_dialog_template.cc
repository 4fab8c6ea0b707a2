#include "resources/conditions_dialog_template.h"

namespace ltb::resources {
namespace {

constexpr unsigned kLabel = kStyleGroup | kStyleVCentred;
constexpr unsigned kValue = kStyleVCentred;
constexpr unsigned kMonthEdit =
    kStyleBorder | kStyleTabStop | kStyleDigitsOnly | kStyleRightAligned | kStyleAutoHScroll;
constexpr unsigned kSeparator = kStyleGroup | kStyleRightAligned;

const ControlTemplate kControls[] = {
    {1000, ControlKind::kStatic, "事業所名", 7, 7, 56, 12, kLabel, 0},
    {1010, ControlKind::kStatic, "××××××××××××××××××××", 79, 7, 169, 12, kValue, 0},
    {1001, ControlKind::kStatic, "会計期間", 7, 27, 56, 12, kLabel, 0},
    {1011, ControlKind::kStatic, "2001/01/01～2001/12/31", 79, 27, 169, 12, kValue, 0},
    {1002, ControlKind::kStatic, "消費税申告区分", 7, 47, 56, 12, kLabel, 0},
    {1012, ControlKind::kStatic, "××××", 79, 47, 169, 12, kValue, 0},
    {1003, ControlKind::kStatic, "課税仕入控除○○", 7, 67, 56, 12, kLabel, 0},
    {1013, ControlKind::kStatic, "××××××××", 79, 67, 169, 12, kValue, 0},
    {1004, ControlKind::kStatic, "集計期間", 7, 141, 56, 12, kLabel, 0},
    {1015, ControlKind::kStatic, "月度(&S)", 99, 141, 25, 12, kLabel, 0},
    {1014, ControlKind::kEdit, "", 79, 141, 18, 12, kMonthEdit, 2},
    {1018, ControlKind::kStatic, "～", 124, 141, 12, 12, kStyleGroup | kStyleCentred, 0},
    {1017, ControlKind::kStatic, "月度(&E)", 157, 141, 25, 12, kLabel, 0},
    {1016, ControlKind::kEdit, "", 137, 141, 18, 12, kMonthEdit, 2},
    {1007, ControlKind::kGroupBox, "出力先(&O)", 5, 164, 241, 35, kStyleGroup, 0},
    {1008, ControlKind::kEdit, "", 9, 179, 171, 12,
     kStyleBorder | kStyleTabStop | kStyleAutoHScroll, 255},
    {1009, ControlKind::kPushButton, "参照(&D)...", 185, 178, 57, 14, kStyleTabStop, 0},
    {1005, ControlKind::kPushButton, "実行(F12)", 127, 205, 57, 14, kStyleGroup | kStyleTabStop, 0},
    {1006, ControlKind::kPushButton, "キャンセル(Esc)", 189, 205, 57, 14,
     kStyleGroup | kStyleTabStop, 0},
    {kNoControlId, ControlKind::kStatic, "：", 65, 141, 9, 12, kSeparator, 0},
    {kNoControlId, ControlKind::kStatic, "：", 65, 67, 9, 12, kSeparator, 0},
    {kNoControlId, ControlKind::kStatic, "：", 65, 47, 9, 12, kSeparator, 0},
    {kNoControlId, ControlKind::kStatic, "：", 65, 27, 9, 12, kSeparator, 0},
    {kNoControlId, ControlKind::kStatic, "：", 65, 7, 9, 12, kSeparator, 0},
    {1030, ControlKind::kGroupBox, "集計方法", 5, 88, 241, 45, kStyleGroup, 0},
    {1029, ControlKind::kRadioButton, "集計期間を指定して仕訳を集計する(&N)", 13, 100, 136, 10,
     kStyleGroup | kStyleTabStop, 0},
    {1031, ControlKind::kRadioButton, "連動元製品の[消費税申告書作成]で入力した値を使用する(&P)",
     13, 115, 193, 10, kStyleTabStop, 0},
    {1032, ControlKind::kImage, "", 210, 114, 11, 11, 0, 0},
};

const DialogTemplate kConditions = {
    130,
    "消費税 - 集計条件",
    255,
    228,
    "ＭＳ Ｐゴシック",
    9,
    false,
    true,
    kControls,
    sizeof(kControls) / sizeof(kControls[0]),
};

}  // namespace

const DialogTemplate& ConditionsDialogTemplate() { return kConditions; }

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id) {
  if (id == kNoControlId) return nullptr;
  for (size_t i = 0; i < dialog.controlCount; ++i) {
    if (dialog.controls[i].id == id) return &dialog.controls[i];
  }
  return nullptr;
}

}  // namespace ltb::resources

#include "resources/progress_dialog_template.h"

namespace ltb::resources {
namespace {

const ControlTemplate kControls[] = {
    {kIdOverallBar, ControlKind::kProgressBar, "", 5, 6, 211, 22, kStyleBorder | kStyleSmooth, 0},
    {kIdActivityBar, ControlKind::kProgressBar, "", 5, 29, 211, 10, kStyleBorder, 0},
};

const DialogTemplate kProgress = {
    131, "集計中", 221,   44,        "ＭＳ Ｐゴシック",
    9,   true,     false, kControls, sizeof(kControls) / sizeof(kControls[0]),
};

}  // namespace

const DialogTemplate& ProgressDialogTemplate() { return kProgress; }

}  // namespace ltb::resources

// Dialog templates as data: the progress dialog (131).
#pragma once

#include "resources/conditions_dialog_template.h"

namespace ltb::resources {

constexpr int kIdOverallBar = 1019;
constexpr int kIdActivityBar = 1024;

// Template 131, "集計中": two progress bars, system-modal, hidden at creation.
const DialogTemplate& ProgressDialogTemplate();

}  // namespace ltb::resources

// Applies the unattended options to the conditions dialog through its
// controller only, as if the user had clicked and typed.
#pragma once

#include <string>

#include "platform/win_path.h"
#include "ui/dialog_controller.h"
#include "ui/unattended.h"

namespace ltb::dialog {

// Selects the method, then types the months and the output path (a POSIX
// absolute path becomes its Windows form through `drives`). Call after OnInitDialog. False with
// *error (UTF-8) when an option cannot be applied because its control is
// disabled (tax-return values not usable, months of the tax-return method,
// an output path fixed by the parent program).
bool PrefillConditions(ui::DialogController& dialog, const ui::UnattendedOptions& options,
                       const platform::DriveTable& drives, std::string* error);

// Presses Execute (F12). True when the dialog ended with execute; false
// when a check refused the values (its message has been shown).
bool PressExecute(ui::DialogController& dialog);

}  // namespace ltb::dialog

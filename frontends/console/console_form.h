// The conditions dialog as a form on the terminal: the dataset's facts,
// then the method, the months and the output path with their current
// values as defaults, then a command (execute, browse, cancel).
#pragma once

#include <cstdio>

#include "platform/win_path.h"
#include "ui/dialog_controller.h"

namespace ltb::ui {

// Runs until the dialog has ended; the end of input cancels it.
// Typed text is UTF-8; the output path may be a POSIX absolute path, which
// takes its Windows form through `drives`.
void RunConditionsForm(DialogController& dialog, const platform::DriveTable& drives, std::FILE* in,
                       std::FILE* out);

}  // namespace ltb::ui

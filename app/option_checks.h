// Command-line values made ready before anything runs: relative paths made
// the caller's, and values checked against what the conditions dialog holds.
#pragma once

#include <string>
#include <string_view>

#include "app/options.h"
#include "platform/win_path.h"

namespace ltb::app {

// Applies CallerAbsolutePath to --ledger, --drives and --output. False with
// *error when one of them is relative and callerDir is empty.
bool ResolveCallerPaths(Options* options, std::string_view callerDir, std::string* error);

// False with *error when an option's value would reach the dialog changed:
// an --output that in its Windows form is longer than the output field or
// has characters Shift_JIS cannot hold. The Windows form is taken through
// `drives`.
bool CheckOptionsFitDialog(const ui::UnattendedOptions& options, const platform::DriveTable& drives,
                           std::string* error);

}  // namespace ltb::app

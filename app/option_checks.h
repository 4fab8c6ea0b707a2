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

// False with *error when a path given on the command line (--output,
// --ledger, --drives, --show) or the parent's command line holds a control
// character (C0 or DEL): a line break would be stored in the settings file
// and lead a later report elsewhere. The error names the option, never
// echoing the character itself.
bool CheckNoControlCharacters(const Options& options, std::string* error);

// False with *error when an option's value would reach the dialog changed:
// an --output that in its Windows form is longer than the output field or
// has characters Shift_JIS cannot hold. The Windows form is taken through
// `drives`.
bool CheckOptionsFitDialog(const ui::UnattendedOptions& options, const platform::DriveTable& drives,
                           std::string* error);

// False with *error when a parent's command line, in the CP932 form the run
// reads (ParentLineToCp932), is longer than the run's command-line buffer:
// the end of its output item would be cut off and the report written
// elsewhere.
bool CheckParentLineFits(std::string_view cp932Line, std::string* error);

}  // namespace ltb::app

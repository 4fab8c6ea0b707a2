// The parent's command line as it arrives on Linux (UTF-8), turned into the
// CP932 line the driver reads.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_path.h"

namespace ltb::app {

// Converts the line to CP932. A fourth item (after the third comma) that is
// a POSIX path becomes its Windows form through `drives`; a relative one is
// first taken relative to callerDir, the folder the program was started in
// (kept relative when callerDir is empty).
std::string ParentLineToCp932(const platform::DriveTable& drives, std::string_view utf8,
                              std::string_view callerDir = {});

}  // namespace ltb::app

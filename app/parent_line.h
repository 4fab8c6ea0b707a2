// The parent's command line as it arrives on Linux (UTF-8), turned into the
// CP932 line the driver reads.
#pragma once

#include <string>
#include <string_view>

namespace ltb::app {

// Converts the line to CP932. A fourth item (after the third comma) that is
// a POSIX absolute path becomes its Windows form through the drive table.
std::string ParentLineToCp932(std::string_view utf8);

}  // namespace ltb::app

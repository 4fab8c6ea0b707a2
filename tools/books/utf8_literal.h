// The sources are compiled with CP932 as the narrow execution character
// set; UTF-8 texts of journal files are compared with u8"..." literals
// through this.
#pragma once

#include <string_view>

namespace ltb::books {

inline std::string_view Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

}  // namespace ltb::books

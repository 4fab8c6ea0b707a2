// The company name as the target product expects it: full-width, at most 32
// bytes, ending on a whole character.
#pragma once

#include <string>
#include <string_view>

namespace ltb::report {

// Converts CP932 `text` to full-width characters and keeps at most the first
// 32 bytes; when the cut would split a double-byte character, its lead byte
// is dropped too (31 bytes).
std::string FullWidthName32(std::string_view text);

}  // namespace ltb::report

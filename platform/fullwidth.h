// LCMAP_FULLWIDTH for CP932 text: half-width letters, digits, symbols and
// katakana become their full-width CP932 forms (voiced and semi-voiced marks
// composed with the preceding katakana); full-width text is unchanged.
#pragma once

#include <string>
#include <string_view>

namespace ltb::platform {

std::string ToFullWidth(std::string_view cp932);

}  // namespace ltb::platform

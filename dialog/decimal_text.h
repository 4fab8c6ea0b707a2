// Decimal numbers read the way the dialog and the settings file read them:
// optional blanks and sign, then the leading digits; anything else gives 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace ltb::dialog {

// Values beyond the int32 range are clamped instead of overflowing.
int32_t LeadingDecimal(std::string_view text);

// As a 16-bit value (a month field): clamped to the int16 range, so an
// absurd number stays out of every valid month range instead of wrapping
// into it.
int16_t LeadingDecimal16(std::string_view text);

}  // namespace ltb::dialog

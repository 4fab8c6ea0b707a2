// The twenty-fold amount of the return-values report (the securities figure
// of the saved values), in whole yen.
#pragma once

#include <cstdint>
#include <string>

namespace ltb::report {

// The whole yen of amount x 20 by the fraction rounding of RoundToYen,
// computed exactly: every stored amount has a twenty-fold that fits in
// whole yen, so no saved value is capped.
int64_t TwentyFoldYen(int64_t amount, uint8_t fractionRounding);

// Its element text, as FormatAmount writes amounts: empty for 0.
std::string FormatTwentyFold(int64_t amount, uint8_t fractionRounding);

}  // namespace ltb::report

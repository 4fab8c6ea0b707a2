// Amounts are yen x 10000; the report prints whole yen.
#pragma once

#include <cstdint>
#include <string>

namespace ltb::report {

// Whole yen by the dataset's fraction rounding: 0 rounds (the digits of the
// fraction cascade from the last upwards, so 0.4445 yen gives 1), 1 cuts the
// fraction, 2 rounds any fraction up; other values cut. A negative amount is
// rounded by its magnitude and gets its sign back (-1.6 yen gives -2 with 0,
// -1.5 yen gives -2 with 2), the way returns are rounded.
int64_t RoundToYen(int64_t amount, uint8_t fractionRounding);

// The text of an amount element: empty when the amount rounds to 0, else the
// decimal digits with a leading "-" for negative values.
std::string FormatAmount(int64_t amount, uint8_t fractionRounding);

// The decimal digits of the rounded amount; zero gives "0".
std::string FormatAmountWithZero(int64_t amount, uint8_t fractionRounding);

}  // namespace ltb::report

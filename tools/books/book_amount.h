// Amounts of journal files: yen with thousands separators and at most four
// decimals, held as yen x 10000, and the tax worked out of them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ltb::books {

// Reads "1,234,567", "-1234.5", "△1,000", "¥1,000", full-width digits, or
// an empty text (0) into yen x 10000. False when it is not such an amount.
bool ParseBookAmount(std::string_view text, int64_t* units);

// yen x 10000 as yen: "1234", "-12.5" (no thousands separators).
std::string FormatBookAmount(int64_t units);

// The tax of `amount` (yen x 10000) at `rate` (hundredths of a percent), of
// an amount that includes the tax (`included`) or not, brought to whole yen
// by the dataset's rounding mode: 0 rounds half up, 1 truncates, 2 rounds
// up (towards the larger magnitude).
int64_t TaxOf(int64_t amount, int rate, bool included, int rounding);

// Reads a business type: 1..6, 一..六, 一種, 第五種, 5種.
bool ParseBusinessType(std::string_view text, int* type);

}  // namespace ltb::books

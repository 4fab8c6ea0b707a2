// The month slots of an accounting period as the host's walks, sums and
// find conditions name them: the month positions 1..12, counted from the
// period's first month, and the codes of the two closings.
#pragma once

namespace ltb::host {

inline constexpr int kMonthsPerYear = 12;
// The interim closing, dated on the last day of position 6.
inline constexpr int kInterimClosingSlot = 15;
// The year-end closing, dated on the period's last day.
inline constexpr int kYearEndClosingSlot = 18;

}  // namespace ltb::host

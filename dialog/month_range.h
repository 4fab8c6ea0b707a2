// The month-range rule of the conditions dialog: are start and end month
// months of the accounting period, in order? On failure, which field the
// user has to correct.
#pragma once

#include <cstdint>

namespace ltb::dialog {

enum class MonthRangeFault { kNone, kStartMonth, kEndMonth };

// firstMonth: first accounting month of the period (1..12); lastCode: the
// calendar month of the period's last day, plus 100 when the period crosses
// a calendar year end (see GetPeriodMonths).
MonthRangeFault CheckMonthRange(int16_t start, int16_t end, int16_t firstMonth, int16_t lastCode);

}  // namespace ltb::dialog

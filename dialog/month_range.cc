#include "dialog/month_range.h"

namespace ltb::dialog {
namespace {

bool InCalendar(int m) { return m >= 1 && m <= 12; }

}  // namespace

MonthRangeFault CheckMonthRange(int16_t start, int16_t end, int16_t firstMonth, int16_t lastCode) {
  if (!InCalendar(start)) return MonthRangeFault::kStartMonth;
  if (!InCalendar(end)) return MonthRangeFault::kEndMonth;
  const bool crosses = lastCode >= 100;
  const int last = crosses ? lastCode - 100 : lastCode;
  const int first = firstMonth;
  if (!crosses) {
    // F ... last within one calendar year.
    if (first <= start && start <= end && end <= last) return MonthRangeFault::kNone;
    return MonthRangeFault::kStartMonth;
  }
  // Months of the period in order: F ... 12, then 1 ... last.
  const bool startInFirstYear = start >= first;
  const bool startInSecondYear = start <= last;
  if (!startInFirstYear && !startInSecondYear) return MonthRangeFault::kStartMonth;
  if (startInFirstYear) {
    if (end >= first) {
      return end < start ? MonthRangeFault::kEndMonth : MonthRangeFault::kNone;
    }
    if (end <= last) return MonthRangeFault::kNone;
    return MonthRangeFault::kStartMonth;
  }
  // Start in the second calendar year: the end must lie in start ... last.
  if (end >= start && end <= last) return MonthRangeFault::kNone;
  return MonthRangeFault::kEndMonth;
}

}  // namespace ltb::dialog

// Month arithmetic of an accounting period: the month positions 1..12 and
// the closing codes 15 (interim closing) and 18 (year-end closing).
//
// Position 1 starts on the period's first day; every position ends on the
// closing day of its calendar month (the last day of the month by default),
// and the last position ends on the period's last day. A position carries
// the calendar month of its last day. The interim closing is dated on the
// last day of position 6, the year-end closing on the period's last day.
#pragma once

#include <vector>

#include "host/month_slots.h"

namespace ltb::ledger {

using host::kInterimClosingSlot;
using host::kYearEndClosingSlot;
// Closing day meaning "the last day of the month".
constexpr int kMonthEndClosing = 31;

bool IsValidDate(long yyyymmdd);
int DaysInMonth(int year, int month);

class AccountingPeriod {
 public:
  struct Range {
    long first = 0, last = 0;
  };

  AccountingPeriod() = default;
  // False (the period unchanged) when a date is invalid, first > last, or
  // the period spans more than twelve month positions.
  bool Set(long first, long last, int closingDay = kMonthEndClosing);
  bool valid() const { return !positions_.empty(); }

  long first() const { return first_; }
  long last() const { return last_; }
  int closing_day() const { return closingDay_; }
  int position_count() const { return static_cast<int>(positions_.size()); }

  // Dates of a month slot: 1..position_count(), 15 or 18; false otherwise
  // (15 needs at least six positions).
  bool SlotRange(int slot, Range* range) const;
  // The position (1..12) holding the date; 0 outside the period.
  int PositionOfDate(long date) const;
  // Calendar month (1..12) of a position; 0 for an unknown position.
  int CalendarMonthOfPosition(int position) const;
  // The position whose calendar month is `month`; 0 when none.
  int PositionOfCalendarMonth(int month) const;

  // The closing day implied by a period's last day: kMonthEndClosing when
  // it is the last day of its month, else its day of the month.
  static int ClosingDayOfEndDate(long end);

 private:
  long first_ = 0, last_ = 0;
  int closingDay_ = kMonthEndClosing;
  std::vector<Range> positions_;
};

}  // namespace ltb::ledger

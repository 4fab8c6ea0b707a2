#include "ledger/accounting_period.h"

#include <algorithm>

namespace ltb::ledger {

namespace {

long MakeDate(int y, int m, int d) { return y * 10000L + m * 100L + d; }
int Year(long d) { return static_cast<int>(d / 10000); }
int Month(long d) { return static_cast<int>(d / 100 % 100); }
int Day(long d) { return static_cast<int>(d % 100); }

long NextDay(long d) {
  int y = Year(d), m = Month(d), day = Day(d) + 1;
  if (day > DaysInMonth(y, m)) {
    day = 1;
    if (++m > 12) {
      m = 1;
      ++y;
    }
  }
  return MakeDate(y, m, day);
}

// The closing date of calendar month (y, m).
long ClosingDate(int y, int m, int closingDay) {
  return MakeDate(y, m, std::min(closingDay, DaysInMonth(y, m)));
}

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsValidDate(long d) {
  if (d < 10000101 || d > 99991231) return false;
  int day = Day(d);
  return day >= 1 && day <= DaysInMonth(Year(d), Month(d));
}

int AccountingPeriod::ClosingDayOfEndDate(long end) {
  if (!IsValidDate(end)) return kMonthEndClosing;
  return Day(end) == DaysInMonth(Year(end), Month(end)) ? kMonthEndClosing : Day(end);
}

bool AccountingPeriod::Set(long first, long last, int closingDay) {
  if (!IsValidDate(first) || !IsValidDate(last) || first > last) return false;
  if (closingDay < 1 || closingDay > kMonthEndClosing) closingDay = kMonthEndClosing;
  std::vector<Range> positions;
  long start = first;
  int y = Year(first), m = Month(first);
  if (ClosingDate(y, m, closingDay) < first && ++m > 12) {
    m = 1;
    ++y;
  }
  while (start <= last) {
    if (positions.size() == 12) return false;
    long end = std::min(ClosingDate(y, m, closingDay), last);
    positions.push_back({start, end});
    start = NextDay(end);
    if (++m > 12) {
      m = 1;
      ++y;
    }
  }
  first_ = first;
  last_ = last;
  closingDay_ = closingDay;
  positions_ = std::move(positions);
  return true;
}

bool AccountingPeriod::SlotRange(int slot, Range* range) const {
  if (slot >= 1 && slot <= position_count()) {
    *range = positions_[slot - 1];
    return true;
  }
  if (slot == kInterimClosingSlot && position_count() >= 6) {
    *range = {positions_[5].last, positions_[5].last};
    return true;
  }
  if (slot == kYearEndClosingSlot && valid()) {
    *range = {last_, last_};
    return true;
  }
  return false;
}

int AccountingPeriod::PositionOfDate(long date) const {
  for (size_t i = 0; i < positions_.size(); ++i) {
    if (date >= positions_[i].first && date <= positions_[i].last) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int AccountingPeriod::CalendarMonthOfPosition(int position) const {
  if (position < 1 || position > position_count()) return 0;
  // The month the position closes in; a last position cut short by the
  // period end still belongs to the month of its first day's closing.
  const Range& r = positions_[position - 1];
  return Month(r.last);
}

int AccountingPeriod::PositionOfCalendarMonth(int month) const {
  for (int p = 1; p <= position_count(); ++p) {
    if (CalendarMonthOfPosition(p) == month) return p;
  }
  return 0;
}

}  // namespace ltb::ledger

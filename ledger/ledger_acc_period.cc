#include "ledger/ledger_acc_period.h"

#include "ledger/host_error_codes.h"

namespace ltb::ledger {

LedgerAccPeriod::LedgerAccPeriod(long first, long last, int closingDay)
    : closingDay_(closingDay > 0 ? closingDay : kMonthEndClosing) {
  SetPeriod(first, last);
}

long LedgerAccPeriod::GetPeriod(long* first, long* last) {
  if (!period_.valid()) return kErrBadPeriod;
  *first = period_.first();
  *last = period_.last();
  return host::kOk;
}

long LedgerAccPeriod::GetPeriodByAMonth(int month, long* first, long* last, int) {
  int position = period_.PositionOfCalendarMonth(month);
  AccountingPeriod::Range r;
  if (position == 0 || !period_.SlotRange(position, &r)) return kErrOutsidePeriod;
  *first = r.first;
  *last = r.last;
  return host::kOk;
}

long LedgerAccPeriod::GetPeriodByMonthKind(int slot, long* from, long* to, int) {
  AccountingPeriod::Range r;
  if (!period_.SlotRange(slot, &r)) return kErrOutsidePeriod;
  *from = r.first;
  *to = r.last;
  return host::kOk;
}

long LedgerAccPeriod::GetAMonthByDate(long date, int* month, int) {
  int position = period_.PositionOfDate(date);
  if (position == 0) return kErrOutsidePeriod;
  *month = period_.CalendarMonthOfPosition(position);
  return host::kOk;
}

long LedgerAccPeriod::SetPeriod(long first, long last) {
  askedFirst_ = first;
  askedLast_ = last;
  period_ = AccountingPeriod();
  return period_.Set(first, last, closingDay_) ? host::kOk : kErrBadPeriod;
}

long LedgerAccPeriod::GetClosingDayByEndDate(long end, int, int* day) {
  if (!IsValidDate(end)) return kErrBadPeriod;
  *day = AccountingPeriod::ClosingDayOfEndDate(end);
  return host::kOk;
}

long LedgerAccPeriod::SetClosingDay(int day) {
  if (day < 1 || day > kMonthEndClosing) return kErrBadPeriod;
  closingDay_ = day;
  if (askedFirst_ == 0) return host::kOk;  // no period yet
  period_ = AccountingPeriod();
  return period_.Set(askedFirst_, askedLast_, day) ? host::kOk : kErrBadPeriod;
}

}  // namespace ltb::ledger

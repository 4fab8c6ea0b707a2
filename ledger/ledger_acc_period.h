// ClAccPeriod over AccountingPeriod.
#pragma once

#include "host/host.h"
#include "ledger/accounting_period.h"

namespace ltb::ledger {

class LedgerAccPeriod : public host::ClAccPeriod {
 public:
  LedgerAccPeriod() = default;
  // closingDay 0 means the last day of the month.
  LedgerAccPeriod(long first, long last, int closingDay);

  long GetPeriod(long* first, long* last) override;
  long GetPeriodByAMonth(int month, long* first, long* last, int mode) override;
  long GetPeriodByMonthKind(int slot, long* from, long* to, int mode) override;
  long GetAMonthByDate(long date, int* month, int mode) override;
  long SetPeriod(long first, long last) override;
  long GetClosingDayByEndDate(long end, int mode, int* day) override;
  long SetClosingDay(int day) override;

 private:
  AccountingPeriod period_;
  int closingDay_ = kMonthEndClosing;
};

}  // namespace ltb::ledger

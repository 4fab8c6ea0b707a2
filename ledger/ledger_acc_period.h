// ClAccPeriod over AccountingPeriod.
#pragma once

#include "host/host.h"
#include "ledger/accounting_period.h"

namespace ltb::ledger {

// The program sets the period before it knows the closing day (SetPeriod,
// then GetClosingDayByEndDate and SetClosingDay): a period that does not fit
// twelve positions under the closing day in force is kept as asked and laid
// out again when the closing day changes.
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
  AccountingPeriod period_;  // invalid while the asked period does not fit
  int closingDay_ = kMonthEndClosing;
  long askedFirst_ = 0, askedLast_ = 0;  // the last period asked for; 0 before
};

}  // namespace ltb::ledger

// The months of an accounting period as the month-range rules read them:
// the accounting month of its first day and a code for its last month. The
// one place that asks the ledger's period for them.
#pragma once

#include <cstdint>
#include <memory>

#include "host/host.h"

namespace ltb::host {

// firstDay/lastDay as yyyymmdd. *firstMonth becomes the accounting month of
// the first day (through a ClAccPeriod set up for the period); *lastCode
// the calendar month of the last day, plus 100 when it is smaller than
// *firstMonth (the period crosses a calendar year end). Both outputs are
// left untouched when the period object cannot be created.
inline void GetPeriodMonths(HostLibrary& host, int32_t firstDay, int32_t lastDay,
                            int16_t* firstMonth, int16_t* lastCode) {
  const int16_t lastCalendarMonth = static_cast<int16_t>((lastDay % 10000) / 100);
  std::unique_ptr<ClAccPeriod> period = host.NewAccPeriod();
  if (!period) return;
  period->SetPeriod(firstDay, lastDay);
  int closingDay = 0;
  period->GetClosingDayByEndDate(lastDay, 0, &closingDay);
  period->SetClosingDay(closingDay);
  int month = 0;
  period->GetAMonthByDate(firstDay, &month, 0);
  *firstMonth = static_cast<int16_t>(month);
  *lastCode =
      static_cast<int16_t>(lastCalendarMonth < month ? lastCalendarMonth + 100 : lastCalendarMonth);
}

}  // namespace ltb::host

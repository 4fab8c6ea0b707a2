#include "dialog/period_months.h"

namespace ltb::dialog {

void GetPeriodMonths(host::HostLibrary& host, int32_t firstDay, int32_t lastDay,
                     int16_t* firstMonth, int16_t* lastCode) {
  const int16_t lastCalendarMonth = static_cast<int16_t>((lastDay % 10000) / 100);
  std::unique_ptr<host::ClAccPeriod> period = host.NewAccPeriod();
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

}  // namespace ltb::dialog

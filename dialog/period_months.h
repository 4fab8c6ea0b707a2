// First accounting month and last-month code of an accounting period.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace ltb::dialog {

// firstDay/lastDay as yyyymmdd. *firstMonth becomes the accounting month of
// the first day (through a host ClAccPeriod set up for the period);
// *lastCode the calendar month of the last day, plus 100 when it is smaller
// than *firstMonth (the period crosses a calendar year end). Both outputs
// are left untouched when the period object cannot be created.
void GetPeriodMonths(host::HostLibrary& host, int32_t firstDay, int32_t lastDay,
                     int16_t* firstMonth, int16_t* lastCode);

}  // namespace ltb::dialog

// Which individual income lines a record reaches, from the dataset's
// income-type mode (1 business only, 2 real estate only, 3 by department)
// and the department the record belongs to (null when it has none).
#pragma once

#include <cstdint>

#include "host/records.h"

namespace ltb::aggregate {

struct IncomeRoutes {
  bool business = false;    // the JIGYO lines
  bool realEstate = false;  // the FUDOUSAN lines
  bool other = false;       // the SONOTA lines
};

IncomeRoutes RouteIncome(uint8_t incomeMode, const host::StBUMONINFO* department);

}  // namespace ltb::aggregate

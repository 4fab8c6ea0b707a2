#include "aggregate/income_routing.h"

namespace ltb::aggregate {

IncomeRoutes RouteIncome(uint8_t incomeMode, const host::StBUMONINFO* d) {
  // A kind-1 department without a link stands for business income; with a
  // link it stands for other income.
  const bool linkedNone = d && d->Kind() == 1 && d->LinkField() == 0;
  const bool linked = d && d->Kind() == 1 && d->LinkField() != 0;
  IncomeRoutes r;
  r.business = incomeMode == 1 || (incomeMode == 3 && (!d || d->IncomeType() == 1 || linkedNone));
  r.realEstate = incomeMode == 2 || (incomeMode == 3 && d && d->IncomeType() == 3);
  r.other = incomeMode == 3 && d && !linkedNone &&
            (linked || (d->IncomeType() != 1 && d->IncomeType() != 3));
  return r;
}

}  // namespace ltb::aggregate

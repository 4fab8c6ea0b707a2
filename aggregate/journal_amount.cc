#include "aggregate/journal_amount.h"

namespace ltb::aggregate {

TaxDecimal JournalSideAmount(const host::StSWKTINFO& entry, size_t side,
                             const host::StSHOHIZEIINFO& settings) {
  TaxDecimal amount = TaxDecimal::FromAmount(entry.AmountExcl(side));
  if (settings.TaxIncluded() != 0) amount.Add(TaxDecimal::FromAmount(entry.TaxAmount(side)));
  return amount;
}

}  // namespace ltb::aggregate

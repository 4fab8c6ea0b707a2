// Net movement of one account's sums over a range of month slots.
#pragma once

#include "aggregate/tax_decimal.h"
#include "host/records.h"

namespace ltb::aggregate {

// Debit and credit summed over slots start..end (none when end < start),
// plus slot 13 (year-end closing) when `closing` and slot 14 (interim
// closing) when `interim`; tax-included arrays when the settings say so.
// Returns debit - credit for balance side 1, credit - debit otherwise.
// Slots outside 0..14 are ignored. An overflowing sum is returned
// overflowed.
TaxDecimal AccountNet(const host::StKAMOKUSUMINFO& sums, int start, int end,
                      const host::StSHOHIZEIINFO& settings, bool closing, bool interim);

// The corporate settlement movement: sum of (debit - credit) over slots
// start..end, plus slot end+1 when `nextSlot`, plus slot 14 when `interim`;
// the balance side plays no part. Slots outside 0..14 are ignored.
TaxDecimal DebitMinusCredit(const host::StKAMOKUSUMINFO& sums, int start, int end,
                            const host::StSHOHIZEIINFO& settings, bool nextSlot, bool interim);

}  // namespace ltb::aggregate

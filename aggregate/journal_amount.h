// The amount of one side of a journal entry as the refund statement counts
// it: tax excluded, plus the tax amount in tax-included books.
#pragma once

#include <cstddef>

#include "aggregate/tax_decimal.h"
#include "host/records.h"

namespace ltb::aggregate {

// side is StSWKTINFO::kDebitOff or StSWKTINFO::kCreditOff. The result is
// overflowed when the sum leaves TaxDecimal's addition range.
TaxDecimal JournalSideAmount(const host::StSWKTINFO& entry, size_t side,
                             const host::StSHOHIZEIINFO& settings);

}  // namespace ltb::aggregate

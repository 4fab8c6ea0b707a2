// Bounded reading of the per-rate arrays of TaxTotals.
//
// The report always walks three rate blocks (8%, 5%, 3%). A rate the host
// did not report, or that the arrays do not hold, reads as zero, so a
// dataset with fewer rates can never lead to reads beyond the arrays.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "aggregate/tax_totals.h"
#include "host/host.h"

namespace ltb::report {

using RateField = host::StTAXREPORTRATEINFO::Off;
using BusinessTypeField = host::StTAXREPORTBUSINESSTYPEINFO::Off;

class RateView {
 public:
  // hostRateCount: the number of rates the host reported (negative: unknown,
  // the arrays alone decide).
  RateView(const aggregate::TaxTotals& totals, long hostRateCount) : totals_(totals) {
    size_t held = std::min(totals.RateInfo.size(),
                           totals.BusinessTypeInfo.size() / aggregate::kBusinessTypes);
    rates_ = hostRateCount < 0 ? held : std::min(held, static_cast<size_t>(hostRateCount));
  }

  size_t rates() const { return rates_; }
  const aggregate::TaxTotals& totals() const { return totals_; }

  int64_t Rate(size_t rate, RateField f) const {
    return rate < rates_ ? totals_.RateInfo[rate].Amount(f) : 0;
  }
  // businessType: 0..5 for the first to the sixth business type.
  int64_t BusinessType(size_t rate, size_t businessType, BusinessTypeField f) const {
    return rate < rates_
               ? totals_.BusinessTypeInfo[rate * aggregate::kBusinessTypes + businessType].Amount(f)
               : 0;
  }

 private:
  const aggregate::TaxTotals& totals_;
  size_t rates_;
};

// The host's consumption-tax settings set, or null when it has none.
inline host::ClSetShohizei* TaxSettingsOf(host::HostLibrary* host) {
  return host == nullptr ? nullptr : host::TaxSettingsSet(host->DataMgr());
}

}  // namespace ltb::report

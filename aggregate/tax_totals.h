// The result of one aggregation run: everything the report's BASIC and DATA
// sections print about the aggregated months. Amounts are yen x 10000.
#pragma once

#include <cstdint>
#include <vector>

#include "host/records.h"

namespace ltb::aggregate {

// A refund-statement purchase line: settlement amount and the part of it
// booked under a category that is not a taxable purchase.
struct PurchaseLine {
  int64_t Settled = 0;
  int64_t NonTaxable = 0;
};

// The report always reads three rate blocks (8%, 5%, 3%).
constexpr int kReportRates = 3;
constexpr int kBusinessTypes = 6;

struct TaxTotals {
  // Block 0 is 8%, 1 is 5%, 2 is 3%; six business-type entries per block.
  std::vector<host::StTAXREPORTRATEINFO> RateInfo;
  std::vector<host::StTAXREPORTBUSINESSTYPEINFO> BusinessTypeInfo;
  // The number of rate blocks the host reported (RateInfo may hold more,
  // zero-filled, so that three blocks can always be read).
  int hostRateCount = 0;

  int64_t OldRateSum3 = 0;

  PurchaseLine SHOHINSHIIRE, HANBAIIPPAN, EIGYOGAIHIYOU, SONOTASONEKI;
  PurchaseLine JIGYOSHIIRE, JIGYOHITSUYOU, JIGYOKOTEISHISAN, FUDOUSANHITSUYOU, FUDOUSANKOTEISHISAN,
      SONOTASHIIRE, SONOTAHITSUYOU, SONOTAKOTEISHISAN;
  int64_t KOTEISHISAN = 0;
  int64_t KURINOBESHISAN = 0;

  // Allocates zeroed blocks for the host's rate count, never fewer than the
  // three the report reads, so a host with fewer rates cannot lead to reads
  // beyond the arrays.
  void Allocate(int rateCount) {
    hostRateCount = rateCount < 0 ? 0 : rateCount;
    int blocks = hostRateCount < kReportRates ? kReportRates : hostRateCount;
    RateInfo.assign(blocks, host::StTAXREPORTRATEINFO{});
    BusinessTypeInfo.assign(static_cast<size_t>(blocks) * kBusinessTypes,
                            host::StTAXREPORTBUSINESSTYPEINFO{});
  }
  void Free() {
    RateInfo.clear();
    RateInfo.shrink_to_fit();
    BusinessTypeInfo.clear();
    BusinessTypeInfo.shrink_to_fit();
  }
  bool Allocated() const { return !RateInfo.empty(); }
};

}  // namespace ltb::aggregate

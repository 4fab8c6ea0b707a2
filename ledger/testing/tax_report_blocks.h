// The figures SumTax fills, laid out as its callers lay them out: three rate
// blocks (8%, 5%, 3%), each with its six business types 1..6.
#pragma once

#include <cstdint>
#include <vector>

#include "host/records.h"

namespace ltb::ledger {

struct TaxReportBlocks {
  std::vector<host::StTAXREPORTRATEINFO> rates{3};
  std::vector<host::StTAXREPORTBUSINESSTYPEINFO> types{18};

  TaxReportBlocks() {
    const int codes[] = {800, 500, 300};
    for (int r = 0; r < 3; ++r) {
      rates[r].SetRate(codes[r]);
      for (int t = 0; t < 6; ++t) {
        types[6 * r + t].SetRate(codes[r]);
        types[6 * r + t].SetType(static_cast<uint8_t>(t + 1));
      }
    }
  }
};

}  // namespace ltb::ledger

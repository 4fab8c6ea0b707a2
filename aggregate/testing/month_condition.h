// Builds the month-range condition the way the run driver does, for tests.
#pragma once

#include "host/records.h"

namespace ltb::testing {

// Items: month >= start AND month <= end, then OR month == extra when extra
// is non-zero (18 year-end closing, 15 interim closing).
inline void SetMonthCondition(host::StFINDINFO* c, int start, int end, int extra = 0) {
  using host::StFINDINFO;
  for (size_t i = 0; i < host::kFindConditionItems; ++i) c[i].Clear();
  c[0] = host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, StFINDINFO::kMonthPosition,
                            start, StFINDINFO::kAnd);
  c[1] = host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost, StFINDINFO::kMonthPosition,
                            end, extra ? StFINDINFO::kOr : StFINDINFO::kLast);
  if (extra) {
    c[2] = host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kEqual, StFINDINFO::kMonthPosition,
                              extra, StFINDINFO::kLast);
  }
}

}  // namespace ltb::testing

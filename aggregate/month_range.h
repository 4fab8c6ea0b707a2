// The parts of the run's month-range condition that the engine reads: the
// first and last month slot, whether a third item follows, and that item's
// closing code (host/month_slots.h).
#pragma once

#include <cstdint>

#include "host/month_slots.h"
#include "host/records.h"

namespace ltb::aggregate {

struct MonthRange {
  int16_t startSlot = 0;
  int16_t endSlot = 0;
  bool continuation = false;
  int16_t extraSlot = 0;

  // The range takes in the year-end closing adjustments.
  bool YearEndClosing() const { return continuation && extraSlot == host::kYearEndClosingSlot; }
};

// Reads the first three items of a condition of at least that many items.
MonthRange ReadMonthRange(const host::StFINDINFO* condition);

}  // namespace ltb::aggregate

#include "aggregate/month_range.h"

namespace ltb::aggregate {

MonthRange ReadMonthRange(const host::StFINDINFO* condition) {
  MonthRange r;
  r.startSlot = static_cast<int16_t>(condition[0].Value());
  r.endSlot = static_cast<int16_t>(condition[1].Value());
  r.continuation = condition[1].LinkToNext() != 0;
  r.extraSlot = static_cast<int16_t>(condition[2].Value());
  return r;
}

}  // namespace ltb::aggregate

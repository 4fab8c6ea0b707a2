#include "host/testing/condition_match.h"

namespace ltb::testing {

using host::StFINDINFO;

bool ConditionMatches(const StFINDINFO* items,
                      const std::function<std::optional<int64_t>(int32_t, int16_t)>& valueOf) {
  // OR of AND-chains; a runaway array (no last item) is cut off.
  constexpr int kMaxItems = 64;
  bool any = false;
  bool chain = true;
  for (int i = 0; i < kMaxItems; ++i) {
    const StFINDINFO& item = items[i];
    bool v = false;
    if (item.FieldId() == StFINDINFO::kGroup) {
      v = item.nested && ConditionMatches(item.nested, valueOf);
    } else if (auto value = valueOf(item.FieldId(), item.Side())) {
      switch (item.Compare()) {
        case StFINDINFO::kEqual: v = *value == item.Value(); break;
        case StFINDINFO::kAtLeast: v = *value >= item.Value(); break;
        case StFINDINFO::kLessThan: v = *value < item.Value(); break;
        case StFINDINFO::kAtMost: v = *value <= item.Value(); break;
        default: v = false;
      }
    }
    chain = chain && v;
    const int16_t link = item.LinkToNext();
    if (link != StFINDINFO::kAnd) {
      any = any || chain;
      chain = true;
    }
    if (link == StFINDINFO::kLast) return any;
  }
  return any;
}

}  // namespace ltb::testing

// Evaluates a search condition the way the host does: AND binds tighter
// than OR, nested groups are evaluated as one value.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "host/records.h"

namespace ltb::testing {

// True when `items` (an array ended by link 0) matches; valueOf gives the
// value of a field (with the journal side for field 3), or nothing when the
// record has no such field (the comparison is then false).
bool ConditionMatches(
    const host::StFINDINFO* items,
    const std::function<std::optional<int64_t>(int32_t field, int16_t side)>& valueOf);

}  // namespace ltb::testing

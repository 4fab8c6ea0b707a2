// The cursors a ledger set hands out, valid from GetCursor until
// ReleaseCursor. Each holds one position whose meaning is the set's: a row
// index, or the last key walked.
#pragma once

#include <cstddef>
#include <map>

#include "host/host.h"
#include "ledger/rule_common.h"

namespace ltb::ledger {

class WalkCursors {
 public:
  // A new cursor at position 0.
  long Open(host::Cursor* cursor) {
    if (cursor == nullptr) return kWalkBadArgument;
    *cursor = next_++;
    positions_[*cursor] = 0;
    return host::kOk;
  }

  // The position of `cursor`; null when the set did not hand it out.
  size_t* Find(host::Cursor cursor) {
    auto it = positions_.find(cursor);
    return it == positions_.end() ? nullptr : &it->second;
  }

  long Release(host::Cursor cursor) {
    return positions_.erase(cursor) ? host::kOk : kWalkBadCursor;
  }

 private:
  std::map<host::Cursor, size_t> positions_;
  host::Cursor next_ = 1;
};

}  // namespace ltb::ledger

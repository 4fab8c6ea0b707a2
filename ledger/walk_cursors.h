// The cursors a ledger set hands out: each one is a position in the set's
// rows, valid from GetCursor until ReleaseCursor.
#pragma once

#include <cstddef>
#include <map>

#include "host/host.h"
#include "ledger/rule_common.h"

namespace ltb::ledger {

class WalkCursors {
 public:
  // A new cursor at the first row.
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

// One journal entry of a dataset as the walkers read it: the month slot and
// the two sides (the entry date and text are not read by any walk).
#pragma once

#include <cstdint>

namespace ltb::ledger {

// One side of a journal entry.
struct JournalSide {
  int64_t amount = 0;  // tax excluded, yen x 10000
  int64_t tax = 0;
  int32_t account = 0;     // 0: the entry has no such side
  int32_t department = 0;  // 0: none
  int32_t rate = 0;        // hundredths of a percent: 800, 500, 300, 1000; 0 none
  uint8_t category = 0;
  uint8_t businessType = 0;  // 0 none, 1..6
};

struct JournalEntry {
  JournalSide side[2];  // [0] debit, [1] credit
  int16_t slot = 0;     // month position 1..12, or closing code 15 / 18

  const JournalSide& debit() const { return side[0]; }
  const JournalSide& credit() const { return side[1]; }
};

}  // namespace ltb::ledger

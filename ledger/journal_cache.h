// The journal of one dataset, read once per connection with one SELECT and
// kept as compact rows that every walker of the connection shares.
//
// The cache lives as long as the SQLite connection: it is tied to the
// connection (closing the connection drops it) and is read again when the
// ledger changed since it was loaded (by this connection or another one).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ledger/ledger_db.h"

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
  int32_t date = 0;     // yyyymmdd
  int16_t slot = 0;     // month position 1..12, or closing code 15 / 18

  const JournalSide& debit() const { return side[0]; }
  const JournalSide& credit() const { return side[1]; }
};

class JournalCache {
 public:
  // The journal of `dataset` in entry order, shared by every caller on the
  // same connection. Null (with *error) when the ledger cannot be read.
  static std::shared_ptr<const JournalCache> Acquire(LedgerDb& db, int dataset, std::string* error);

  // Reads the journal of `dataset` afresh (used by Acquire).
  static std::shared_ptr<const JournalCache> Load(LedgerDb& db, int dataset, std::string* error);

  const std::vector<JournalEntry>& entries() const { return entries_; }

  // The positions in entries() of the entries with `department` on either
  // side, ascending (0 stands for sides without a department). Built for
  // every department on first use, so that walks of one department each
  // touch only its own entries.
  std::span<const uint32_t> EntriesOfDepartment(int32_t department) const;

 private:
  std::vector<JournalEntry> entries_;
  mutable std::once_flag byDepartmentBuilt_;
  mutable std::unordered_map<int32_t, std::vector<uint32_t>> byDepartment_;
};

}  // namespace ltb::ledger

// The journal of one dataset, read once per connection with one SELECT and
// shared by every walker of the connection: its entries in entry order as
// compact rows (kept off the heap once they outgrow a fixed budget) and
// their fold for the summing walks. Memory therefore stays bounded whatever
// the number of entries.
//
// The cache lives as long as the SQLite connection: it is tied to the
// connection (closing the connection drops it) and is read again when the
// ledger changed since it was loaded (by this connection or another one).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ledger/journal_entry.h"
#include "ledger/journal_fold.h"
#include "ledger/journal_reader.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

class JournalCache {
 public:
  // The journal of `dataset` in entry order, shared by every caller on the
  // same connection. Null (with *error) when the ledger cannot be read, or
  // when the connection's stop check ended the read (then *stopped, which
  // may be null, is set; nothing is cached).
  static std::shared_ptr<const JournalCache> Acquire(LedgerDb& db, int dataset, std::string* error,
                                                     bool* stopped = nullptr);

  // Reads the journal of `dataset` afresh (used by Acquire).
  static std::shared_ptr<const JournalCache> Load(LedgerDb& db, int dataset, std::string* error,
                                                  bool* stopped = nullptr);

  int64_t size() const { return copy_.entries; }

  // The folded entries, or null when the fold was given up (too many
  // distinct keys): walks then visit the single entries.
  const JournalFold* fold() const { return copy_.fold.complete() ? &copy_.fold : nullptr; }

  // Reads the entries in entry order.
  class Cursor {
   public:
    explicit Cursor(const JournalCache& cache) : cache_(cache) {}
    // The next entry; false at the end, or when the rows kept outside
    // memory cannot be read back (then failed()).
    bool Next(JournalEntry* e);
    bool failed() const { return failed_; }

   private:
    const JournalCache& cache_;
    size_t part_ = 0;
    std::optional<JournalSpool::Reader> reader_;
    bool failed_ = false;
  };

  // Calls visit(const JournalEntry&) for each entry in entry order while it
  // returns true. False when the rows could not be read back.
  template <typename Visit>
  bool ForEach(Visit visit) const {
    Cursor cursor(*this);
    JournalEntry e;
    while (cursor.Next(&e)) {
      if (!visit(static_cast<const JournalEntry&>(e))) return true;
    }
    return !cursor.failed();
  }

 private:
  JournalCopy copy_;
};

}  // namespace ltb::ledger

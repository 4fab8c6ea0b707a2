// Reads the journal of one dataset from the ledger into compact rows, in
// entry order.
//
// A large journal is read in two halves at once, the second half through a
// second read-only connection on another thread: decoding the rows is most
// of the time a large ledger takes, and the machines this runs on have more
// than one core. Both halves see the same state of the file: the caller's
// connection holds its read lock until the second half is read, so no
// writer can commit in between. Whenever the halves cannot be read that way
// (a ledger in WAL mode, a file a second connection cannot open, rows not
// stored in entry order), the journal is read in one pass on the caller's
// connection instead.
#pragma once

#include <string>
#include <vector>

#include "ledger/journal_cache.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

// Journals with fewer entries than this are read in one pass.
constexpr int64_t kSplitReadFrom = 50000;

// Reads the journal of `dataset` into *entries (replacing its contents).
// False with *error on a ledger that cannot be read.
bool ReadJournal(LedgerDb& db, int dataset, std::vector<JournalEntry>* entries, std::string* error);

// The same, always in one pass through the entry-number index (for tests
// that compare both ways of reading).
bool ReadJournalInOnePass(LedgerDb& db, int dataset, std::vector<JournalEntry>* entries,
                          std::string* error);

}  // namespace ltb::ledger

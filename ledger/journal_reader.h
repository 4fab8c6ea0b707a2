// Reads the journal of one dataset from the ledger, in entry order, into a
// spool of compact rows and a fold of their sums (journal_spool.h,
// journal_fold.h).
//
// A large journal is read in two halves at once, each through a read-only
// connection of its own, the second on another thread: decoding the rows is
// most of the time a large ledger takes, and the machines this runs on have
// more than one core. SQLite hands the rows of a half to a function defined
// on its connection, so that no call per column is needed. Both halves see
// the same state of the file: the caller's connection holds its read lock
// until both are read, so no writer can commit in between. Whenever the
// halves cannot be read that way (a ledger in WAL mode, a file a second
// connection cannot open, rows not stored in entry order), the journal is
// read in one pass on the caller's connection instead.
//
// A read gives up soon after the connection's stop check (LedgerDb::
// StopRequested) answers true: the caller's thread asks it every few
// thousand rows, also inside long SQLite steps and while it waits for the
// second half, and passes the answer on to the other thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ledger/journal_fold.h"
#include "ledger/journal_spool.h"
#include "ledger/ledger_db.h"

namespace ltb::ledger {

// Journals with fewer entries than this are read in one pass.
constexpr int64_t kSplitReadFrom = 50000;

// The journal as read: the entries in entry order (the parts one after the
// other) and their fold.
struct JournalCopy {
  std::vector<std::unique_ptr<JournalSpool>> parts;
  JournalFold fold;
  int64_t entries = 0;
};

// Reads the journal of `dataset` into *copy (replacing its contents), each
// part keeping up to `memoryBudget` bytes of rows in memory. False with
// *error on a ledger that cannot be read, and with *stopped (may be null)
// set when the stop check ended the read; *copy is then not to be used.
bool ReadJournal(LedgerDb& db, int dataset, JournalCopy* copy, std::string* error,
                 size_t memoryBudget = JournalSpool::kDefaultMemoryBudget, bool* stopped = nullptr);

// The same, always in one pass through the entry-number index (for tests
// that compare both ways of reading).
bool ReadJournalInOnePass(LedgerDb& db, int dataset, JournalCopy* copy, std::string* error,
                          size_t memoryBudget = JournalSpool::kDefaultMemoryBudget,
                          bool* stopped = nullptr);

}  // namespace ltb::ledger

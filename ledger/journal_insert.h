// The one statement that adds a journal entry (both sides, twenty columns)
// to a ledger opened for writing. AddJournal runs it once per entry; the
// large-ledger generator prepares it once and runs it for every row.
#pragma once

#include <string>
#include <string_view>

#include "ledger/ledger_db.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"

namespace ltb::ledger {

class JournalInsert {
 public:
  // Prepares the insert on `db`, which must outlive this object; ok() tells
  // whether that worked and error() why not.
  explicit JournalInsert(const LedgerDb& db);

  bool ok() const { return q_.ok(); }
  // The SQLite error text of the last failure.
  std::string error() const { return q_.error(); }

  // Adds entry `entryNo` of `dataset`. REQUIRES: `slot` is the entry's month
  // slot as MonthSlotFor works it out; nothing else is checked here. The
  // description is UTF-8. False when SQLite refuses the row (a taken entry
  // number, a missing dataset), with the reason in error().
  bool Add(int dataset, long entryNo, long date, int slot, bool closing,
           std::string_view description, const JournalSideRow& debit, const JournalSideRow& credit);

 private:
  SqlStatement q_;
};

}  // namespace ltb::ledger

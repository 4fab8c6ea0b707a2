#include "tools/bench/raw_pass.h"

#include <sqlite3.h>

#include "ledger/ledger_db.h"

namespace ltb::bench {

bool RawJournalPass(const std::string& home, int dataset, int64_t* rows, int64_t* checksum,
                    std::string* error) {
  sqlite3* db = nullptr;
  const std::string path = ledger::LedgerFilePath(home);
  bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                            nullptr) == SQLITE_OK;
  sqlite3_stmt* q = nullptr;
  ok = ok && sqlite3_prepare_v2(db,
                                "SELECT entry_no, month_slot, debit_account, debit_dept,"
                                " debit_amount, debit_tax, debit_category, debit_rate, debit_btype,"
                                " credit_account, credit_dept, credit_amount, credit_tax,"
                                " credit_category, credit_rate, credit_btype"
                                " FROM journal NOT INDEXED WHERE dataset = ?1",
                                -1, &q, nullptr) == SQLITE_OK;
  *rows = 0;
  *checksum = 0;
  if (ok) {
    sqlite3_bind_int(q, 1, dataset);
    int rc;
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
      ++*rows;
      uint64_t sum = 0;
      for (int c = 0; c < 16; ++c) sum += static_cast<uint64_t>(sqlite3_column_int64(q, c));
      *checksum = static_cast<int64_t>(static_cast<uint64_t>(*checksum) + sum);
    }
    ok = rc == SQLITE_DONE;
  }
  if (!ok) *error = path + ": " + (db ? sqlite3_errmsg(db) : "cannot be opened");
  sqlite3_finalize(q);
  sqlite3_close(db);
  return ok;
}

}  // namespace ltb::bench

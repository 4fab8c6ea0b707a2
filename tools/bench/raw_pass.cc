#include "tools/bench/raw_pass.h"

#include <sqlite3.h>

#include "ledger/ledger_db.h"

namespace ltb::bench {
namespace {

constexpr char kColumns[] =
    "entry_no, month_slot, debit_account, debit_dept, debit_amount, debit_tax, debit_category,"
    " debit_rate, debit_btype, credit_account, credit_dept, credit_amount, credit_tax,"
    " credit_category, credit_rate, credit_btype";

struct Sums {
  int64_t rows = 0;
  uint64_t checksum = 0;
};

void AddRow(sqlite3_context* ctx, int argc, sqlite3_value** values) {
  auto* sums = static_cast<Sums*>(sqlite3_user_data(ctx));
  ++sums->rows;
  uint64_t sum = 0;
  for (int c = 0; c < argc; ++c) sum += static_cast<uint64_t>(sqlite3_value_int64(values[c]));
  sums->checksum += sum;
}

void NoResult(sqlite3_context* ctx) { sqlite3_result_null(ctx); }

}  // namespace

bool RawJournalPass(const std::string& home, int dataset, int64_t* rows, int64_t* checksum,
                    std::string* error) {
  sqlite3* db = nullptr;
  const std::string path = ledger::LedgerFilePath(home);
  bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                            nullptr) == SQLITE_OK;
  sqlite3_stmt* q = nullptr;
  const std::string sql =
      std::string("SELECT ") + kColumns + " FROM journal NOT INDEXED WHERE dataset = ?1";
  ok = ok && sqlite3_prepare_v2(db, sql.c_str(), -1, &q, nullptr) == SQLITE_OK;
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

bool RawJournalPassThroughFunction(const std::string& home, int dataset, int64_t* rows,
                                   int64_t* checksum, std::string* error) {
  sqlite3* db = nullptr;
  const std::string path = ledger::LedgerFilePath(home);
  Sums sums;
  bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                            nullptr) == SQLITE_OK &&
            sqlite3_create_function_v2(db, "bench_rows", 16, SQLITE_UTF8, &sums, nullptr, AddRow,
                                       NoResult, nullptr) == SQLITE_OK;
  const std::string sql = std::string("SELECT bench_rows(") + kColumns +
                          ") FROM journal NOT INDEXED WHERE dataset = ?1";
  sqlite3_stmt* q = nullptr;
  ok = ok && sqlite3_prepare_v2(db, sql.c_str(), -1, &q, nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_bind_int(q, 1, dataset);
    ok = sqlite3_step(q) == SQLITE_ROW;
  }
  *rows = sums.rows;
  *checksum = static_cast<int64_t>(sums.checksum);
  if (!ok) *error = path + ": " + (db ? sqlite3_errmsg(db) : "cannot be opened");
  sqlite3_finalize(q);
  sqlite3_close(db);
  return ok;
}

}  // namespace ltb::bench

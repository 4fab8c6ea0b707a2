#include "ledger/journal_reader.h"

#include <sqlite3.h>

#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "ledger/sql_statement.h"

namespace ltb::ledger {
namespace {

#define LTB_JOURNAL_COLUMNS                                                                \
  "entry_no, month_slot,"                                                                  \
  " debit_account, debit_dept, debit_amount, debit_tax, debit_category, debit_rate,"       \
  " debit_btype, credit_account, credit_dept, credit_amount, credit_tax, credit_category," \
  " credit_rate, credit_btype"

constexpr char kByEntryNoSql[] =
    "SELECT " LTB_JOURNAL_COLUMNS " FROM journal WHERE dataset = ?1 ORDER BY entry_no";
// A stretch of the table in storage order; no index, so each row is read
// once instead of being looked up from the index.
constexpr char kRowRangeSql[] = "SELECT " LTB_JOURNAL_COLUMNS
                                " FROM journal NOT INDEXED"
                                " WHERE rowid BETWEEN ?2 AND ?3 AND dataset = ?1";

// The rows of one statement, with whether their entry numbers ascend.
struct Part {
  explicit Part(size_t memoryBudget) : spool(std::make_unique<JournalSpool>(memoryBudget)) {}
  std::unique_ptr<JournalSpool> spool;
  JournalFold fold;
  bool ascending = true;
  int64_t firstNo = 0, lastNo = 0;
  std::string error;
};

// Columns are read straight from the statement: this runs once per column
// of every journal row, the bulk of a large ledger's loading time.
void ReadSide(sqlite3_stmt* q, int first, JournalSide* s) {
  s->account = sqlite3_column_int(q, first);
  s->department = sqlite3_column_int(q, first + 1);
  s->amount = sqlite3_column_int64(q, first + 2);
  s->tax = sqlite3_column_int64(q, first + 3);
  s->category = static_cast<uint8_t>(sqlite3_column_int(q, first + 4));
  s->rate = sqlite3_column_int(q, first + 5);
  s->businessType = static_cast<uint8_t>(sqlite3_column_int(q, first + 6));
}

bool ReadRows(SqlStatement& q, Part* part) {
  bool first = true;
  JournalEntry batch[JournalFold::kBatch];
  size_t n = 0;
  auto flush = [&] {
    for (size_t i = 0; i < n; ++i) part->spool->Append(batch[i]);
    part->fold.AddBatch(batch, n);
    n = 0;
  };
  while (q.Step()) {
    sqlite3_stmt* row = q.get();
    const int64_t no = sqlite3_column_int64(row, 0);
    if (first) {
      part->firstNo = no;
      first = false;
    } else if (no <= part->lastNo) {
      part->ascending = false;
    }
    part->lastNo = no;
    JournalEntry& e = batch[n++];
    e.slot = static_cast<int16_t>(sqlite3_column_int(row, 1));
    ReadSide(row, 2, &e.side[0]);
    ReadSide(row, 9, &e.side[1]);
    if (n == JournalFold::kBatch) flush();
  }
  flush();
  part->spool->Finish();
  if (q.ok()) return true;
  part->error = q.error();
  return false;
}

bool ReadRowRange(sqlite3* db, int dataset, int64_t from, int64_t to, Part* part) {
  SqlStatement q(db, kRowRangeSql);
  q.Bind(1, dataset).Bind(2, from).Bind(3, to);
  return ReadRows(q, part);
}

// The second half, through a connection of its own (run on another thread).
void ReadRowRangeApart(const std::string& path, int dataset, int64_t from, int64_t to, Part* part) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) ==
      SQLITE_OK) {
    sqlite3_busy_timeout(db, kLedgerBusyTimeoutMs);
    ReadRowRange(db, dataset, from, to, part);
  } else {
    part->error = db ? sqlite3_errmsg(db) : "cannot open the ledger a second time";
  }
  sqlite3_close_v2(db);
}

// One integer the query answers (binding `dataset` to ?1 when it has
// parameters); `fallback` for none or NULL.
int64_t Scalar(sqlite3* db, const char* sql, int dataset, int64_t fallback) {
  SqlStatement q(db, sql);
  if (q.ok() && sqlite3_bind_parameter_count(q.get()) > 0) q.Bind(1, dataset);
  return q.Step() && !q.IsNull(0) ? q.Int(0) : fallback;
}

bool InWalMode(sqlite3* db) {
  SqlStatement q(db, "PRAGMA journal_mode");
  return !q.Step() || q.Text(0) == "wal";
}

// A read transaction on the caller's connection, holding the shared lock
// (rollback-journal mode) until it ends: no writer can commit meanwhile.
class HeldReadLock {
 public:
  explicit HeldReadLock(sqlite3* db) : db_(db) {
    began_ = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!began_) return;
    SqlStatement q(db, "SELECT count(*) FROM meta");  // takes the lock
    held_ = q.Step();
  }
  // Ends the transaction whatever happens, so the connection never keeps
  // the lock (which would shut writers out for the rest of the run).
  ~HeldReadLock() {
    if (began_ && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  HeldReadLock(const HeldReadLock&) = delete;
  HeldReadLock& operator=(const HeldReadLock&) = delete;
  bool held() const { return held_; }

 private:
  sqlite3* db_;
  bool began_ = false;
  bool held_ = false;
};

// Reads the journal in two halves of the table at once; false (leaving
// *copy alone) whenever that cannot be done, or the rows are not stored in
// entry order.
bool ReadInTwoHalves(LedgerDb& db, int dataset, int64_t entrySpan, size_t memoryBudget,
                     JournalCopy* copy) {
  sqlite3* h = db.handle();
  // Only a connection outside a transaction: one with pending writes of its
  // own would see rows the second connection cannot.
  if (!sqlite3_get_autocommit(h) || InWalMode(h)) return false;
  const int64_t firstRow = Scalar(h, "SELECT min(rowid) FROM journal", dataset, 0);
  const int64_t lastRow = Scalar(h, "SELECT max(rowid) FROM journal", dataset, 0);
  // A table mostly of other datasets is better read through the index.
  if (lastRow - firstRow + 1 > 2 * entrySpan) return false;

  HeldReadLock lock(h);
  if (!lock.held()) return false;
  const int64_t middle = firstRow + (lastRow - firstRow) / 2;
  Part low(memoryBudget), high(memoryBudget);
  std::thread other;
  try {
    other = std::thread(ReadRowRangeApart, db.path(), dataset, middle + 1, lastRow, &high);
  } catch (const std::system_error&) {
    return false;
  }
  // The other thread is joined on every way out, also when this half throws.
  struct Join {
    std::thread& t;
    ~Join() { t.join(); }
  };
  {
    Join join{other};
    ReadRowRange(h, dataset, firstRow, middle, &low);
  }
  if (!low.error.empty() || !high.error.empty() || !low.ascending || !high.ascending) {
    return false;
  }
  const int64_t lowRows = low.spool->entries(), highRows = high.spool->entries();
  if (lowRows > 0 && highRows > 0 && low.lastNo >= high.firstNo) return false;
  low.fold.Merge(high.fold);
  low.fold.Finish();
  copy->fold = std::move(low.fold);
  copy->parts.clear();
  copy->parts.push_back(std::move(low.spool));
  copy->parts.push_back(std::move(high.spool));
  copy->entries = lowRows + highRows;
  return true;
}

}  // namespace

bool ReadJournalInOnePass(LedgerDb& db, int dataset, JournalCopy* copy, std::string* error,
                          size_t memoryBudget) {
  Part all(memoryBudget);
  SqlStatement q(db.handle(), kByEntryNoSql);
  q.Bind(1, dataset);
  if (!ReadRows(q, &all)) {
    if (error) *error = all.error;
    return false;
  }
  all.fold.Finish();
  copy->fold = std::move(all.fold);
  copy->parts.clear();
  copy->entries = all.spool->entries();
  copy->parts.push_back(std::move(all.spool));
  return true;
}

bool ReadJournal(LedgerDb& db, int dataset, JournalCopy* copy, std::string* error,
                 size_t memoryBudget) {
  // Entry numbers are normally 1..N, so their span is the number of rows:
  // two index lookups, where counting the rows would walk the whole index.
  const int64_t span = Scalar(db.handle(),
                              "SELECT (SELECT max(entry_no) FROM journal WHERE dataset = ?1)"
                              " - (SELECT min(entry_no) FROM journal WHERE dataset = ?1) + 1",
                              dataset, 0);
  if (span >= kSplitReadFrom && ReadInTwoHalves(db, dataset, span, memoryBudget, copy)) {
    return true;
  }
  return ReadJournalInOnePass(db, dataset, copy, error, memoryBudget);
}

}  // namespace ltb::ledger

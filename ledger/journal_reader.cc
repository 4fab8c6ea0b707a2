#include "ledger/journal_reader.h"

#include <sqlite3.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
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

// Whether the read is to give up. Only the caller's thread asks the
// connection's stop check (it may let a window take its input); the other
// thread sees the answer through the flag.
class StopSignal {
 public:
  explicit StopSignal(const LedgerDb& db) : db_(db) {}
  // On the caller's thread: asks the stop check until it has said stop.
  bool Poll() {
    if (!stopped_.load(std::memory_order_relaxed) && db_.StopRequested()) {
      stopped_.store(true, std::memory_order_relaxed);
    }
    return Stopped();
  }
  // On any thread.
  bool Stopped() const { return stopped_.load(std::memory_order_relaxed); }

 private:
  const LedgerDb& db_;
  std::atomic<bool> stopped_{false};
};

// How a half asks whether to stop: the caller's thread polls the check, the
// other one reads the flag.
struct StopAsker {
  StopSignal* signal;
  bool callerThread;
  bool operator()() const { return callerThread ? signal->Poll() : signal->Stopped(); }
};

// Rows between two questions, and SQLite instructions between two questions
// inside one step (a step that scans far for its next row).
constexpr size_t kRowsPerStopCheck = 1024;
constexpr int kOpsPerStopCheck = 20000;

// Lets SQLite interrupt the statements of `db` while the stop asker says
// stop; removed again at the end of the scope.
class InterruptOnStop {
 public:
  InterruptOnStop(sqlite3* db, StopAsker* ask) : db_(db) {
    sqlite3_progress_handler(db_, kOpsPerStopCheck, &InterruptOnStop::Ask, ask);
  }
  ~InterruptOnStop() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
  InterruptOnStop(const InterruptOnStop&) = delete;
  InterruptOnStop& operator=(const InterruptOnStop&) = delete;

 private:
  static int Ask(void* ask) { return (*static_cast<StopAsker*>(ask))() ? 1 : 0; }
  sqlite3* db_;
};

// The rows of one statement, with whether their entry numbers ascend.
struct Part {
  explicit Part(size_t memoryBudget) : spool(std::make_unique<JournalSpool>(memoryBudget)) {}
  std::unique_ptr<JournalSpool> spool;
  JournalFold fold;
  bool ascending = true;
  int64_t firstNo = 0, lastNo = 0;
  std::string error;
  std::exception_ptr failure;  // what the other thread's half threw
};

// Takes the rows of one read, in the order they come, into a part: the
// spool, the fold (in batches) and whether the entry numbers ascend. Asks
// whether to stop every kRowsPerStopCheck rows.
class RowSink {
 public:
  RowSink(Part* part, StopAsker ask) : part_(part), ask_(ask) {}

  // The entry to fill for the row numbered `no`.
  JournalEntry& Next(int64_t no) {
    if (first_) {
      part_->firstNo = no;
      first_ = false;
    } else if (no <= part_->lastNo) {
      part_->ascending = false;
    }
    part_->lastNo = no;
    return batch_[n_];
  }
  // Takes the entry Next gave; false when the read is to stop.
  bool Taken() {
    if (++n_ == JournalFold::kBatch) Flush();
    if (++sinceCheck_ < kRowsPerStopCheck) return true;
    sinceCheck_ = 0;
    return !ask_();
  }
  // After the last row; false with part->error when the read was stopped.
  bool Finish() {
    if (ask_.signal->Stopped()) {
      part_->error = "the read was stopped on request";
      return false;
    }
    Flush();
    part_->spool->Finish();
    return true;
  }

 private:
  void Flush() {
    for (size_t i = 0; i < n_; ++i) part_->spool->Append(batch_[i]);
    part_->fold.AddBatch(batch_, n_);
    n_ = 0;
  }

  Part* part_;
  StopAsker ask_;
  bool first_ = true;
  size_t sinceCheck_ = 0;
  JournalEntry batch_[JournalFold::kBatch];
  size_t n_ = 0;
};

// A row of LTB_JOURNAL_COLUMNS as the statement gives it (the one-pass
// read) and as SQLite hands it to the row function (the halves).
struct StatementRow {
  sqlite3_stmt* q;
  int Int(int i) const { return sqlite3_column_int(q, i); }
  int64_t Int64(int i) const { return sqlite3_column_int64(q, i); }
};
struct ValueRow {
  sqlite3_value** v;
  int Int(int i) const { return sqlite3_value_int(v[i]); }
  int64_t Int64(int i) const { return sqlite3_value_int64(v[i]); }
};

template <typename Row>
void ReadSide(const Row& row, int first, JournalSide* s) {
  s->account = row.Int(first);
  s->department = row.Int(first + 1);
  s->amount = row.Int64(first + 2);
  s->tax = row.Int64(first + 3);
  s->category = static_cast<uint8_t>(row.Int(first + 4));
  s->rate = row.Int(first + 5);
  s->businessType = static_cast<uint8_t>(row.Int(first + 6));
}

// Hands one row of LTB_JOURNAL_COLUMNS to the sink; this runs once for every
// journal row. False when the read is to stop.
template <typename Row>
bool TakeRow(const Row& row, RowSink& sink) {
  JournalEntry& e = sink.Next(row.Int64(0));
  e.slot = static_cast<int16_t>(row.Int(1));
  ReadSide(row, 2, &e.side[0]);
  ReadSide(row, 9, &e.side[1]);
  return sink.Taken();
}

// Reads the rows of q, stepping it row by row, into *part; false with
// part->error on a failure or a stop (then also stopped()).
bool ReadRows(SqlStatement& q, Part* part, StopAsker ask) {
  InterruptOnStop interrupt(sqlite3_db_handle(q.get()), &ask);
  RowSink sink(part, ask);
  while (q.Step()) {
    if (!TakeRow(StatementRow{q.get()}, sink)) break;
  }
  if (!sink.Finish()) return false;
  if (q.ok()) return true;
  part->error = q.error();
  return false;
}

// The rows of a stretch of the table handed to a function SQLite calls for
// each of them: the whole stretch is read in one step, and the values come
// straight from SQLite's decoding of the row, without a call per column
// through the statement interface (which costs about as much again).
// The function, an aggregate over the rows, exists only on the connections
// this reader opens for itself.
constexpr char kRowSinkFunction[] = "ltb_journal_rows";
// A stretch of the table in storage order; no index, so each row is read
// once instead of being looked up from the index.
constexpr char kRowRangeToSinkSql[] = "SELECT ltb_journal_rows(" LTB_JOURNAL_COLUMNS
                                      ") FROM journal NOT INDEXED"
                                      " WHERE rowid BETWEEN ?2 AND ?3 AND dataset = ?1";

// What the function works with: the sink, and what was thrown inside it.
struct SinkCall {
  RowSink* sink;
  std::exception_ptr failure;  // thrown again once SQLite has returned
};

void TakeRowValues(sqlite3_context* ctx, int argc, sqlite3_value** v) {
  auto* call = static_cast<SinkCall*>(sqlite3_user_data(ctx));
  if (argc != 16) {
    sqlite3_result_error(ctx, "unexpected journal columns", -1);
    return;
  }
  // Nothing may be thrown through SQLite: it is kept and thrown again.
  try {
    // A stop ends the statement at once with this error.
    if (!TakeRow(ValueRow{v}, *call->sink)) {
      sqlite3_result_error(ctx, "the read was stopped on request", -1);
    }
  } catch (...) {
    call->failure = std::current_exception();
    sqlite3_result_error_nomem(ctx);
  }
}

void NoResult(sqlite3_context* ctx) { sqlite3_result_null(ctx); }

// Reads the rows `from`..`to` of the table on `db`, a connection of this
// reader, into *part.
bool ReadRowRangeToSink(sqlite3* db, int dataset, int64_t from, int64_t to, Part* part,
                        StopAsker ask) {
  InterruptOnStop interrupt(db, &ask);
  RowSink sink(part, ask);
  SinkCall call{&sink, nullptr};
  if (sqlite3_create_function_v2(db, kRowSinkFunction, 16, SQLITE_UTF8 | SQLITE_DIRECTONLY, &call,
                                 nullptr, TakeRowValues, NoResult, nullptr) != SQLITE_OK) {
    part->error = sqlite3_errmsg(db);
    return false;
  }
  bool stepped = false;
  std::string error;
  {
    SqlStatement q(db, kRowRangeToSinkSql);
    q.Bind(1, dataset).Bind(2, from).Bind(3, to);
    stepped = q.Step() || q.ok();
    if (!stepped) error = q.error();
  }
  if (call.failure) std::rethrow_exception(call.failure);
  if (!sink.Finish()) return false;
  if (stepped) return true;
  part->error = error;
  return false;
}

// One half through a connection of its own (opened read-only here, so
// that the function above can be defined on it).
void ReadRowRangeApart(const std::string& path, int dataset, int64_t from, int64_t to, Part* part,
                       StopAsker ask) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) ==
      SQLITE_OK) {
    sqlite3_busy_timeout(db, kLedgerBusyTimeoutMs);
    // The scan reads every page once, so a page cache larger than the path
    // from the root to a leaf is only memory.
    sqlite3_exec(db, "PRAGMA cache_size = 32", nullptr, nullptr, nullptr);
    try {
      ReadRowRangeToSink(db, dataset, from, to, part, ask);
    } catch (...) {
      sqlite3_close_v2(db);
      throw;
    }
  } else {
    part->error = db ? sqlite3_errmsg(db) : "cannot open the ledger a second time";
  }
  sqlite3_close_v2(db);
}

// Runs the second half on another thread. Finish() waits for it while the
// caller's thread keeps asking the stop check, so a stop is seen (and a
// window kept alive) however much longer the second half takes.
class OtherHalf {
 public:
  OtherHalf(const std::string& path, int dataset, int64_t from, int64_t to, Part* part,
            StopSignal* stop)
      : stop_(stop), thread_([=, this] {
          try {
            ReadRowRangeApart(path, dataset, from, to, part, StopAsker{stop, false});
          } catch (...) {
            part->failure = std::current_exception();
          }
          std::lock_guard<std::mutex> lock(m_);
          done_ = true;
          cv_.notify_one();
        }) {}
  // Joined on every way out, also when the caller's half throws.
  ~OtherHalf() { thread_.join(); }
  OtherHalf(const OtherHalf&) = delete;
  OtherHalf& operator=(const OtherHalf&) = delete;

  void Finish() {
    std::unique_lock<std::mutex> lock(m_);
    while (!done_) {
      lock.unlock();
      stop_->Poll();
      lock.lock();
      cv_.wait_for(lock, std::chrono::milliseconds(20), [this] { return done_; });
    }
  }

 private:
  StopSignal* stop_;
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;  // last: started once the members above exist
};

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
                     StopSignal* stop, JournalCopy* copy) {
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
  std::optional<OtherHalf> other;
  try {
    other.emplace(db.path(), dataset, middle + 1, lastRow, &high, stop);
  } catch (const std::system_error&) {
    return false;
  }
  ReadRowRangeApart(db.path(), dataset, firstRow, middle, &low, StopAsker{stop, true});
  other->Finish();
  other.reset();
  if (high.failure) std::rethrow_exception(high.failure);
  if (stop->Stopped()) return false;
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

namespace {

bool ReadInOnePass(LedgerDb& db, int dataset, size_t memoryBudget, StopSignal* stop,
                   JournalCopy* copy, std::string* error, bool* stopped) {
  Part all(memoryBudget);
  SqlStatement q(db.handle(), kByEntryNoSql);
  q.Bind(1, dataset);
  if (!ReadRows(q, &all, StopAsker{stop, true})) {
    if (error) *error = all.error;
    if (stopped) *stopped = stop->Stopped();
    return false;
  }
  all.fold.Finish();
  copy->fold = std::move(all.fold);
  copy->parts.clear();
  copy->entries = all.spool->entries();
  copy->parts.push_back(std::move(all.spool));
  return true;
}

}  // namespace

bool ReadJournalInOnePass(LedgerDb& db, int dataset, JournalCopy* copy, std::string* error,
                          size_t memoryBudget, bool* stopped) {
  StopSignal stop(db);
  return ReadInOnePass(db, dataset, memoryBudget, &stop, copy, error, stopped);
}

bool ReadJournal(LedgerDb& db, int dataset, JournalCopy* copy, std::string* error,
                 size_t memoryBudget, bool* stopped) {
  // Entry numbers are normally 1..N, so their span is the number of rows:
  // two index lookups, where counting the rows would walk the whole index.
  const int64_t span = Scalar(db.handle(),
                              "SELECT (SELECT max(entry_no) FROM journal WHERE dataset = ?1)"
                              " - (SELECT min(entry_no) FROM journal WHERE dataset = ?1) + 1",
                              dataset, 0);
  StopSignal stop(db);
  if (span >= kSplitReadFrom && ReadInTwoHalves(db, dataset, span, memoryBudget, &stop, copy)) {
    return true;
  }
  if (stop.Stopped()) {
    if (error) *error = "the read was stopped on request";
    if (stopped) *stopped = true;
    return false;
  }
  return ReadInOnePass(db, dataset, memoryBudget, &stop, copy, error, stopped);
}

}  // namespace ltb::ledger

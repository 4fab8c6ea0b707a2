#include "ledger/journal_cache.h"

#include <sqlite3.h>

#include <map>
#include <mutex>
#include <unordered_map>

#include "ledger/sql_statement.h"

namespace ltb::ledger {
namespace {

// What one connection has cached, per dataset, with the ledger's change
// counters at the time of loading.
struct CachedJournal {
  std::shared_ptr<const JournalCache> cache;
  int64_t dataVersion = -1;
  int64_t totalChanges = -1;
};
struct ConnectionCaches {
  sqlite3* db = nullptr;
  std::map<int, CachedJournal> byDataset;
};

// Recursive: SQLite calls the destructor below from inside
// sqlite3_create_function_v2 when registering fails, while we hold the lock.
std::recursive_mutex& RegistryLock() {
  static std::recursive_mutex m;
  return m;
}
std::unordered_map<sqlite3*, ConnectionCaches*>& Registry() {
  static auto* r = new std::unordered_map<sqlite3*, ConnectionCaches*>();
  return *r;
}

// SQLite runs this when the connection closes (or when registering fails):
// the caches go with the connection, so a later connection that happens to
// get the same address never sees them.
void DropConnectionCaches(void* p) {
  auto* caches = static_cast<ConnectionCaches*>(p);
  std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  auto it = Registry().find(caches->db);
  if (it != Registry().end() && it->second == caches) Registry().erase(it);
  delete caches;
}

void UnusedSqlFunction(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_null(ctx); }

// The caches of `db`, registered on first use; null when the connection
// cannot carry them (the caller then loads without sharing).
ConnectionCaches* CachesOf(sqlite3* db) {
  auto it = Registry().find(db);
  if (it != Registry().end()) return it->second;
  auto* caches = new ConnectionCaches{db, {}};
  Registry()[db] = caches;
  int rc = sqlite3_create_function_v2(db, "ltb_walker_journal_cache", 0, SQLITE_UTF8, caches,
                                      UnusedSqlFunction, nullptr, nullptr,
                                      DropConnectionCaches);
  if (rc != SQLITE_OK) return nullptr;  // the destructor already ran
  return caches;
}

bool ChangeCounters(sqlite3* db, int64_t* dataVersion, int64_t* totalChanges) {
  SqlStatement q(db, "PRAGMA data_version");
  if (!q.Step()) return false;
  *dataVersion = q.Int(0);
  *totalChanges = sqlite3_total_changes64(db);
  return true;
}

// Columns are read straight from the statement: this runs once per column
// of every journal row, the bulk of a large ledger's loading time.
// The most rows a span of entry numbers may reserve room for in advance.
constexpr int64_t kMaxReservedEntries = int64_t{1} << 26;

void ReadSide(sqlite3_stmt* q, int first, JournalSide* s) {
  s->account = sqlite3_column_int(q, first);
  s->department = sqlite3_column_int(q, first + 1);
  s->amount = sqlite3_column_int64(q, first + 2);
  s->tax = sqlite3_column_int64(q, first + 3);
  s->category = static_cast<uint8_t>(sqlite3_column_int(q, first + 4));
  s->rate = sqlite3_column_int(q, first + 5);
  s->businessType = static_cast<uint8_t>(sqlite3_column_int(q, first + 6));
}

}  // namespace

std::shared_ptr<const JournalCache> JournalCache::Load(LedgerDb& db, int dataset,
                                                       std::string* error) {
  auto cache = std::make_shared<JournalCache>();
  // Entry numbers are normally 1..N, so their span is the number of rows;
  // two index lookups, where counting the rows would walk the whole index.
  // A sparse numbering only reserves address space that is never touched.
  SqlStatement span(db.handle(),
                    "SELECT (SELECT max(entry_no) FROM journal WHERE dataset = ?1)"
                    " - (SELECT min(entry_no) FROM journal WHERE dataset = ?1) + 1");
  span.Bind(1, dataset);
  if (span.Step() && span.Int(0) > 0 && span.Int(0) <= kMaxReservedEntries) {
    cache->entries_.reserve(static_cast<size_t>(span.Int(0)));
  }

  SqlStatement q(db.handle(),
                 "SELECT entry_date, month_slot,"
                 " debit_account, debit_dept, debit_amount, debit_tax, debit_category,"
                 " debit_rate, debit_btype,"
                 " credit_account, credit_dept, credit_amount, credit_tax, credit_category,"
                 " credit_rate, credit_btype"
                 " FROM journal WHERE dataset = ?1 ORDER BY entry_no");
  q.Bind(1, dataset);
  while (q.Step()) {
    sqlite3_stmt* row = q.get();
    JournalEntry& e = cache->entries_.emplace_back();
    e.date = sqlite3_column_int(row, 0);
    e.slot = static_cast<int16_t>(sqlite3_column_int(row, 1));
    ReadSide(row, 2, &e.side[0]);
    ReadSide(row, 9, &e.side[1]);
  }
  if (!q.ok()) {
    if (error) *error = q.error();
    return nullptr;
  }
  if (cache->entries_.capacity() > 2 * cache->entries_.size() + 1024) {
    cache->entries_.shrink_to_fit();
  }
  return cache;
}

std::shared_ptr<const JournalCache> JournalCache::Acquire(LedgerDb& db, int dataset,
                                                          std::string* error) {
  std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  int64_t dataVersion = 0, totalChanges = 0;
  if (!ChangeCounters(db.handle(), &dataVersion, &totalChanges)) return Load(db, dataset, error);
  ConnectionCaches* caches = CachesOf(db.handle());
  if (caches == nullptr) return Load(db, dataset, error);

  CachedJournal& slot = caches->byDataset[dataset];
  if (slot.cache && slot.dataVersion == dataVersion && slot.totalChanges == totalChanges) {
    return slot.cache;
  }
  slot.cache = Load(db, dataset, error);
  slot.dataVersion = dataVersion;
  slot.totalChanges = totalChanges;
  return slot.cache;
}

}  // namespace ltb::ledger

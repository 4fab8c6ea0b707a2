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

void ReadSide(const SqlStatement& q, int first, JournalSide* s) {
  s->account = static_cast<int32_t>(q.Int(first));
  s->department = static_cast<int32_t>(q.Int(first + 1));
  s->amount = q.Int(first + 2);
  s->tax = q.Int(first + 3);
  s->category = static_cast<uint8_t>(q.Int(first + 4));
  s->rate = static_cast<int32_t>(q.Int(first + 5));
  s->businessType = static_cast<uint8_t>(q.Int(first + 6));
}

}  // namespace

std::shared_ptr<const JournalCache> JournalCache::Load(LedgerDb& db, int dataset,
                                                       std::string* error) {
  auto cache = std::make_shared<JournalCache>();
  SqlStatement count(db.handle(), "SELECT count(*) FROM journal WHERE dataset = ?1");
  count.Bind(1, dataset);
  if (count.Step()) cache->entries_.reserve(static_cast<size_t>(count.Int(0)));

  SqlStatement q(db.handle(),
                 "SELECT entry_date, month_slot,"
                 " debit_account, debit_dept, debit_amount, debit_tax, debit_category,"
                 " debit_rate, debit_btype,"
                 " credit_account, credit_dept, credit_amount, credit_tax, credit_category,"
                 " credit_rate, credit_btype"
                 " FROM journal WHERE dataset = ?1 ORDER BY entry_no");
  q.Bind(1, dataset);
  while (q.Step()) {
    JournalEntry e;
    e.date = static_cast<int32_t>(q.Int(0));
    e.slot = static_cast<int16_t>(q.Int(1));
    ReadSide(q, 2, &e.side[0]);
    ReadSide(q, 9, &e.side[1]);
    cache->entries_.push_back(e);
  }
  if (!q.ok()) {
    if (error) *error = q.error();
    return nullptr;
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

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
                                      UnusedSqlFunction, nullptr, nullptr, DropConnectionCaches);
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

}  // namespace

std::shared_ptr<const JournalCache> JournalCache::Load(LedgerDb& db, int dataset,
                                                       std::string* error, bool* stopped) {
  auto cache = std::make_shared<JournalCache>();
  if (!ReadJournal(db, dataset, &cache->copy_, error, JournalSpool::kDefaultMemoryBudget,
                   stopped)) {
    return nullptr;
  }
  return cache;
}

bool JournalCache::Cursor::Next(JournalEntry* e) {
  while (!failed_ && part_ < cache_.copy_.parts.size()) {
    if (!reader_) reader_.emplace(*cache_.copy_.parts[part_]);
    if (reader_->Next(e)) return true;
    failed_ = reader_->failed();
    reader_.reset();
    ++part_;
  }
  return false;
}

std::shared_ptr<const JournalCache> JournalCache::Acquire(LedgerDb& db, int dataset,
                                                          std::string* error, bool* stopped) {
  std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  int64_t dataVersion = 0, totalChanges = 0;
  if (!ChangeCounters(db.handle(), &dataVersion, &totalChanges))
    return Load(db, dataset, error, stopped);
  ConnectionCaches* caches = CachesOf(db.handle());
  if (caches == nullptr) return Load(db, dataset, error, stopped);

  CachedJournal& slot = caches->byDataset[dataset];
  if (slot.cache && slot.dataVersion == dataVersion && slot.totalChanges == totalChanges) {
    return slot.cache;
  }
  slot.cache = Load(db, dataset, error, stopped);
  slot.dataVersion = dataVersion;
  slot.totalChanges = totalChanges;
  return slot.cache;
}

}  // namespace ltb::ledger

// An open ledger database: <home>/ledger.db (layout in ledger/schema.sql).
//
// The host objects share one LedgerDb per run. A run opens it read-only and
// never writes; the ledger tool opens it for writing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace ltb::ledger {

constexpr int kLedgerSchemaVersion = 1;
constexpr const char kLedgerFileName[] = "ledger.db";
// How long a connection waits for another writer before giving up.
constexpr int kLedgerBusyTimeoutMs = 5000;

// The SQL of ledger/schema.sql, which creates an empty ledger.
extern const char kLedgerSchemaSql[];

// "<home>/ledger.db" (Linux path, UTF-8).
std::string LedgerFilePath(const std::string& home);

class LedgerDb {
 public:
  enum class Mode {
    kReadOnly,   // an existing ledger, for runs
    kReadWrite,  // an existing ledger, for the tool
    kCreate,     // creates the file and the schema when absent
  };

  // Opens the ledger of `home` and checks that it is a ledger database of
  // kLedgerSchemaVersion. Null on failure, with *error (UTF-8) naming the
  // file and what is wrong with it.
  static std::unique_ptr<LedgerDb> Open(const std::string& home, Mode mode, std::string* error);
  ~LedgerDb();
  LedgerDb(const LedgerDb&) = delete;
  LedgerDb& operator=(const LedgerDb&) = delete;

  sqlite3* handle() const { return db_; }
  const std::string& home() const { return home_; }
  const std::string& path() const { return path_; }

  // The dataset the run works on: the current user's selection; 0 for none.
  int selected_dataset() const { return selected_; }
  void set_selected_dataset(int no) { selected_ = no; }

  // The number of the dataset with this data id; 0 when there is none.
  int DatasetNoOf(std::string_view dataId) const;

  // A value of the settings table, or `fallback` when the key is absent.
  std::string Setting(std::string_view key, std::string_view fallback) const;

  // Runs SQL without results; false with *error (may be null) on failure.
  bool Exec(const char* sql, std::string* error);

  // What long reads on this connection ask whether to give up (the
  // program's stop check); empty for none. Asked only on the thread that
  // uses the connection.
  void set_stop_check(std::function<bool()> check) { stopCheck_ = std::move(check); }
  bool StopRequested() const { return stopCheck_ && stopCheck_(); }

 private:
  LedgerDb(sqlite3* db, std::string home, std::string path);

  sqlite3* db_;
  std::string home_;
  std::string path_;
  int selected_ = 0;
  std::function<bool()> stopCheck_;
};

}  // namespace ltb::ledger

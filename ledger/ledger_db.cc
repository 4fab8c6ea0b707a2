#include "ledger/ledger_db.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "ledger/sql_statement.h"
#include "platform/messages.h"

namespace ltb::ledger {

std::string LedgerFilePath(const std::string& home) {
  if (!home.empty() && home.back() == '/') return home + kLedgerFileName;
  return home + "/" + kLedgerFileName;
}

namespace {

// False with errno from stat, or 0 when the entry is no regular file.
bool IsRegularFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  errno = 0;
  return S_ISREG(st.st_mode);
}

// Checks that the open file is a ledger of the current schema version.
bool CheckSchema(sqlite3* db, const std::string& path, std::string* error) {
  SqlStatement version(db, "SELECT value FROM meta WHERE key = 'schema_version'");
  if (!version.ok()) {
    // Also the first statement to touch the file, so a file that is not a
    // database fails here.
    int code = sqlite3_errcode(db);
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) {
      *error = platform::Format(
          platform::Tr("The ledger file %s is not a ledger database. Give the folder of a ledger "
                       "(--ledger or LEDORA_HOME)."),
          path.c_str());
    } else if (code == SQLITE_ERROR) {
      *error = platform::Format(
          platform::Tr(
              "The ledger file %s is not a ledger database (it has no meta table). Give the "
              "folder of a ledger (--ledger or LEDORA_HOME)."),
          path.c_str());
    } else {
      *error = platform::Format(platform::Tr("The ledger file %s cannot be read: %s."),
                                path.c_str(), version.error().c_str());
    }
    return false;
  }
  if (!version.Step()) {
    *error = version.ok()
                 ? platform::Format(
                       platform::Tr(
                           "The ledger file %s has no schema version. Give the folder of a ledger "
                           "(--ledger or LEDORA_HOME)."),
                       path.c_str())
                 : platform::Format(platform::Tr("The ledger file %s cannot be read: %s."),
                                    path.c_str(), version.error().c_str());
    return false;
  }
  std::string found = version.Text(0);
  if (found != std::to_string(kLedgerSchemaVersion)) {
    *error = platform::Format(
        platform::Tr("The ledger file %s has schema version %s, but this program needs version %d. "
                     "Use a ledger made by this version of ledora-ledger."),
        path.c_str(), found.c_str(), kLedgerSchemaVersion);
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<LedgerDb> LedgerDb::Open(const std::string& home, Mode mode, std::string* error) {
  std::string path = LedgerFilePath(home);
  bool exists = IsRegularFile(path);
  if (!exists && mode != Mode::kCreate) {
    // A file (or a folder on its way) this user may not read is there all
    // the same: say so, with the system's reason.
    const int why = errno;
    *error = why == ENOENT || why == ENOTDIR || why == 0
                 ? platform::Format(
                       platform::Tr(
                           "The ledger file %s does not exist. Check --ledger or LEDORA_HOME, or "
                           "create a ledger with ledora-ledger."),
                       path.c_str())
                 : platform::Format(platform::Tr("The ledger file %s cannot be read: %s."),
                                    path.c_str(), std::strerror(why));
    return nullptr;
  }
  if (exists && ::access(path.c_str(), R_OK) != 0 && errno == EACCES) {
    *error = platform::Format(
        platform::Tr("The ledger file %s cannot be read: %s. Ask its owner for access."),
        path.c_str(), std::strerror(EACCES));
    return nullptr;
  }
  int flags = SQLITE_OPEN_NOMUTEX;
  if (mode == Mode::kReadOnly) {
    flags |= SQLITE_OPEN_READONLY;
  } else {
    flags |= SQLITE_OPEN_READWRITE;
    if (mode == Mode::kCreate) flags |= SQLITE_OPEN_CREATE;
  }
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  std::unique_ptr<LedgerDb> db(new LedgerDb(raw, home, path));
  if (rc != SQLITE_OK) {
    *error = platform::Format(platform::Tr("The ledger file %s cannot be opened: %s."),
                              path.c_str(), raw ? SqlReason(raw).c_str() : sqlite3_errstr(rc));
    return nullptr;
  }
  sqlite3_busy_timeout(raw, kLedgerBusyTimeoutMs);
  sqlite3_extended_result_codes(raw, 0);

  if (!exists) {
    std::string sql = std::string("BEGIN;") + kLedgerSchemaSql +
                      "INSERT INTO meta VALUES ('schema_version', '" +
                      std::to_string(kLedgerSchemaVersion) + "');COMMIT;";
    std::string why;
    if (!db->Exec("PRAGMA journal_mode = DELETE", &why) || !db->Exec(sql.c_str(), &why)) {
      *error = platform::Format(platform::Tr("The ledger file %s cannot be created: %s."),
                                path.c_str(), why.c_str());
      db->Exec("ROLLBACK", nullptr);
      return nullptr;
    }
  }
  if (!CheckSchema(raw, path, error)) return nullptr;
  if (mode != Mode::kReadOnly) {
    // Rollback journal, never WAL: a reader must not need write access.
    std::string why;
    // SQLite opens a file it may not write read-only without a word, and
    // the journal it writes beside the file needs the folder: both are
    // checked here, so that a change is refused before it starts rather
    // than at its first row.
    const std::string folder = path.substr(0, path.find_last_of('/'));
    if (sqlite3_db_readonly(raw, "main") == 1) {
      why = std::strerror(EACCES);
    } else if (::access(folder.empty() ? "/" : folder.c_str(), W_OK) != 0) {
      why = std::strerror(errno);
    }
    if (!why.empty() || !db->Exec("PRAGMA journal_mode = DELETE; PRAGMA foreign_keys = ON", &why)) {
      *error = platform::Format(
          platform::Tr("The ledger file %s cannot be opened for writing: %s. Check that the file "
                       "and its folder are writable for you."),
          path.c_str(), why.c_str());
      return nullptr;
    }
  }
  return db;
}

LedgerDb::LedgerDb(sqlite3* db, std::string home, std::string path)
    : db_(db), home_(std::move(home)), path_(std::move(path)) {}

LedgerDb::~LedgerDb() { sqlite3_close_v2(db_); }

int LedgerDb::DatasetNoOf(std::string_view dataId) const {
  SqlStatement q(db_, "SELECT no FROM datasets WHERE data_id = ?1");
  q.BindText(1, dataId);
  return q.Step() ? static_cast<int>(q.Int(0)) : 0;
}

std::string LedgerDb::Setting(std::string_view key, std::string_view fallback) const {
  SqlStatement q(db_, "SELECT value FROM settings WHERE key = ?1");
  q.BindText(1, key);
  return q.Step() ? q.Text(0) : std::string(fallback);
}

bool LedgerDb::Exec(const char* sql, std::string* error) {
  int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK && error) *error = SqlReason(db_);
  return rc == SQLITE_OK;
}

}  // namespace ltb::ledger

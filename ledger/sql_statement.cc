#include "ledger/sql_statement.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include "platform/messages.h"

namespace ltb::ledger {

std::string SqlReason(sqlite3* db) {
  using platform::Tr;
  const int code = sqlite3_extended_errcode(db);
  switch (code) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
      return Tr("the ledger already holds one with the same number or id");
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      return Tr("it refers to a dataset, account or department the ledger does not hold");
    case SQLITE_CONSTRAINT_CHECK:
    case SQLITE_CONSTRAINT_NOTNULL: return Tr("a value lies outside what the ledger accepts");
    default: break;
  }
  switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Tr("another program is writing to the ledger");
    case SQLITE_READONLY: return Tr("the ledger file is read-only for you");
    case SQLITE_FULL: return std::strerror(ENOSPC);
    case SQLITE_NOMEM: return std::strerror(ENOMEM);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Tr("the ledger file is damaged");
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
      // The system's own reason when the failure came from a system call.
      if (const int err = sqlite3_system_errno(db); err != 0) return std::strerror(err);
      return Tr("the disk refused to read or write the ledger file");
    case SQLITE_INTERRUPT: return Tr("the work was stopped on request");
    default: return sqlite3_errmsg(db);
  }
}

SqlStatement::SqlStatement(sqlite3* db, const char* sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    failed_ = true;
  }
}

SqlStatement::~SqlStatement() { sqlite3_finalize(stmt_); }

std::string SqlStatement::error() const { return SqlReason(db_); }

SqlStatement& SqlStatement::Bind(int index, int64_t value) {
  if (stmt_ && sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) failed_ = true;
  return *this;
}

SqlStatement& SqlStatement::BindText(int index, std::string_view text) {
  if (stmt_ && sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT) != SQLITE_OK) {
    failed_ = true;
  }
  return *this;
}

SqlStatement& SqlStatement::BindBlob(int index, const void* data, size_t size) {
  if (stmt_ && sqlite3_bind_blob(stmt_, index, data, static_cast<int>(size), SQLITE_TRANSIENT) !=
                   SQLITE_OK) {
    failed_ = true;
  }
  return *this;
}

bool SqlStatement::Step() {
  if (!ok()) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) failed_ = true;
  return false;
}

bool SqlStatement::Run() {
  if (!ok()) return false;
  int rc = sqlite3_step(stmt_);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) failed_ = true;
  return !failed_;
}

void SqlStatement::Reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  failed_ = false;
}

int64_t SqlStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string SqlStatement::Text(int column) const {
  const unsigned char* p = sqlite3_column_text(stmt_, column);
  int n = sqlite3_column_bytes(stmt_, column);
  return p ? std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
}

std::string_view SqlStatement::Blob(int column) const {
  const void* p = sqlite3_column_blob(stmt_, column);
  int n = sqlite3_column_bytes(stmt_, column);
  return p ? std::string_view(static_cast<const char*>(p), static_cast<size_t>(n))
           : std::string_view();
}

bool SqlStatement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

}  // namespace ltb::ledger

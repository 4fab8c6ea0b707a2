// A prepared SQLite statement that finalizes itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace ltb::ledger {

class SqlStatement {
 public:
  // Prepares `sql`; ok() tells whether that worked, error() why not.
  SqlStatement(sqlite3* db, const char* sql);
  ~SqlStatement();
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  bool ok() const { return stmt_ != nullptr && !failed_; }
  // The reason of the last failure, in the user's language where it is one
  // the ledger knows (SqlReason).
  std::string error() const;

  // Parameters are numbered from 1.
  SqlStatement& Bind(int index, int64_t value);
  SqlStatement& BindText(int index, std::string_view text);
  SqlStatement& BindBlob(int index, const void* data, size_t size);

  // True for a row; false at the end or on an error (then ok() is false).
  bool Step();
  // Steps a statement that returns no rows; false on an error.
  bool Run();
  void Reset();

  // Columns are numbered from 0.
  int64_t Int(int column) const;
  std::string Text(int column) const;
  std::string_view Blob(int column) const;
  bool IsNull(int column) const;

  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool failed_ = false;
};

// The reason of the last failure on `db`, a clause for a message: in the
// user's language for the failures a user meets (a number in use, a busy or
// read-only ledger, a full or failing disk: then the system's own reason),
// else SQLite's text.
std::string SqlReason(sqlite3* db);

}  // namespace ltb::ledger

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
  // The SQLite error text of the last failure.
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

}  // namespace ltb::ledger

// A CSV file with a header row (UTF-8, comma-separated, fields optionally in
// double quotes with "" for a quote, CR LF or LF line ends).
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ltb::ledger_tool {

struct CsvRow {
  int line = 0;  // line number in the file (the header is line 1)
  std::vector<std::string> fields;
};

class CsvTable {
 public:
  // False with *error (naming the line) on an unterminated quote or a row
  // whose field count differs from the header's.
  bool Parse(std::string_view text, std::string* error);

  // Reads `file` a block at a time: the header is kept, each row is handed
  // to `onRow` and then dropped, so memory does not grow with the file.
  // `onHeader` runs once the header is read. False with *error at the first
  // broken row, when a callback returns false (its own *error), or when the
  // file cannot be read.
  bool Stream(std::FILE* file, const std::function<bool(std::string*)>& onHeader,
              const std::function<bool(const CsvRow&, std::string*)>& onRow, std::string* error);
  // The same over a text in memory.
  bool Stream(std::string_view text, const std::function<bool(std::string*)>& onHeader,
              const std::function<bool(const CsvRow&, std::string*)>& onRow, std::string* error);

  const std::vector<std::string>& header() const { return header_; }
  const std::vector<CsvRow>& rows() const { return rows_; }
  // Index of a header name, or -1.
  int Column(std::string_view name) const;

 private:
  // Parses `text`, which ends at a line end unless `last`; rows go to
  // onRow_ (or rows_ when there is none).
  bool Feed(std::string_view text, bool last, std::string* error);
  bool EndRow(std::string* error);

  std::vector<std::string> header_;
  std::vector<CsvRow> rows_;
  // Parser state between blocks.
  std::vector<std::string> fields_;
  std::string field_;
  bool quoted_ = false, fieldWasQuoted_ = false, any_ = false, started_ = false;
  int line_ = 1, rowLine_ = 1;
  std::function<bool(std::string*)> onHeader_;
  std::function<bool(const CsvRow&, std::string*)> onRow_;
  CsvRow row_;
};

// Parses an amount in yen with at most four decimals ("-1234.5") into
// units of 1/10000 yen; false when it is not such a number or too large.
bool ParseAmount(std::string_view text, long long* units);
// Parses a whole number; false when it is not one.
bool ParseInteger(std::string_view text, long long* value);
// Parses a tax rate in percent ("8", "6.3", "0") into hundredths of a percent.
bool ParseRatePercent(std::string_view text, long long* hundredths);

}  // namespace ltb::ledger_tool

// A CSV file with a header row (UTF-8, comma-separated, fields optionally in
// double quotes with "" for a quote, CR LF or LF line ends).
#pragma once

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

  const std::vector<std::string>& header() const { return header_; }
  const std::vector<CsvRow>& rows() const { return rows_; }
  // Index of a header name, or -1.
  int Column(std::string_view name) const;

 private:
  std::vector<std::string> header_;
  std::vector<CsvRow> rows_;
};

// Parses an amount in yen with at most four decimals ("-1234.5") into
// units of 1/10000 yen; false when it is not such a number or too large.
bool ParseAmount(std::string_view text, long long* units);
// Parses a whole number; false when it is not one.
bool ParseInteger(std::string_view text, long long* value);
// Parses a tax rate in percent ("8", "6.3", "0") into hundredths of a percent.
bool ParseRatePercent(std::string_view text, long long* hundredths);

}  // namespace ltb::ledger_tool

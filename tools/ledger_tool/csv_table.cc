#include "tools/ledger_tool/csv_table.h"

namespace ltb::ledger_tool {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Parses a decimal number with at most `decimals` places into an integer
// scaled by 10^decimals.
bool ParseScaled(std::string_view text, int decimals, long long* out) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  size_t dot = text.find('.');
  std::string_view whole = text.substr(0, dot);
  std::string_view frac = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  if (whole.empty() && frac.empty()) return false;
  if (frac.size() > static_cast<size_t>(decimals)) return false;
  long long value = 0;
  auto addDigits = [&](std::string_view digits) {
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      if (__builtin_mul_overflow(value, 10, &value) ||
          __builtin_add_overflow(value, c - '0', &value)) {
        return false;
      }
    }
    return true;
  };
  if (!addDigits(whole) || !addDigits(frac)) return false;
  for (size_t i = frac.size(); i < static_cast<size_t>(decimals); ++i) {
    if (__builtin_mul_overflow(value, 10, &value)) return false;
  }
  *out = negative ? -value : value;
  return true;
}

}  // namespace

bool ParseAmount(std::string_view text, long long* units) { return ParseScaled(text, 4, units); }
bool ParseInteger(std::string_view text, long long* value) { return ParseScaled(text, 0, value); }
bool ParseRatePercent(std::string_view text, long long* hundredths) {
  return ParseScaled(text, 2, hundredths) && *hundredths >= 0;
}

bool CsvTable::Parse(std::string_view text, std::string* error) {
  header_.clear();
  rows_.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // byte-order mark
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false, fieldWasQuoted = false, any = false;
  int line = 1, rowLine = 1;
  auto endRow = [&]() -> bool {
    fields.push_back(fieldWasQuoted ? field : std::string(Trim(field)));
    field.clear();
    fieldWasQuoted = false;
    bool blank = fields.size() == 1 && fields[0].empty();
    if (header_.empty()) {
      if (blank) {
        *error = "line " + std::to_string(rowLine) + ": the header row is empty";
        return false;
      }
      header_ = std::move(fields);
    } else if (!blank) {
      if (fields.size() != header_.size()) {
        *error = "line " + std::to_string(rowLine) + ": " + std::to_string(fields.size()) +
                 " fields, the header has " + std::to_string(header_.size());
        return false;
      }
      rows_.push_back({rowLine, std::move(fields)});
    }
    fields.clear();
    return true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    any = true;
    if (quoted) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"' && Trim(field).empty()) {
      field.clear();
      quoted = fieldWasQuoted = true;
    } else if (c == ',') {
      fields.push_back(fieldWasQuoted ? field : std::string(Trim(field)));
      field.clear();
      fieldWasQuoted = false;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      // The LF ends the row.
    } else if (c == '\n') {
      if (!endRow()) return false;
      any = false;
      rowLine = ++line;
    } else {
      field += c;
    }
  }
  if (quoted) {
    *error = "line " + std::to_string(rowLine) + ": a quoted field is not closed";
    return false;
  }
  if (any && !endRow()) return false;
  if (header_.empty()) {
    *error = "the file has no header row";
    return false;
  }
  return true;
}

int CsvTable::Column(std::string_view name) const {
  for (size_t i = 0; i < header_.size(); ++i) {
    if (header_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ltb::ledger_tool

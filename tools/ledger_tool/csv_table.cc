#include "tools/ledger_tool/csv_table.h"

#include <cerrno>
#include <cstring>

#include "platform/messages.h"

namespace ltb::ledger_tool {

namespace {

using platform::Format;
using platform::Tr;

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

bool CsvTable::EndRow(std::string* error) {
  fields_.push_back(fieldWasQuoted_ ? field_ : std::string(Trim(field_)));
  field_.clear();
  fieldWasQuoted_ = false;
  const bool blank = fields_.size() == 1 && fields_[0].empty();
  if (header_.empty()) {
    if (blank) {
      *error = Format(Tr("line %d: the header row is empty; the first line must name the "
                         "columns."),
                      rowLine_);
      return false;
    }
    header_ = std::move(fields_);
    fields_.clear();
    return !onHeader_ || onHeader_(error);
  }
  if (!blank) {
    if (fields_.size() != header_.size()) {
      *error = Format(Tr("line %d: %zu fields, the header has %zu; check the commas and quotes "
                         "of the row."),
                      rowLine_, fields_.size(), header_.size());
      return false;
    }
    row_.line = rowLine_;
    row_.fields.swap(fields_);
    if (onRow_) {
      if (!onRow_(row_, error)) return false;
    } else {
      rows_.push_back(row_);
    }
  }
  fields_.clear();
  return true;
}

bool CsvTable::Feed(std::string_view text, bool last, std::string* error) {
  if (!started_) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // byte-order mark
    started_ = true;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    any_ = true;
    if (quoted_) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field_ += '"';
          ++i;
        } else {
          quoted_ = false;
        }
      } else {
        if (c == '\n') ++line_;
        field_ += c;
      }
      continue;
    }
    if (c == '"' && Trim(field_).empty()) {
      field_.clear();
      quoted_ = fieldWasQuoted_ = true;
    } else if (c == ',') {
      fields_.push_back(fieldWasQuoted_ ? field_ : std::string(Trim(field_)));
      field_.clear();
      fieldWasQuoted_ = false;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      // The LF ends the row.
    } else if (c == '\n') {
      if (!EndRow(error)) return false;
      any_ = false;
      rowLine_ = ++line_;
    } else {
      field_ += c;
    }
  }
  if (!last) return true;
  if (quoted_) {
    *error = Format(Tr("line %d: a quoted field is not closed; add the closing double quote."),
                    rowLine_);
    return false;
  }
  if (any_ && !EndRow(error)) return false;
  if (header_.empty()) {
    *error = Tr("The file has no header row; the first line must name the columns.");
    return false;
  }
  return true;
}

bool CsvTable::Parse(std::string_view text, std::string* error) {
  *this = CsvTable();
  return Feed(text, true, error);
}

bool CsvTable::Stream(std::string_view text, const std::function<bool(std::string*)>& onHeader,
                      const std::function<bool(const CsvRow&, std::string*)>& onRow,
                      std::string* error) {
  *this = CsvTable();
  onHeader_ = onHeader;
  onRow_ = onRow;
  return Feed(text, true, error);
}

bool CsvTable::Stream(std::FILE* file, const std::function<bool(std::string*)>& onHeader,
                      const std::function<bool(const CsvRow&, std::string*)>& onRow,
                      std::string* error) {
  *this = CsvTable();
  onHeader_ = onHeader;
  onRow_ = onRow;
  // Blocks are cut after their last line end, so that a quote pair or a
  // CR LF never falls across two of them.
  std::string buffer;
  constexpr size_t kBlock = 1 << 20;
  for (;;) {
    const size_t old = buffer.size();
    buffer.resize(old + kBlock);
    const size_t got = std::fread(buffer.data() + old, 1, kBlock, file);
    buffer.resize(old + got);
    if (got == 0) {
      if (std::ferror(file)) {
        *error = Format(Tr("The file cannot be read: %s."), std::strerror(errno));
        return false;
      }
      return Feed(buffer, true, error);
    }
    const size_t lf = buffer.rfind('\n');
    if (lf == std::string::npos) continue;
    if (!Feed(std::string_view(buffer).substr(0, lf + 1), false, error)) return false;
    buffer.erase(0, lf + 1);
  }
}

int CsvTable::Column(std::string_view name) const {
  for (size_t i = 0; i < header_.size(); ++i) {
    if (header_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ltb::ledger_tool

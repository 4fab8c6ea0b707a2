#include "app/figure_table.h"

#include <algorithm>

#include "platform/cp932.h"

namespace ltb::app {
namespace {

void Put(std::FILE* out, std::string_view cp932) {
  const std::string utf8 = platform::Cp932ToUtf8(cp932);
  std::fwrite(utf8.data(), 1, utf8.size(), out);
}

// Digits with separators and an optional sign: the cells a right-aligned
// column aligns on the right; its texts stay on the left.
bool IsNumberCell(std::string_view cell) {
  if (!cell.empty() && cell.front() == '-') cell.remove_prefix(1);
  return !cell.empty() && std::all_of(cell.begin(), cell.end(),
                                      [](char c) { return (c >= '0' && c <= '9') || c == ','; });
}

std::string CsvField(std::string_view text) {
  std::string cell;
  // A cell that a spreadsheet would take for a formula gets a leading
  // apostrophe, which shows it as text; a negative amount stays a number.
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
      !IsNumberCell(text)) {
    cell = "'";
  }
  cell += text;
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

}  // namespace

std::string WithThousandsSeparators(std::string_view amount) {
  const bool negative = !amount.empty() && amount.front() == '-';
  const std::string_view digits = amount.substr(negative ? 1 : 0);
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::string(amount);
  }
  std::string out = negative ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

void PrintTable(const FigureTable& table, std::FILE* out) {
  std::vector<size_t> widths(table.headings.size(), 0);
  for (size_t i = 0; i < table.headings.size(); ++i) widths[i] = table.headings[i].size();
  for (const FigureTable::Row& row : table.rows) {
    for (size_t i = 0; i < row.cells.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], row.cells[i].size());
    }
  }
  auto line = [&](const std::vector<std::string>& cells, bool allLeft) {
    std::string text = "  ";
    for (size_t i = 0; i < widths.size(); ++i) {
      const std::string cell = i < cells.size() ? cells[i] : std::string();
      const std::string pad(widths[i] - std::min(widths[i], cell.size()), ' ');
      const bool right =
          !allLeft && i < table.rightAligned.size() && table.rightAligned[i] && IsNumberCell(cell);
      text += right ? pad + cell : cell + (i + 1 < widths.size() ? pad : "");
      if (i + 1 < widths.size()) text += "  ";
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    Put(out, text + "\n");
  };
  line(table.headings, false);
  const std::string* group = nullptr;
  for (const FigureTable::Row& row : table.rows) {
    if (group == nullptr || *group != row.group) {
      group = &row.group;
      Put(out, "\n[" + row.group + "]\n");
    }
    line(row.cells, row.allLeft);
  }
}

void PrintCsv(const FigureTable& table, std::string_view groupHeading, std::FILE* out) {
  std::fputs("\xEF\xBB\xBF", out);
  auto line = [&](std::string_view first, const std::vector<std::string>& cells) {
    std::string text = CsvField(first);
    for (const std::string& cell : cells) text += "," + CsvField(cell);
    Put(out, text + "\r\n");
  };
  line(groupHeading, table.headings);
  for (const FigureTable::Row& row : table.rows) line(row.group, row.cells);
}

}  // namespace ltb::app

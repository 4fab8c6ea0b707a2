// Figures for people: amounts with thousands separators, and rows of cells
// printed as an aligned table in groups or as CSV. Cells are CP932, like
// every text of the program; the output is UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace ltb::app {

// "-1234567" gives "-1,234,567"; a text that is not an optional "-" and
// digits comes back unchanged.
std::string WithThousandsSeparators(std::string_view amount);

struct FigureTable {
  struct Row {
    std::string group;  // rows of one group follow each other under its title
    std::vector<std::string> cells;
    bool allLeft = false;  // texts only: nothing of the row aligns right
  };
  std::vector<std::string> headings;  // one per cell
  // Per cell: numbers in such a column align on the right, texts on the
  // left; missing means left.
  std::vector<bool> rightAligned;
  std::vector<Row> rows;
};

// The rows under a "[group]" title line per group, the columns aligned
// (a CP932 byte is one column on a terminal) and separated by two spaces.
void PrintTable(const FigureTable& table, std::FILE* out);

// A byte-order mark, a heading line (the group heading first), then one
// line per row; fields with a comma, a quote or a line break are quoted.
// Lines end in CR LF, as spreadsheets expect.
void PrintCsv(const FigureTable& table, std::string_view groupHeading, std::FILE* out);

}  // namespace ltb::app

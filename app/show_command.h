// --show: prints the figures of a report file as a readable table (or CSV)
// after checking that the file has the layout this program writes.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/figure_table.h"
#include "platform/env.h"
#include "report/report_reader.h"

namespace ltb::app {

struct ShowOptions {
  bool all = false;  // also the empty elements
  bool csv = false;
};

// The table of a report's elements: one row per element (label, value,
// element name) grouped by section and block; empty elements only with
// `all`. Amounts get thousands separators, dates and codes their meaning.
// False with *error (UTF-8) when an amount element holds no amount.
bool ReportFigureTable(const std::vector<report::ReportElement>& elements, bool all,
                       FigureTable* table, std::string* error);

// Reads the report at `path` (a Linux path) and prints it to `out`; errors
// go to `err`, prefixed with `program`. 0 when shown, 2 when the file
// cannot be read or is not a report of this layout. env gives the layout
// (report::ReportLayoutText).
int RunShowCommand(platform::Env& env, const char* program, const std::string& path,
                   const ShowOptions& options, std::FILE* out, std::FILE* err);

}  // namespace ltb::app

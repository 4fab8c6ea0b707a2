// The standard Japanese chart of accounts shipped with the ledger tool
// (standard-chart.tsv in the data folder): per account its code, name,
// classification code, balance side and summary flag. The classification
// codes are the ones the aggregation sums by, so that the figures of a
// dataset started from this chart land on the report's lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ledger/ledger_writer.h"

namespace ltb::books {

// Parses the chart's text: lines "code<TAB>name<TAB>class code (0x...)
// <TAB>side 1|2<TAB>summary 0|1", '#' for comments. False with *error
// naming the line.
bool ParseStandardChart(std::string_view text, std::vector<ledger::AccountRecordRow>* accounts,
                        std::string* error);
bool LoadStandardChart(const std::string& path, std::vector<ledger::AccountRecordRow>* accounts,
                       std::string* error);

}  // namespace ltb::books

// The ledger tool's commands for bookkeepers' journal files and the
// standard chart of accounts; each takes the command line from its command
// name on and returns the exit status.
#pragma once

#include <string>
#include <vector>

#include "ledger/ledger_db.h"

namespace ltb::ledger_tool {

// The help of the two commands: synopsis, one-line summary and details.
extern const char kImportBooksSynopsis[];
extern const char* const kImportBooksSummary;
extern const char* const kImportBooksDetails;
extern const char kExportBooksSynopsis[];
extern const char* const kExportBooksSummary;
extern const char* const kExportBooksDetails;

int CmdImportBooks(const std::vector<std::string>& args);
int CmdExportBooks(const std::vector<std::string>& args);

// The ledger setting that makes add-dataset start every new dataset from the
// standard chart ("init HOME --standard-chart" sets it).
constexpr const char kNewDatasetChartSetting[] = "new_dataset_chart";

// Adds the accounts of the shipped standard chart to `dataset`; false with
// *error (a complete sentence) when the chart cannot be read or an account
// is refused.
bool AddStandardChart(ledger::LedgerDb& db, int dataset, std::string* error);

}  // namespace ltb::ledger_tool

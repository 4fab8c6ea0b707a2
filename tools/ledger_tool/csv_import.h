// Imports a chart of accounts, journal entries and fixed assets from CSV into one dataset of a
// ledger opened for writing. One transaction per file: a bad row is
// reported with its line number and nothing of the file is imported.
// The columns are documented in ledger/README.md.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "ledger/ledger_db.h"

namespace ltb::ledger_tool {

// *count receives the number of rows imported. The file is read a block at
// a time and its rows written as they come, inside the one transaction.
bool ImportJournalCsv(ledger::LedgerDb& db, int dataset, std::FILE* csv, long* count,
                      std::string* error);
bool ImportAccountsCsv(ledger::LedgerDb& db, int dataset, std::FILE* csv, long* count,
                       std::string* error);
bool ImportAssetsCsv(ledger::LedgerDb& db, int dataset, std::FILE* csv, long* count,
                     std::string* error);
// The same over a text in memory.
bool ImportJournalCsv(ledger::LedgerDb& db, int dataset, std::string_view csv, int* count,
                      std::string* error);
bool ImportAccountsCsv(ledger::LedgerDb& db, int dataset, std::string_view csv, int* count,
                       std::string* error);
bool ImportAssetsCsv(ledger::LedgerDb& db, int dataset, std::string_view csv, int* count,
                     std::string* error);

}  // namespace ltb::ledger_tool

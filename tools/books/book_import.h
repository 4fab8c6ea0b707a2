// Imports a bookkeeper's journal file into a dataset of the ledger: reads
// it record by record in the columns a Layout names, finds accounts and
// departments by their names, tax categories by their texts, works out the
// tax where the file has none, and adds the entries in one transaction.
// Every problem of the file is collected (line, column, value); when there
// is any, nothing is imported.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ledger/ledger_db.h"
#include "tools/books/book_layout.h"
#include "tools/books/tax_text_table.h"

namespace ltb::books {

struct ImportOptions {
  Encoding encoding = Encoding::kAuto;     // kAuto: the layout's, and if that is auto, detected
  bool dryRun = false;                     // check and count, then roll back
  bool createAccounts = false;             // unknown account names become new accounts
  std::optional<int32_t> newAccountClass;  // their class; else the layout's, else askClass
  // Asks for the class code of a new account; false when nobody can answer.
  std::function<bool(const std::string& name, int32_t* classCode)> askClass;
  size_t maxProblemsKept = 1000;  // further problems are counted, not kept
};

struct ImportSummary {
  Encoding encoding = Encoding::kAuto;  // the encoding the file was read in
  long rows = 0, entries = 0;           // file records and ledger journal rows
  std::map<long, long> rowsPerMonth;    // yyyymm -> journal rows
  struct Totals {
    int64_t amount = 0, tax = 0;  // yen x 10000, tax excluded
    long sides = 0;
  };
  std::map<std::pair<int, int>, Totals> byCategoryAndRate;  // (category, rate)
  std::vector<std::string> createdAccounts;                 // "code name (class code 0x...)"
  std::vector<std::string> createdDepartments;              // "code name"
};

struct ImportResult {
  bool imported = false;              // committed (never on a dry run)
  std::vector<std::string> problems;  // complete sentences, line and column first
  long problemCount = 0;              // problems.size() plus those not kept
};

// Reads `file` into dataset `dataset` of `db` (opened for writing).
ImportResult ImportBooks(ledger::LedgerDb& db, int dataset, std::FILE* file, const Layout& layout,
                         const TaxTextTable& taxTexts, const ImportOptions& options,
                         ImportSummary* summary);

}  // namespace ltb::books

// The ledger tool's CSV import: the CSV reader and number parsers, and the
// import of journal entries or fixed assets into a real ledger database.
//
// Input: one byte choosing journal entries (even) or fixed assets (odd),
// then the CSV file's bytes.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "ledger/testing/temp_home.h"
#include "tools/ledger_tool/csv_import.h"
#include "tools/ledger_tool/csv_table.h"

namespace {

using ltb::ledger::LedgerDb;

// One ledger per process with dataset 1 (interim closing) and a few
// accounts and a department; rows imported by one input are deleted before
// the next.
LedgerDb& Ledger() {
  static ltb::ledger::TempHome home;
  static std::unique_ptr<LedgerDb> db = [] {
    std::string error;
    auto opened = LedgerDb::Open(home.path(), LedgerDb::Mode::kCreate, &error);
    LTB_FUZZ_CHECK(opened);
    // Speed over durability: the database is thrown away at exit.
    LTB_FUZZ_CHECK(opened->Exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY", &error));
    ltb::ledger::DatasetRow ds;
    ds.no = 1;
    ds.dataId = "F1";
    ds.periodStart = 20160401;
    ds.periodEnd = 20170331;
    ds.interimFlag = 1;
    LTB_FUZZ_CHECK(ltb::ledger::AddDataset(*opened, ds, &error));
    for (int code : {111, 411, 511}) {
      ltb::ledger::AccountRecordRow a;
      a.code = code;
      LTB_FUZZ_CHECK(ltb::ledger::AddAccount(*opened, 1, a, &error));
    }
    ltb::ledger::DepartmentRecordRow d;
    d.code = 10;
    LTB_FUZZ_CHECK(ltb::ledger::AddDepartment(*opened, 1, d, &error));
    return opened;
  }();
  return *db;
}

int64_t Count(LedgerDb& db, const char* sql) {
  ltb::ledger::SqlStatement q(db.handle(), sql);
  return q.Step() ? q.Int(0) : -1;
}

void CheckTable(std::string_view csv) {
  ltb::ledger_tool::CsvTable table;
  std::string error;
  if (!table.Parse(csv, &error)) {
    LTB_FUZZ_CHECK(!error.empty());
    return;
  }
  LTB_FUZZ_CHECK(!table.header().empty());
  int previousLine = 1;
  for (const ltb::ledger_tool::CsvRow& row : table.rows()) {
    LTB_FUZZ_CHECK(row.fields.size() == table.header().size());
    LTB_FUZZ_CHECK(row.line > previousLine);
    previousLine = row.line;
    for (const std::string& field : row.fields) {
      long long v = 0;
      ltb::ledger_tool::ParseAmount(field, &v);
      ltb::ledger_tool::ParseInteger(field, &v);
      if (ltb::ledger_tool::ParseRatePercent(field, &v)) LTB_FUZZ_CHECK(v >= 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const bool assets = (in.Byte() & 1) != 0;
  const std::string_view csv = in.Rest();
  CheckTable(csv);

  LedgerDb& db = Ledger();
  const char* countSql =
      assets ? "SELECT count(*) FROM fixed_assets" : "SELECT count(*) FROM journal";
  int count = -1;
  std::string error;
  const bool ok = assets ? ltb::ledger_tool::ImportAssetsCsv(db, 1, csv, &count, &error)
                         : ltb::ledger_tool::ImportJournalCsv(db, 1, csv, &count, &error);
  // One transaction per file: all rows or none.
  if (ok) {
    LTB_FUZZ_CHECK(Count(db, countSql) == count);
  } else {
    LTB_FUZZ_CHECK(!error.empty());
    LTB_FUZZ_CHECK(Count(db, countSql) == 0);
  }
  LTB_FUZZ_CHECK(db.Exec("DELETE FROM journal; DELETE FROM fixed_assets", &error));
  return 0;
}

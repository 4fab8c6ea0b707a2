// The import of bookkeepers' journal files: the layout and tax-category
// table parsers, the date and amount readers, and the import of a file into
// a real ledger database.
//
// Input: one byte choosing the layout (even: one row per entry, comma;
// odd: compound rows, tab, no tax column), then the file's bytes.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "ledger/testing/temp_home.h"
#include "tools/books/book_amount.h"
#include "tools/books/book_date.h"
#include "tools/books/book_import.h"
#include "tools/books/tax_text_table.h"

namespace {

using ltb::ledger::LedgerDb;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

LedgerDb& Ledger() {
  static ltb::ledger::TempHome home;
  static std::unique_ptr<LedgerDb> db = [] {
    std::string error;
    auto opened = LedgerDb::Open(home.path(), LedgerDb::Mode::kCreate, &error);
    LTB_FUZZ_CHECK(opened);
    LTB_FUZZ_CHECK(opened->Exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY", &error));
    ltb::ledger::DatasetRow ds;
    ds.no = 1;
    ds.dataId = "F1";
    ds.periodStart = 20160401;
    ds.periodEnd = 20170331;
    LTB_FUZZ_CHECK(ltb::ledger::AddDataset(*opened, ds, &error));
    int code = 100;
    for (const char8_t* name : {u8"現金", u8"売上高", u8"仕入高"}) {
      ltb::ledger::AccountRecordRow a;
      a.code = ++code;
      a.name = U8(name);
      LTB_FUZZ_CHECK(ltb::ledger::AddAccount(*opened, 1, a, &error));
    }
    return opened;
  }();
  return *db;
}

const ltb::books::Layout& LayoutOf(bool compound) {
  static const auto make = [](const std::string& text) {
    ltb::books::Layout layout;
    std::string error;
    LTB_FUZZ_CHECK(ltb::books::ParseLayout(text, "fuzz", &layout, &error));
    return layout;
  };
  static const ltb::books::Layout single = make(U8(
      u8"[layout]\nencoding = auto\nseparator = comma\namounts = included\n[columns]\n"
      u8"entry_no = 番号\nclosing = 決算\ndate = 日付\ndebit_account = 借方\n"
      u8"debit_sub_account = 借方補助\ndebit_department = 借方部門\ndebit_category = 借方税区分\n"
      u8"debit_business_type = 借方事業区分\ndebit_amount = 借方金額\ndebit_tax = 借方税額\n"
      u8"credit_account = 貸方\ncredit_category = 貸方税区分\ncredit_amount = 貸方金額\n"
      u8"credit_tax = 貸方税額\ndescription = 摘要\n"));
  static const ltb::books::Layout rows =
      make(U8(u8"[layout]\nencoding = auto\nseparator = tab\namounts = excluded\n[columns]\n"
              u8"entry_no = 番号\ndate = 日付\ndebit_account = 借方\ndebit_category = 借方税区分\n"
              u8"debit_amount = 借方金額\ncredit_account = 貸方\ncredit_category = 貸方税区分\n"
              u8"credit_amount = 貸方金額\n"));
  return compound ? rows : single;
}

const ltb::books::TaxTextTable& Texts() {
  static const ltb::books::TaxTextTable table = [] {
    ltb::books::TaxTextTable t;
    std::string error;
    LTB_FUZZ_CHECK(t.Parse(U8(u8"対象外\t0\tnone\n課税売上\t1\tdate\n課対仕入\t21\tdate\n"
                              u8"輸入仕入(国税)\t41\tdate\n非課税仕入\t24\tnone\n"),
                           &error));
    return t;
  }();
  return table;
}

int64_t Count(LedgerDb& db, const char* sql) {
  ltb::ledger::SqlStatement q(db.handle(), sql);
  return q.Step() ? q.Int(0) : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const bool compound = (in.Byte() & 1) != 0;
  std::string file(in.Rest());

  // The small readers on every line of the input.
  std::string error;
  ltb::books::Layout layout;
  ltb::books::ParseLayout(file, "input", &layout, &error);
  ltb::books::TaxTextTable table;
  table.Parse(file, &error);
  for (size_t at = 0; at < file.size();) {
    const size_t lf = std::min(file.find('\n', at), file.size());
    const std::string line = file.substr(at, lf - at);
    at = lf + 1;
    long date = 0;
    if (ltb::books::ParseBookDate(line, &date))
      LTB_FUZZ_CHECK(date >= 10000101 && date <= 99991231);
    int64_t units = 0;
    if (ltb::books::ParseBookAmount(line, &units)) {
      int64_t back = 0;
      LTB_FUZZ_CHECK(ltb::books::ParseBookAmount(ltb::books::FormatBookAmount(units), &back));
      LTB_FUZZ_CHECK(back == units);
    }
    ltb::books::TaxText t;
    if (Texts().Resolve(line, 20160415, &t)) LTB_FUZZ_CHECK(t.category >= 0 && t.category <= 255);
  }

  if (file.empty()) return 0;
  std::FILE* f = ::fmemopen(file.data(), file.size(), "rb");
  LTB_FUZZ_CHECK(f);
  LedgerDb& db = Ledger();
  ltb::books::ImportSummary summary;
  const ltb::books::ImportResult r =
      ltb::books::ImportBooks(db, 1, f, LayoutOf(compound), Texts(), {}, &summary);
  std::fclose(f);
  // One transaction per file: every row or none, and what is kept balances.
  if (r.imported) {
    LTB_FUZZ_CHECK(r.problemCount == 0);
    LTB_FUZZ_CHECK(Count(db, "SELECT count(*) FROM journal") == summary.entries);
    LTB_FUZZ_CHECK(Count(db,
                         "SELECT COALESCE(SUM(debit_amount + debit_tax - credit_amount - "
                         "credit_tax), 0) FROM journal") == 0);
  } else {
    LTB_FUZZ_CHECK(r.problemCount > 0 && !r.problems.empty());
    LTB_FUZZ_CHECK(Count(db, "SELECT count(*) FROM journal") == 0);
  }
  LTB_FUZZ_CHECK(db.Exec("DELETE FROM journal; DELETE FROM departments", &error));
  return 0;
}

#include "tools/ledger_tool/csv_import.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "ledger/dataset_record.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "platform/messages.h"
#include "tools/books/book_text.h"
#include "tools/books/book_writer.h"
#include "tools/ledger_tool/csv_table.h"

namespace ltb::ledger_tool {

namespace {

using ledger::LedgerDb;
using ledger::SqlStatement;
using platform::Format;
using platform::Tr;

// kClassCode: a 32-bit classification code, decimal or hexadecimal ("0x40882040").
enum class Kind { kInteger, kAmount, kRate, kClassCode, kText };

bool ParseClassCode(std::string_view text, long long* value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    if (text.size() > 8) return false;
    long long v = 0;
    for (char c : text) {
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return false;
      v = v * 16 + digit;
    }
    *value = v;
    return true;
  }
  return ParseInteger(text, value) && *value >= INT32_MIN && *value <= UINT32_MAX;
}

// A sentence of the ledger's about a row, with the row's line in front.
std::string AtLine(int line, const std::string& sentence) {
  // TRANSLATORS: %s is a complete sentence about the row on line %d.
  return Format(Tr("line %d: %s"), line, sentence.c_str());
}

struct ColumnDef {
  const char* name;
  Kind kind;
  bool required;
};

// Reads the columns of one row by name; a missing optional column or an
// empty field reads as 0 (or empty text).
class RowReader {
 public:
  RowReader(const CsvTable& table, const CsvRow& row) : table_(table), row_(row) {}

  bool Number(const ColumnDef& def, long long* value, std::string* error) const {
    *value = 0;
    int col = table_.Column(def.name);
    if (col < 0 || row_.fields[col].empty()) {
      if (!def.required) return true;
      *error = Format(Tr("line %d: %s is required; fill in the column."), row_.line, def.name);
      return false;
    }
    const std::string& text = row_.fields[col];
    bool ok = def.kind == Kind::kAmount      ? ParseAmount(text, value)
              : def.kind == Kind::kRate      ? ParseRatePercent(text, value)
              : def.kind == Kind::kClassCode ? ParseClassCode(text, value)
                                             : ParseInteger(text, value);
    if (!ok) {
      const char* message =
          def.kind == Kind::kAmount
              ? Tr("line %d: %s \"%s\" is not an amount in yen (at most four decimals); correct "
                   "the value.")
          : def.kind == Kind::kRate
              ? Tr("line %d: %s \"%s\" is not a tax rate in percent; correct the value.")
          : def.kind == Kind::kClassCode
              ? Tr("line %d: %s \"%s\" is not a 32-bit classification code such as 0x40882040; "
                   "correct the value.")
              : Tr("line %d: %s \"%s\" is not a whole number; correct the value.");
      *error = Format(message, row_.line, def.name, text.c_str());
      return false;
    }
    return true;
  }
  std::string Text(const char* name) const {
    int col = table_.Column(name);
    return col < 0 ? std::string() : row_.fields[col];
  }

 private:
  const CsvTable& table_;
  const CsvRow& row_;
};

// What to say of a file that is not UTF-8, such as one saved in Shift_JIS.
std::string NotUtf8(int line) {
  return Format(Tr("line %d is not UTF-8 text; save the file as UTF-8, or import a journal in "
                   "Shift_JIS with import-books."),
                line);
}

bool CheckHeader(const CsvTable& table, const std::vector<ColumnDef>& defs, std::string* error) {
  for (const std::string& name : table.header()) {
    if (!books::IsValidUtf8(name)) {
      *error = NotUtf8(1);
      return false;
    }
    bool known = false;
    for (const ColumnDef& s : defs) known = known || name == s.name;
    if (!known) {
      *error = Format(Tr("line 1: the column \"%s\" is unknown; the command's --help lists the "
                         "columns."),
                      name.c_str());
      return false;
    }
  }
  for (const ColumnDef& s : defs) {
    if (s.required && table.Column(s.name) < 0) {
      *error = Format(Tr("line 1: the column \"%s\" is missing; add it to the header."), s.name);
      return false;
    }
  }
  return true;
}

std::set<long long> Codes(LedgerDb& db, const char* sql, int dataset) {
  std::set<long long> codes;
  SqlStatement q(db.handle(), sql);
  q.Bind(1, dataset);
  while (q.Step()) codes.insert(q.Int(0));
  return codes;
}

bool DatasetExists(LedgerDb& db, int dataset, std::string* error) {
  if (ledger::HasDataset(db, dataset)) return true;
  *error = Format(Tr("The ledger holds no dataset %lld: ledora-ledger datasets lists them."),
                  static_cast<long long>(dataset));
  return false;
}

using AddRow = std::function<bool(const CsvTable&, const CsvRow&, std::string*)>;
// Starts the parse of a file with header and row callbacks.
using Parse =
    std::function<bool(CsvTable&, const std::function<bool(std::string*)>&,
                       const std::function<bool(const CsvRow&, std::string*)>&, std::string*)>;

// Runs `addRow` per row of the file as it is read, inside one transaction;
// `finish`, when given, runs after the last row and before the commit.
bool ImportRows(LedgerDb& db, int dataset, const Parse& parse, const std::vector<ColumnDef>& defs,
                long* count, std::string* error, const AddRow& addRow,
                const std::function<void()>& start = {},
                const std::function<bool(std::string*)>& finish = {}) {
  *count = 0;
  if (!DatasetExists(db, dataset, error)) return false;
  ledger::PrepareForBulkWrite(db);
  ledger::WriteTransaction tx(db);
  if (!tx.ok()) return tx.Commit(error);  // false, with the reason
  CsvTable table;
  long rows = 0;
  if (start) start();
  bool parsed = parse(
      table, [&](std::string* err) { return CheckHeader(table, defs, err); },
      [&](const CsvRow& row, std::string* err) {
        ++rows;
        // Texts go into the ledger as they are: bytes of another encoding
        // would be kept as broken text.
        for (const std::string& field : row.fields) {
          if (!books::IsValidUtf8(field)) {
            *err = NotUtf8(row.line);
            return false;
          }
        }
        return addRow(table, row, err);
      },
      error);
  // The rows written so far are finished even when the file broke off.
  std::string finishError;
  if (finish && !finish(&finishError) && parsed) {
    *error = finishError;
    parsed = false;
  }
  if (!parsed || !tx.Commit(error)) return false;
  *count = rows;
  return true;
}

Parse FromFile(std::FILE* file) {
  return [file](CsvTable& t, const auto& onHeader, const auto& onRow, std::string* error) {
    return t.Stream(file, onHeader, onRow, error);
  };
}

Parse FromText(std::string_view text) {
  return [text](CsvTable& t, const auto& onHeader, const auto& onRow, std::string* error) {
    return t.Stream(text, onHeader, onRow, error);
  };
}

const std::vector<ColumnDef> kJournalColumns = {
    {"entry_no", Kind::kInteger, false},
    {"date", Kind::kInteger, true},
    {"closing", Kind::kInteger, false},
    {"description", Kind::kText, false},
    {"debit_account", Kind::kInteger, true},
    {"debit_department", Kind::kInteger, false},
    {"debit_amount", Kind::kAmount, false},
    {"debit_tax", Kind::kAmount, false},
    {"debit_category", Kind::kInteger, false},
    {"debit_rate", Kind::kRate, false},
    {"debit_business_type", Kind::kInteger, false},
    {"credit_account", Kind::kInteger, true},
    {"credit_department", Kind::kInteger, false},
    {"credit_amount", Kind::kAmount, false},
    {"credit_tax", Kind::kAmount, false},
    {"credit_category", Kind::kInteger, false},
    {"credit_rate", Kind::kRate, false},
    {"credit_business_type", Kind::kInteger, false},
};

const std::vector<ColumnDef> kAssetColumns = {
    {"asset_no", Kind::kInteger, false}, {"name", Kind::kText, false},
    {"acquired", Kind::kInteger, true},  {"kind", Kind::kInteger, false},
    {"amount", Kind::kAmount, true},     {"income_type", Kind::kInteger, false},
};

const std::vector<ColumnDef> kAccountColumns = {
    {"code", Kind::kInteger, true},
    {"class_code", Kind::kClassCode, true},
    {"name", Kind::kText, false},
    {"code_text", Kind::kText, false},
    {"side", Kind::kInteger, false},
    {"summary", Kind::kInteger, false},
    {"exclusion_a", Kind::kInteger, false},
    {"exclusion_b", Kind::kInteger, false},
    {"list_exclusion", Kind::kInteger, false},
};

const ColumnDef& Column(const std::vector<ColumnDef>& defs, std::string_view name) {
  for (const ColumnDef& s : defs) {
    if (name == s.name) return s;
  }
  return defs.front();
}

bool ImportJournal(LedgerDb& db, int dataset, const Parse& parse, long* count, std::string* error) {
  ledger::MonthSlots slots;
  // The rows are written on a thread of their own while the file is read.
  books::BookWriter writer(db, dataset);
  long nextEntry = 1;
  {
    SqlStatement next(db.handle(),
                      "SELECT COALESCE(MAX(entry_no), 0) + 1 FROM journal WHERE dataset = ?1");
    next.Bind(1, dataset);
    if (next.Step()) nextEntry = static_cast<long>(next.Int(0));
  }
  std::set<long long> accounts = Codes(db, "SELECT code FROM accounts WHERE dataset = ?1", dataset);
  std::set<long long> departments =
      Codes(db, "SELECT code FROM departments WHERE dataset = ?1", dataset);
  auto addRow = [&](const CsvTable& table, const CsvRow& row, std::string* err) {
    RowReader r(table, row);
    auto num = [&](const char* name, long long* v) {
      return r.Number(Column(kJournalColumns, name), v, err);
    };
    ledger::JournalRow entry;
    long long entryNo, date, closing;
    if (!num("entry_no", &entryNo) || !num("date", &date) || !num("closing", &closing)) {
      return false;
    }
    if (closing != 0 && closing != 1) {
      *err = Format(Tr("line %d: closing must be 0 or 1; correct the value."), row.line);
      return false;
    }
    entry.entryNo = static_cast<long>(entryNo);
    entry.date = static_cast<long>(date);
    entry.closing = closing == 1;
    entry.description = r.Text("description");
    for (const char* side : {"debit", "credit"}) {
      std::string p = side;
      long long account, dept, amount, tax, category, rate, btype;
      if (!num((p + "_account").c_str(), &account) || !num((p + "_department").c_str(), &dept) ||
          !num((p + "_amount").c_str(), &amount) || !num((p + "_tax").c_str(), &tax) ||
          !num((p + "_category").c_str(), &category) || !num((p + "_rate").c_str(), &rate) ||
          !num((p + "_business_type").c_str(), &btype)) {
        return false;
      }
      if (account != 0 && !accounts.count(account)) {
        *err = Format(Tr("line %d: %s_account %lld is not an account of dataset %d; add it with "
                         "add-account or import-accounts, or correct the file."),
                      row.line, side, account, dataset);
        return false;
      }
      if (dept != 0 && !departments.count(dept)) {
        *err = Format(Tr("line %d: %s_department %lld is not a department of dataset %d; add it "
                         "with add-department, or correct the file."),
                      row.line, side, dept, dataset);
        return false;
      }
      if (rate != 0 && rate != 300 && rate != 500 && rate != 800 && rate != 1000) {
        *err = Format(Tr("line %d: %s_rate must be 0, 3, 5, 8 or 10; correct the value."), row.line,
                      side);
        return false;
      }
      ledger::JournalSideRow s{static_cast<int>(account),
                               static_cast<int>(dept),
                               amount,
                               tax,
                               static_cast<int>(category),
                               static_cast<int>(rate),
                               static_cast<int>(btype)};
      (p == "debit" ? entry.debit : entry.credit) = s;
    }
    for (const ledger::JournalSideRow* s : {&entry.debit, &entry.credit}) {
      if (s->category < 0 || s->category > 255) {
        *err = Format(Tr("line %d: a tax category must be 0 to 255; correct the value."), row.line);
        return false;
      }
      if (s->businessType < 0 || s->businessType > 6) {
        *err = Format(Tr("line %d: a business type must be 0 to 6; correct the value."), row.line);
        return false;
      }
    }
    int slot = 0;
    if (!slots.SlotFor(entry.date, entry.closing, &slot, err)) {
      *err = AtLine(row.line, *err);
      return false;
    }
    const long number = entry.entryNo != 0 ? entry.entryNo : nextEntry;
    if (writer.failed()) return true;  // reported when the writer finishes
    books::BookEntry ready;
    ready.line = row.line;
    ready.date = entry.date;
    ready.slot = slot;
    ready.closing = entry.closing;
    ready.description = std::move(entry.description);
    ready.sides[0] = entry.debit;
    ready.sides[1] = entry.credit;
    writer.AddEntry(number, std::move(ready));
    nextEntry = std::max(nextEntry, number + 1);
    return true;
  };
  if (!DatasetExists(db, dataset, error) || !slots.Load(db, dataset, error)) return false;
  if (!writer.ok()) {
    *error = Format(Tr("The ledger cannot take entries: %s."), writer.error().c_str());
    return false;
  }
  return ImportRows(
      db, dataset, parse, kJournalColumns, count, error, addRow, [&] { writer.Start(); },
      [&](std::string* err) {
        const std::vector<books::WriteFailure> failures = writer.Finish();
        if (failures.empty()) return true;
        *err = AtLine(failures.front().line, failures.front().message);
        return false;
      });
}

bool ImportAssets(LedgerDb& db, int dataset, const Parse& parse, long* count, std::string* error) {
  auto addRow = [&](const CsvTable& table, const CsvRow& row, std::string* err) {
    RowReader r(table, row);
    auto num = [&](const char* name, long long* v) {
      return r.Number(Column(kAssetColumns, name), v, err);
    };
    long long no, acquired, kind, amount, incomeType;
    if (!num("asset_no", &no) || !num("acquired", &acquired) || !num("kind", &kind) ||
        !num("amount", &amount) || !num("income_type", &incomeType)) {
      return false;
    }
    if (incomeType == 0) incomeType = 1;
    if (incomeType != 1 && incomeType != 2) {
      *err = Format(Tr("line %d: income_type must be 1 (business) or 2 (real estate); correct the "
                       "value."),
                    row.line);
      return false;
    }
    ledger::FixedAssetRow asset{static_cast<int>(no),
                                r.Text("name"),
                                static_cast<long>(acquired),
                                kind == 0 ? 1 : static_cast<int>(kind),
                                amount,
                                static_cast<int>(incomeType)};
    if (!ledger::AddFixedAsset(db, dataset, asset, err)) {
      *err = AtLine(row.line, *err);
      return false;
    }
    return true;
  };
  return ImportRows(db, dataset, parse, kAssetColumns, count, error, addRow);
}

bool ImportAccounts(LedgerDb& db, int dataset, const Parse& parse, long* count,
                    std::string* error) {
  auto addRow = [&](const CsvTable& table, const CsvRow& row, std::string* err) {
    RowReader r(table, row);
    auto num = [&](const char* name, long long* v) {
      return r.Number(Column(kAccountColumns, name), v, err);
    };
    long long code, classCode, side, summary, exA, exB, listEx;
    if (!num("code", &code) || !num("class_code", &classCode) || !num("side", &side) ||
        !num("summary", &summary) || !num("exclusion_a", &exA) || !num("exclusion_b", &exB) ||
        !num("list_exclusion", &listEx)) {
      return false;
    }
    if (side == 0) side = 1;
    if (side != 1 && side != 2) {
      *err =
          Format(Tr("line %d: side must be 1 (debit) or 2 (credit); correct the value."), row.line);
      return false;
    }
    ledger::AccountRecordRow account;
    account.code = static_cast<int>(code);
    account.classCode = static_cast<int32_t>(static_cast<uint32_t>(classCode));
    account.name = r.Text("name");
    account.codeText = r.Text("code_text");
    account.balanceSide = static_cast<int>(side);
    account.summaryLine = static_cast<int>(summary);
    account.exclusionA = static_cast<int>(exA);
    account.exclusionB = static_cast<int>(exB);
    account.listExclusion = static_cast<int>(listEx);
    if (!ledger::AddAccount(db, dataset, account, err)) {
      *err = AtLine(row.line, *err);
      return false;
    }
    return true;
  };
  return ImportRows(db, dataset, parse, kAccountColumns, count, error, addRow);
}

}  // namespace

bool ImportJournalCsv(LedgerDb& db, int dataset, std::FILE* csv, long* count, std::string* error) {
  return ImportJournal(db, dataset, FromFile(csv), count, error);
}

bool ImportAssetsCsv(LedgerDb& db, int dataset, std::FILE* csv, long* count, std::string* error) {
  return ImportAssets(db, dataset, FromFile(csv), count, error);
}

bool ImportJournalCsv(LedgerDb& db, int dataset, std::string_view csv, int* count,
                      std::string* error) {
  long n = 0;
  const bool ok = ImportJournal(db, dataset, FromText(csv), &n, error);
  *count = static_cast<int>(n);
  return ok;
}

bool ImportAssetsCsv(LedgerDb& db, int dataset, std::string_view csv, int* count,
                     std::string* error) {
  long n = 0;
  const bool ok = ImportAssets(db, dataset, FromText(csv), &n, error);
  *count = static_cast<int>(n);
  return ok;
}

bool ImportAccountsCsv(LedgerDb& db, int dataset, std::FILE* csv, long* count, std::string* error) {
  return ImportAccounts(db, dataset, FromFile(csv), count, error);
}

bool ImportAccountsCsv(LedgerDb& db, int dataset, std::string_view csv, int* count,
                       std::string* error) {
  long n = 0;
  const bool ok = ImportAccounts(db, dataset, FromText(csv), &n, error);
  *count = static_cast<int>(n);
  return ok;
}

}  // namespace ltb::ledger_tool

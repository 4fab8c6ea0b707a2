#include "tools/books/book_import.h"

#include <array>
#include <cstdio>
#include <unordered_map>

#include "ledger/dataset_record.h"
#include "ledger/journal_insert.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "ledger/tax_categories.h"
#include "platform/messages.h"
#include "tools/books/book_amount.h"
#include "tools/books/book_writer.h"
#include "tools/books/record_reader.h"

namespace ltb::books {

namespace {

using ledger::JournalSideRow;
using ledger::LedgerDb;
using ledger::SqlStatement;
using platform::Format;
using platform::Tr;

constexpr size_t kFields = static_cast<size_t>(Field::kCount);

std::string Hex(int32_t v) {
  char out[16];
  std::snprintf(out, sizeof out, "0x%08X", static_cast<uint32_t>(v));
  return out;
}

// A side's columns in the Field enumeration, debit first.
struct SideFields {
  Field account, sub, department, category, type, amount, tax;
};
constexpr SideFields kSides[2] = {
    {Field::kDebitAccount, Field::kDebitSubAccount, Field::kDebitDepartment, Field::kDebitCategory,
     Field::kDebitBusinessType, Field::kDebitAmount, Field::kDebitTax},
    {Field::kCreditAccount, Field::kCreditSubAccount, Field::kCreditDepartment,
     Field::kCreditCategory, Field::kCreditBusinessType, Field::kCreditAmount, Field::kCreditTax},
};

class Importer {
 public:
  Importer(LedgerDb& db, int dataset, const Layout& layout, const TaxTextTable& texts,
           const ImportOptions& options, ImportSummary* summary)
      : db_(db),
        dataset_(dataset),
        layout_(layout),
        texts_(texts),
        options_(options),
        summary_(summary),
        writer_(db, dataset) {}

  ImportResult Run(std::FILE* file);

 private:
  bool LoadDataset();
  bool ReadHeader(RecordReader& reader);
  void Problem(int line, Field field, std::string_view value, const std::string& what);
  void Problem(int line, const std::string& what);
  // The UTF-8 text of a field of the record; empty when the layout or the
  // file has no such column.
  const std::string& Text(const Record& r, Field f);
  void Row(const Record& r);
  bool Side(const Record& r, int which, long date, JournalSideRow* side, bool* present);
  int AccountOf(const Record& r, Field f, const std::string& name);
  int DepartmentOf(int line, const std::string& name);
  void Flush();
  bool CarriesTax(int category) const;
  bool TaxOnly(int category) const;

  LedgerDb& db_;
  const int dataset_;
  const Layout& layout_;
  const TaxTextTable& texts_;
  const ImportOptions& options_;
  ImportSummary* summary_;
  BookWriter writer_;
  ledger::MonthSlots slots_;
  Encoding encoding_ = Encoding::kAuto;
  int rounding_ = 0;
  bool datasetIncluded_ = false;
  long nextEntry_ = 1;
  int nextAccount_ = 1, nextDepartment_ = 1;
  std::array<int, kFields> column_{};  // file column of each field, -1 none
  std::array<std::string, kFields> text_;
  std::array<bool, kFields> decoded_{};
  std::unordered_map<std::string, std::string> decodedCache_;  // raw bytes -> UTF-8
  std::unordered_map<std::string, int> accountByName_, departmentByName_;
  std::unordered_map<std::string, int> accountCache_, departmentCache_;
  struct CachedText {
    bool known = false;
    TaxText value;
  };
  std::unordered_map<std::string, CachedText> taxTextCache_;
  std::string entryKey_;
  std::vector<BookEntry> pending_;
  ImportResult result_;
};

void Importer::Problem(int line, const std::string& what) {
  if (result_.problems.size() < options_.maxProblemsKept) {
    // TRANSLATORS: %s is a complete sentence about the record on line %d.
    result_.problems.push_back(line > 0 ? Format(Tr("Line %d: %s"), line, what.c_str()) : what);
  }
  ++result_.problemCount;
}

void Importer::Problem(int line, Field field, std::string_view value, const std::string& what) {
  // TRANSLATORS: the last %s is a complete sentence about the value.
  Problem(line, Format(Tr("column %s, value \"%s\": %s"), layout_.HeaderOf(field).c_str(),
                       std::string(value).c_str(), what.c_str()));
}

bool Importer::LoadDataset() {
  std::string error;
  if (!ledger::HasDataset(db_, dataset_)) {
    Problem(0, Format(Tr("The ledger holds no dataset %lld: ledora-ledger datasets lists them."),
                      static_cast<long long>(dataset_)));
    return false;
  }
  if (!slots_.Load(db_, dataset_, &error)) {
    Problem(0, error);
    return false;
  }
  SqlStatement d(db_.handle(), "SELECT rounding, tax_included FROM datasets WHERE no = ?1");
  d.Bind(1, dataset_);
  if (d.Step()) {
    rounding_ = static_cast<int>(d.Int(0));
    datasetIncluded_ = d.Int(1) != 0;
  }
  SqlStatement a(db_.handle(),
                 "SELECT code, code_text, name, summary_line FROM accounts WHERE dataset = ?1"
                 " ORDER BY summary_line DESC, code DESC");
  a.Bind(1, dataset_);
  // Summary lines first and higher codes first, so that a detail account
  // with the lowest code wins a name that several accounts share.
  std::unordered_map<std::string, int> byCodeText;
  while (a.Step()) {
    const int code = static_cast<int>(a.Int(0));
    byCodeText[NormalizeName(a.Text(1))] = code;
    accountByName_[NormalizeName(a.Text(2))] = code;
    nextAccount_ = std::max(nextAccount_, code + 1);
  }
  // A code text names an account only where no account bears it as a name.
  for (auto& [text, code] : byCodeText) accountByName_.try_emplace(text, code);
  SqlStatement dep(db_.handle(), "SELECT code, name FROM departments WHERE dataset = ?1");
  dep.Bind(1, dataset_);
  while (dep.Step()) {
    const int code = static_cast<int>(dep.Int(0));
    departmentByName_.try_emplace(NormalizeName(dep.Text(1)), code);
    nextDepartment_ = std::max(nextDepartment_, code + 1);
  }
  SqlStatement n(db_.handle(),
                 "SELECT COALESCE(MAX(entry_no), 0) + 1 FROM journal WHERE dataset = ?1");
  n.Bind(1, dataset_);
  if (n.Step()) nextEntry_ = static_cast<long>(n.Int(0));
  return true;
}

bool Importer::ReadHeader(RecordReader& reader) {
  Encoding enc = options_.encoding != Encoding::kAuto ? options_.encoding : layout_.encoding;
  if (enc == Encoding::kAuto) enc = DetectEncoding(reader.Head());
  encoding_ = enc;
  summary_->encoding = enc;
  Record header;
  if (!reader.Next(&header)) {
    Problem(1, reader.error().empty()
                   ? Tr("The file has no header row; the first line must name the columns.")
                   : reader.error());
    return false;
  }
  column_.fill(-1);
  std::vector<std::string> names;
  for (size_t i = 0; i < header.fields.size(); ++i) {
    std::string utf8;
    if (!ToUtf8(header.fields[i], enc, &utf8)) {
      Problem(header.line, Format(Tr("the header is not valid %s text; give the file's encoding "
                                     "with --encoding."),
                                  EncodingName(enc)));
      return false;
    }
    names.push_back(NormalizeName(utf8));
  }
  bool ok = true;
  for (const Layout::Column& c : layout_.columns) {
    const std::string want = NormalizeName(c.header);
    for (size_t i = 0; i < names.size(); ++i) {
      if (names[i] == want) column_[static_cast<size_t>(c.field)] = static_cast<int>(i);
    }
    const bool required = c.field == Field::kDate || c.field == Field::kDebitAccount ||
                          c.field == Field::kCreditAccount || c.field == Field::kDebitAmount ||
                          c.field == Field::kCreditAmount;
    if (required && column_[static_cast<size_t>(c.field)] < 0) {
      Problem(header.line, Format(Tr("the header has no column \"%s\", which the layout %s "
                                     "needs for %s; check the layout and the encoding."),
                                  c.header.c_str(), layout_.name.c_str(), FieldName(c.field)));
      ok = false;
    }
  }
  return ok;
}

const std::string& Importer::Text(const Record& r, Field f) {
  const size_t i = static_cast<size_t>(f);
  if (!decoded_[i]) {
    decoded_[i] = true;
    text_[i].clear();
    const int col = column_[i];
    if (col < 0 || static_cast<size_t>(col) >= r.fields.size()) return text_[i];
    const std::string& raw = r.fields[col];
    // Names, categories and most descriptions repeat from row to row: their
    // decoded texts are kept (up to a bound, so memory does not grow with
    // the file). Numbers and dates are ASCII and need no decoding.
    const bool repeats = f != Field::kEntryNo && f != Field::kDate && f != Field::kDebitAmount &&
                         f != Field::kCreditAmount && f != Field::kDebitTax &&
                         f != Field::kCreditTax;
    if (repeats) {
      if (auto it = decodedCache_.find(raw); it != decodedCache_.end()) {
        text_[i] = it->second;
        return text_[i];
      }
    }
    if (ToUtf8(raw, encoding_, &text_[i])) {
      if (repeats) {
        if (decodedCache_.size() >= 100000) decodedCache_.clear();
        decodedCache_.emplace(raw, text_[i]);
      }
    } else {
      Problem(r.line, Format(Tr("column %s: the text is not valid %s; give the file's encoding "
                                "with --encoding."),
                             layout_.HeaderOf(f).c_str(), EncodingName(encoding_)));
      text_[i].clear();
    }
  }
  return text_[i];
}

bool Importer::CarriesTax(int category) const {
  const ledger::TaxCategory* c = ledger::FindTaxCategory(static_cast<uint8_t>(category));
  if (c == nullptr) return false;
  return c->provisional || (c->rate.tax != 0 && c->rate.excluded != 0);
}

bool Importer::TaxOnly(int category) const {
  const ledger::TaxCategory* c = ledger::FindTaxCategory(static_cast<uint8_t>(category));
  return c != nullptr && c->rate.tax != 0 && c->rate.excluded == 0;
}

int Importer::AccountOf(const Record& r, Field f, const std::string& name) {
  if (auto it = accountCache_.find(name); it != accountCache_.end()) return it->second;
  const std::string key = NormalizeName(name);
  int code = 0;
  if (auto it = accountByName_.find(key); it != accountByName_.end()) {
    code = it->second;
  } else if (!options_.createAccounts) {
    Problem(r.line, f, name,
            Format(Tr("no account of dataset %d has this name; add it with add-account, start "
                      "the dataset from the standard chart, or import with --create-accounts."),
                   dataset_));
    code = -1;
  } else {
    std::optional<int32_t> cls = options_.newAccountClass;
    if (!cls) cls = layout_.newAccountClass;
    int32_t asked = 0;
    if (!cls && options_.askClass && options_.askClass(name, &asked)) cls = asked;
    if (!cls) {
      Problem(r.line, f, name,
              Tr("the account is new and no class code is given for it; give one with "
                 "--new-account-class or new_account_class in the layout."));
      code = -1;
    } else {
      ledger::AccountRecordRow row;
      row.code = nextAccount_++;
      row.name = name;
      row.classCode = *cls;
      // Liabilities, capital and income are kept on the credit side.
      const uint32_t u = static_cast<uint32_t>(*cls);
      const bool credit = (u >> 24) == 0x02 || (u >> 24) == 0x03 ||
                          (u & 0xFFF00000u) == 0x40100000u || (u & 0xFFF00000u) == 0x40200000u;
      row.balanceSide = credit ? 2 : 1;
      writer_.AddAccount(r.line, row);
      code = row.code;
      summary_->createdAccounts.push_back(
          Format(Tr("%d %s (class code %s)"), row.code, name.c_str(), Hex(*cls).c_str()));
      accountByName_[key] = code;
    }
  }
  accountCache_[name] = code;
  return code;
}

int Importer::DepartmentOf(int line, const std::string& name) {
  if (auto it = departmentCache_.find(name); it != departmentCache_.end()) return it->second;
  const std::string key = NormalizeName(name);
  int code = 0;
  if (auto it = departmentByName_.find(key); it != departmentByName_.end()) {
    code = it->second;
  } else {
    ledger::DepartmentRecordRow row;
    row.code = nextDepartment_++;
    row.name = name;
    writer_.AddDepartment(line, row);
    code = row.code;
    departmentByName_[key] = code;
    summary_->createdDepartments.push_back(std::to_string(code) + " " + name);
  }
  departmentCache_[name] = code;
  return code;
}

bool Importer::Side(const Record& r, int which, long date, JournalSideRow* side, bool* present) {
  const SideFields& f = kSides[which];
  *side = JournalSideRow();
  const std::string account = Text(r, f.account);
  const std::string& amountText = Text(r, f.amount);
  *present = !IsBlank(account);
  bool ok = true;
  int64_t amount = 0;
  if (!ParseBookAmount(amountText, &amount)) {
    Problem(r.line, f.amount, amountText,
            Tr("this is not an amount in yen (digits, thousands separators, at most four "
               "decimals); correct the value."));
    ok = false;
  }
  if (!*present) {
    if (ok && amount != 0) {
      Problem(r.line, f.amount, amountText, Tr("the amount has no account; give the account."));
      ok = false;
    }
    return ok;
  }
  const int code = AccountOf(r, f.account, account);
  if (code < 0) ok = false;
  side->account = code;
  const std::string& dept = Text(r, f.department);
  if (!IsBlank(dept)) side->department = DepartmentOf(r.line, dept);

  const std::string& categoryText = Text(r, f.category);
  TaxText tax;
  auto cached = taxTextCache_.find(categoryText);
  if (cached == taxTextCache_.end()) {
    CachedText c;
    c.known = texts_.Resolve(categoryText, date, &c.value);
    cached = taxTextCache_.emplace(categoryText, c).first;
  }
  if (!cached->second.known) {
    Problem(r.line, f.category, categoryText,
            Tr("this tax category is not in the tax-category table; add it to the table or "
               "correct the file."));
    return false;
  }
  tax = cached->second.value;
  if (tax.rateFromDate) tax.rate = TaxTextTable::RateOnDate(date);

  const std::string& typeText = Text(r, f.type);
  if (!IsBlank(typeText)) {
    int type = 0;
    if (!ParseBusinessType(typeText, &type)) {
      Problem(r.line, f.type, typeText,
              Tr("this is not a business type 1 to 6; correct the value."));
      ok = false;
    } else {
      tax.businessType = type;
    }
  }
  side->category = tax.category;
  side->rate = tax.rate;
  side->businessType = tax.businessType;

  const std::string& taxText = Text(r, f.tax);
  int64_t given = 0;
  const bool hasTax = !IsBlank(taxText);
  if (hasTax && !ParseBookAmount(taxText, &given)) {
    Problem(r.line, f.tax, taxText, Tr("this is not a tax amount in yen; correct the value."));
    return false;
  }
  if (!ok) return false;
  const AmountBasis basis = which == 0 ? layout_.debitAmounts : layout_.creditAmounts;
  const bool included =
      basis == AmountBasis::kIncluded || (basis == AmountBasis::kDataset && datasetIncluded_);
  const int percentRate = tax.rate == ledger::kRateReduced8 ? 800 : tax.rate;
  if (hasTax) {
    side->tax = given;
    side->amount = included ? amount - given : amount;
  } else if (TaxOnly(tax.category)) {
    // An import-tax side without a tax column: its amount is the tax paid.
    side->tax = amount;
    side->amount = 0;
  } else if (CarriesTax(tax.category) && percentRate > 0) {
    side->tax = TaxOf(amount, percentRate, included, rounding_);
    side->amount = included ? amount - side->tax : amount;
  } else {
    side->amount = amount;
  }
  return true;
}

void Importer::Row(const Record& r) {
  decoded_.fill(false);
  ++summary_->rows;
  const std::string& dateText = Text(r, Field::kDate);
  long date = 0;
  bool ok = true;
  if (!ParseBookDate(NormalizeName(dateText), &date)) {
    Problem(r.line, Field::kDate, dateText,
            Tr("this is not a date such as 2016/4/15, 2016-04-15, 20160415, H28/4/15 or R1/5/1; "
               "correct the date."));
    ok = false;
  }
  const std::string closingText = NormalizeName(Text(r, Field::kClosing));
  const bool closing = !closingText.empty() && closingText != "0";
  int slot = 0;
  std::string error;
  if (ok && !slots_.SlotFor(date, closing, &slot, &error)) {
    Problem(r.line, Field::kDate, dateText,
            Format(Tr("the entry cannot be booked. %s"), error.c_str()));
    ok = false;
  }
  // Rows with the same entry number, one after the other, make one entry.
  const std::string key = NormalizeName(Text(r, Field::kEntryNo));
  if (key.empty() || key != entryKey_) Flush();
  entryKey_ = key;

  BookEntry row;
  row.line = r.line;
  row.date = date;
  row.slot = slot;
  row.closing = closing;
  row.description = Text(r, Field::kDescription);
  bool any = false;
  for (int which = 0; which < 2; ++which) {
    bool present = false;
    if (!Side(r, which, date, &row.sides[which], &present)) ok = false;
    any = any || present;
    const std::string& sub = Text(r, kSides[which].sub);
    if (!IsBlank(sub)) {
      row.description += " [" + layout_.HeaderOf(kSides[which].sub) + ": " + sub + "]";
    }
  }
  if (ok && !any) {
    Problem(r.line, Tr("the row has neither a debit nor a credit account; give at least one."));
    ok = false;
  }
  if (!ok) return;
  if (!pending_.empty() && pending_.front().date != date) {
    Problem(r.line, Field::kDate, dateText,
            Format(Tr("the rows of one entry number must share one date; this entry began on "
                      "line %d."),
                   pending_.front().line));
    return;
  }
  pending_.push_back(std::move(row));
}

void Importer::Flush() {
  if (pending_.empty()) return;
  int64_t debit = 0, credit = 0;
  for (BookEntry& p : pending_) {
    debit += p.sides[0].amount + p.sides[0].tax;
    credit += p.sides[1].amount + p.sides[1].tax;
  }
  if (debit != credit) {
    const int first = pending_.front().line, last = pending_.back().line;
    Problem(first,
            Format(Tr("the entry on lines %d to %d does not balance: the debits come to "
                      "%s yen and the credits to %s yen, tax included; correct the "
                      "amounts."),
                   first, last, FormatBookAmount(debit).c_str(), FormatBookAmount(credit).c_str()));
    pending_.clear();
    return;
  }
  for (BookEntry& p : pending_) {
    ++summary_->entries;
    ++summary_->rowsPerMonth[p.date / 100];
    for (const JournalSideRow& s : p.sides) {
      if (s.account == 0) continue;
      ImportSummary::Totals& t = summary_->byCategoryAndRate[{s.category, s.rate}];
      t.amount += s.amount;
      t.tax += s.tax;
      ++t.sides;
    }
    // Once the file has a problem nothing will be kept: only check the rest.
    if (result_.problemCount > 0 || writer_.failed()) continue;
    writer_.AddEntry(nextEntry_++, std::move(p));
  }
  pending_.clear();
}

ImportResult Importer::Run(std::FILE* file) {
  if (!writer_.ok()) {
    Problem(0, Format(Tr("The ledger cannot take entries: %s."), writer_.error().c_str()));
    return std::move(result_);
  }
  ledger::PrepareForBulkWrite(db_);
  ledger::WriteTransaction tx(db_);
  if (!tx.ok()) {
    std::string error;
    tx.Commit(&error);  // false, with the reason
    Problem(0, error);
    return std::move(result_);
  }
  if (!LoadDataset()) return std::move(result_);
  RecordReader reader(file, layout_.separator);
  if (!ReadHeader(reader)) return std::move(result_);
  // From here until Finish only the writer's thread uses the ledger.
  writer_.Start();
  Record record;
  while (reader.Next(&record)) Row(record);
  if (!reader.error().empty()) Problem(record.line, reader.error());
  Flush();
  for (const WriteFailure& f : writer_.Finish()) Problem(f.line, f.message);
  if (result_.problemCount > 0 || options_.dryRun) return std::move(result_);
  std::string error;
  if (!tx.Commit(&error)) {
    Problem(0, error);
    return std::move(result_);
  }
  result_.imported = true;
  return std::move(result_);
}

}  // namespace

ImportResult ImportBooks(LedgerDb& db, int dataset, std::FILE* file, const Layout& layout,
                         const TaxTextTable& taxTexts, const ImportOptions& options,
                         ImportSummary* summary) {
  *summary = ImportSummary();
  Importer importer(db, dataset, layout, taxTexts, options, summary);
  return importer.Run(file);
}

}  // namespace ltb::books

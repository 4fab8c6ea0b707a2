#include "tools/books/book_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <unordered_map>

#include "ledger/dataset_record.h"
#include "ledger/sql_statement.h"
#include "ledger/tax_categories.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "tools/books/book_amount.h"

namespace ltb::books {

namespace {

using ledger::SqlStatement;
using platform::Format;
using platform::Tr;

// The name each account or department is written by: its name when no
// other one of the dataset bears it, else its code text.
std::map<int64_t, std::string> Names(const ledger::LedgerDb& db, int dataset, const char* sql) {
  std::map<int64_t, std::pair<std::string, std::string>> rows;
  std::map<std::string, int> uses;
  SqlStatement q(db.handle(), sql);
  q.Bind(1, dataset);
  while (q.Step()) {
    rows[q.Int(0)] = {q.Text(1), q.Text(2)};
    ++uses[NormalizeName(q.Text(1))];
  }
  std::map<int64_t, std::string> names;
  for (const auto& [code, texts] : rows) {
    const bool unique =
        !NormalizeName(texts.first).empty() && uses[NormalizeName(texts.first)] == 1;
    names[code] = unique ? texts.first : texts.second;
  }
  return names;
}

class Writer {
 public:
  Writer(char separator, Encoding encoding) : sep_(separator), encoding_(encoding) {}
  // Adds a field; false when the encoding cannot hold it.
  bool Field(const std::string& utf8) {
    if (!first_) line_ += sep_;
    first_ = false;
    bool ascii = true;
    for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::string bytes;
    if (encoding_ != Encoding::kCp932 || ascii) {
      bytes = utf8;
    } else if (auto it = converted_.find(utf8); it != converted_.end()) {
      bytes = it->second;
    } else {
      if (!platform::Utf8ToCp932(utf8, &bytes)) return false;
      // Names and category texts repeat: their forms are kept, up to a bound.
      if (converted_.size() >= 100000) converted_.clear();
      converted_.emplace(utf8, bytes);
    }
    const bool quote = bytes.find_first_of(std::string("\"\r\n") + sep_) != std::string::npos ||
                       (!bytes.empty() && (bytes.front() == ' ' || bytes.back() == ' '));
    if (!quote) {
      line_ += bytes;
      return true;
    }
    line_ += '"';
    for (char c : bytes) {
      if (c == '"') line_ += '"';
      line_ += c;
    }
    line_ += '"';
    return true;
  }
  std::string EndLine() {
    line_ += "\r\n";
    first_ = true;
    return std::move(line_);
  }

 private:
  char sep_;
  Encoding encoding_;
  std::string line_;
  bool first_ = true;
  std::unordered_map<std::string, std::string> converted_;  // UTF-8 -> CP932
};

}  // namespace

bool ExportBooks(const ledger::LedgerDb& db, int dataset, const std::string& path,
                 const Layout& layout, const TaxTextTable& taxTexts, Encoding encoding, long* rows,
                 std::string* error) {
  *rows = 0;
  if (!ledger::HasDataset(db, dataset)) {
    *error = Format(Tr("The ledger holds no dataset %lld: ledora-ledger datasets lists them."),
                    static_cast<long long>(dataset));
    return false;
  }
  if (encoding == Encoding::kAuto) encoding = layout.encoding;
  if (encoding == Encoding::kAuto) encoding = Encoding::kCp932;
  const auto accounts =
      Names(db, dataset, "SELECT code, name, code_text FROM accounts WHERE dataset = ?1");
  const auto departments = Names(
      db, dataset, "SELECT code, name, CAST(code AS TEXT) FROM departments WHERE dataset = ?1");
  bool hasTypeColumn = false;
  for (const Layout::Column& c : layout.columns) {
    hasTypeColumn = hasTypeColumn || c.field == Field::kDebitBusinessType ||
                    c.field == Field::kCreditBusinessType;
  }

  // Written beside the target and renamed into place, so a reader never
  // sees half a file and a failed export leaves the old file alone.
  const size_t slash = path.find_last_of('/');
  std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                     ".export-books-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    *error = Format(Tr("The export file %s cannot be written: no file can be created in its "
                       "folder (%s). Give a folder you can write to."),
                    path.c_str(), std::strerror(errno));
    return false;
  }
  std::FILE* out = ::fdopen(fd, "wb");
  auto abandon = [&](const std::string& why) {
    if (out) std::fclose(out);
    ::unlink(temp.c_str());
    *error = why;
    return false;
  };
  // The export file cannot be written: the system's reason; what to do.
  auto cannotWrite = [&] {
    return abandon(Format(Tr("The export file %s cannot be written: %s. Check the free space and "
                             "the folder."),
                          path.c_str(), std::strerror(errno)));
  };
  if (!out) return cannotWrite();

  Writer w(layout.separator, encoding);
  for (const Layout::Column& c : layout.columns) {
    if (!w.Field(c.header))
      return abandon(Format(Tr("The header %s cannot be written in %s; export with --encoding "
                               "utf-8."),
                            c.header.c_str(), EncodingName(encoding)));
  }
  std::string line = w.EndLine();
  std::fwrite(line.data(), 1, line.size(), out);

  SqlStatement q(db.handle(),
                 "SELECT entry_no, entry_date, closing, description,"
                 " debit_account, debit_dept, debit_amount, debit_tax, debit_category,"
                 " debit_rate, debit_btype, credit_account, credit_dept, credit_amount,"
                 " credit_tax, credit_category, credit_rate, credit_btype"
                 " FROM journal WHERE dataset = ?1 ORDER BY entry_no");
  q.Bind(1, dataset);
  static const std::set<int64_t> kRates = {0, 300, 500, 800, 1000, ledger::kRateReduced8};
  while (q.Step()) {
    const int64_t entryNo = q.Int(0);
    struct SideValues {
      int64_t account, dept, amount, tax, category, rate, btype;
      std::string categoryText;
    } sides[2];
    for (int s = 0; s < 2; ++s) {
      const int b = 4 + 7 * s;
      SideValues& v = sides[s];
      v = {q.Int(b),     q.Int(b + 1), q.Int(b + 2), q.Int(b + 3),
           q.Int(b + 4), q.Int(b + 5), q.Int(b + 6), {}};
      const bool debit = s == 0;
      if (v.account == 0) {
        if (v.amount != 0 || v.tax != 0 || v.category != 0 || v.rate != 0 || v.dept != 0) {
          return abandon(Format(
              debit ? Tr("Entry %lld has a debit side without an account but with figures, which "
                         "the layout cannot carry; correct the entry in the ledger.")
                    : Tr("Entry %lld has a credit side without an account but with figures, "
                         "which the layout cannot carry; correct the entry in the ledger."),
              static_cast<long long>(entryNo)));
        }
        continue;
      }
      if (!accounts.count(v.account)) {
        return abandon(Format(
            debit ? Tr("Entry %lld books the debit side to account %lld, which the dataset does "
                       "not have; add the account with add-account.")
                  : Tr("Entry %lld books the credit side to account %lld, which the dataset does "
                       "not have; add the account with add-account."),
            static_cast<long long>(entryNo), static_cast<long long>(v.account)));
      }
      if (v.dept != 0 && !departments.count(v.dept)) {
        return abandon(Format(
            debit ? Tr("Entry %lld books the debit side to department %lld, which the dataset "
                       "does not have; add the department with add-department.")
                  : Tr("Entry %lld books the credit side to department %lld, which the dataset "
                       "does not have; add the department with add-department."),
            static_cast<long long>(entryNo), static_cast<long long>(v.dept)));
      }
      if (!kRates.count(v.rate)) {
        return abandon(Format(Tr("Entry %lld has the rate code %lld, which no tax-category text "
                                 "can carry; correct the entry in the ledger."),
                              static_cast<long long>(entryNo), static_cast<long long>(v.rate)));
      }
      v.categoryText = taxTexts.TextOf(static_cast<int>(v.category), static_cast<int>(v.rate),
                                       static_cast<int>(v.btype), !hasTypeColumn);
      if (v.categoryText.empty()) {
        return abandon(Format(Tr("Entry %lld has the tax category %lld, which has no text in the "
                                 "tax-category table; add one to the table."),
                              static_cast<long long>(entryNo), static_cast<long long>(v.category)));
      }
    }
    for (const Layout::Column& c : layout.columns) {
      std::string value;
      const int s = static_cast<int>(c.field) >= static_cast<int>(Field::kCreditAccount) ? 1 : 0;
      const SideValues& v = sides[s];
      const AmountBasis basis = s == 0 ? layout.debitAmounts : layout.creditAmounts;
      switch (c.field) {
        case Field::kEntryNo: value = std::to_string(entryNo); break;
        case Field::kDate:
          value = FormatBookDate(static_cast<long>(q.Int(1)), layout.dateForm);
          break;
        case Field::kClosing: value = q.Int(2) != 0 ? "1" : ""; break;
        case Field::kDescription: value = q.Text(3); break;
        case Field::kDebitAccount:
        case Field::kCreditAccount:
          if (v.account != 0) value = accounts.at(v.account);
          break;
        case Field::kDebitDepartment:
        case Field::kCreditDepartment:
          if (v.dept != 0) value = departments.at(v.dept);
          break;
        case Field::kDebitCategory:
        case Field::kCreditCategory: value = v.categoryText; break;
        case Field::kDebitBusinessType:
        case Field::kCreditBusinessType:
          if (v.account != 0 && v.btype != 0) value = std::to_string(v.btype);
          break;
        case Field::kDebitAmount:
        case Field::kCreditAmount:
          // A dataset-dependent layout is written tax excluded.
          if (v.account != 0)
            value = FormatBookAmount(basis == AmountBasis::kIncluded ? v.amount + v.tax : v.amount);
          break;
        case Field::kDebitTax:
        case Field::kCreditTax:
          if (v.account != 0) value = FormatBookAmount(v.tax);
          break;
        default: break;
      }
      if (!w.Field(value)) {
        return abandon(Format(Tr("Entry %lld has the text \"%s\" in %s, which %s cannot hold; "
                                 "export with --encoding utf-8."),
                              static_cast<long long>(entryNo), value.c_str(), FieldName(c.field),
                              EncodingName(encoding)));
      }
    }
    line = w.EndLine();
    std::fwrite(line.data(), 1, line.size(), out);
    ++*rows;
  }
  if (!q.ok()) {
    return abandon(
        Format(Tr("The journal of dataset %d cannot be read: %s."), dataset, q.error().c_str()));
  }
  if (std::fflush(out) != 0 || std::ferror(out) || ::fsync(::fileno(out)) != 0) {
    return cannotWrite();
  }
  ::fchmod(
      ::fileno(out), 0644 & ~[] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
      }());
  if (std::fclose(out) != 0) {
    out = nullptr;
    return cannotWrite();
  }
  out = nullptr;
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    return abandon(Format(Tr("The export cannot be put in place as %s: %s. Give a file name "
                             "that is not a folder, in a folder you can write to."),
                          path.c_str(), std::strerror(errno)));
  }
  return true;
}

}  // namespace ltb::books

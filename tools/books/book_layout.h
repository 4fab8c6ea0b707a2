// A column layout of a journal file: which header names which field, the
// file's encoding, separator and date form, and whether its amounts hold
// the tax. Layouts are small text files (format in ledger/README.md):
//
//   [layout]
//   encoding = cp932          auto, cp932 or utf-8
//   separator = comma         comma or tab
//   amounts = included        included, excluded or dataset
//   date_form = slash         how export-books writes dates
//   [columns]
//   date = 日付               field = header, in the order export-books writes them
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/books/book_date.h"
#include "tools/books/book_text.h"

namespace ltb::books {

// The fields a column can hold.
enum class Field {
  kEntryNo,
  kDate,
  kClosing,
  kDescription,
  kDebitAccount,
  kDebitSubAccount,
  kDebitDepartment,
  kDebitCategory,
  kDebitBusinessType,
  kDebitAmount,
  kDebitTax,
  kCreditAccount,
  kCreditSubAccount,
  kCreditDepartment,
  kCreditCategory,
  kCreditBusinessType,
  kCreditAmount,
  kCreditTax,
  kCount
};

// The name of a field in a layout file ("debit_account").
const char* FieldName(Field f);

// Where a side's amounts stand towards the tax.
enum class AmountBasis { kIncluded, kExcluded, kDataset };

struct Layout {
  std::string name;  // the file's name without its folder and extension
  Encoding encoding = Encoding::kAuto;
  char separator = ',';
  AmountBasis debitAmounts = AmountBasis::kIncluded, creditAmounts = AmountBasis::kIncluded;
  DateForm dateForm = DateForm::kSlash;
  std::optional<int32_t> newAccountClass;
  struct Column {
    Field field;
    std::string header;
  };
  std::vector<Column> columns;  // in file order

  // The header of `f`; empty when the layout has no such column.
  const std::string& HeaderOf(Field f) const;
};

// Parses the text of a layout file (UTF-8). False with *error naming the
// line when a line is not understood or a required column is missing
// (date, and an account column per side).
bool ParseLayout(std::string_view text, std::string name, Layout* layout, std::string* error);

// Reads and parses the layout file at `path`.
bool LoadLayout(const std::string& path, Layout* layout, std::string* error);

}  // namespace ltb::books

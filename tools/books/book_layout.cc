#include "tools/books/book_layout.h"

#include "platform/messages.h"
#include "tools/books/data_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace ltb::books {

namespace {

constexpr const char* kFieldNames[] = {
    "entry_no",
    "date",
    "closing",
    "description",
    "debit_account",
    "debit_sub_account",
    "debit_department",
    "debit_category",
    "debit_business_type",
    "debit_amount",
    "debit_tax",
    "credit_account",
    "credit_sub_account",
    "credit_department",
    "credit_category",
    "credit_business_type",
    "credit_amount",
    "credit_tax",
};
static_assert(std::size(kFieldNames) == static_cast<size_t>(Field::kCount));

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

bool ParseBasis(std::string_view v, AmountBasis* out) {
  if (v == "included") {
    *out = AmountBasis::kIncluded;
  } else if (v == "excluded") {
    *out = AmountBasis::kExcluded;
  } else if (v == "dataset") {
    *out = AmountBasis::kDataset;
  } else {
    return false;
  }
  return true;
}

}  // namespace

const char* FieldName(Field f) { return kFieldNames[static_cast<size_t>(f)]; }

const std::string& Layout::HeaderOf(Field f) const {
  static const std::string kNone;
  for (const Column& c : columns) {
    if (c.field == f) return c.header;
  }
  return kNone;
}

bool ParseLayout(std::string_view text, std::string name, Layout* layout, std::string* error) {
  *layout = Layout();
  layout->name = std::move(name);
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string section;
  int lineNo = 0;
  auto fail = [&](const std::string& what) {
    // TRANSLATORS: the last %s is a complete sentence about the line.
    *error = platform::Format(platform::Tr("Line %d of the layout %s: %s"), lineNo,
                              layout->name.c_str(), what.c_str());
    return false;
  };
  while (!text.empty()) {
    ++lineNo;
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = std::string(Trim(line.substr(1, line.size() - 2)));
      if (section != "layout" && section != "columns") {
        return fail(platform::Format(
            platform::Tr("the section [%s] is unknown; use [layout] or [columns]."),
            section.c_str()));
      }
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      return fail(platform::Format(platform::Tr("the line \"%s\" is not of the form key = value; "
                                                "correct it."),
                                   std::string(line).c_str()));
    }
    const std::string key(Trim(line.substr(0, eq)));
    const std::string value(Trim(line.substr(eq + 1)));
    if (section == "columns") {
      Field field = Field::kCount;
      for (size_t i = 0; i < std::size(kFieldNames); ++i) {
        if (key == kFieldNames[i]) field = static_cast<Field>(i);
      }
      if (field == Field::kCount) {
        return fail(platform::Format(
            platform::Tr("\"%s\" is not a field a column can hold; the fields are those of "
                         "import-books --help."),
            key.c_str()));
      }
      if (value.empty()) {
        return fail(platform::Format(
            platform::Tr("the column of %s has no header name; give the column's header."),
            key.c_str()));
      }
      if (!layout->HeaderOf(field).empty()) {
        return fail(platform::Format(
            platform::Tr("the field %s is given twice; keep one of the two lines."), key.c_str()));
      }
      layout->columns.push_back({field, value});
    } else if (section == "layout") {
      bool ok = true;
      if (key == "encoding") {
        ok = ParseEncoding(value, &layout->encoding);
      } else if (key == "separator") {
        ok = value == "comma" || value == "tab";
        layout->separator = value == "tab" ? '\t' : ',';
      } else if (key == "amounts") {
        ok = ParseBasis(value, &layout->debitAmounts);
        layout->creditAmounts = layout->debitAmounts;
      } else if (key == "debit_amounts") {
        ok = ParseBasis(value, &layout->debitAmounts);
      } else if (key == "credit_amounts") {
        ok = ParseBasis(value, &layout->creditAmounts);
      } else if (key == "date_form") {
        ok = ParseDateForm(value, &layout->dateForm);
      } else if (key == "new_account_class") {
        char* end = nullptr;
        errno = 0;
        const unsigned long long v = std::strtoull(value.c_str(), &end, 0);
        ok = errno == 0 && end && *end == '\0' && !value.empty() && v <= 0xFFFFFFFFull;
        if (ok) layout->newAccountClass = static_cast<int32_t>(static_cast<uint32_t>(v));
      } else if (key == "name" || key == "description") {
        // Free text for people reading the file.
      } else {
        return fail(platform::Format(
            platform::Tr("the setting \"%s\" is unknown; correct or remove the line."),
            key.c_str()));
      }
      if (!ok) {
        return fail(platform::Format(
            platform::Tr("the value \"%s\" of %s is not understood; correct the value."),
            value.c_str(), key.c_str()));
      }
    } else {
      return fail(
          platform::Tr("a [layout] or [columns] section must come first; add one above "
                       "the line."));
    }
  }
  lineNo = 0;
  if (layout->HeaderOf(Field::kDate).empty()) {
    *error =
        platform::Format(platform::Tr("The layout %s has no date column; add one under [columns]."),
                         layout->name.c_str());
    return false;
  }
  if (layout->HeaderOf(Field::kDebitAccount).empty() ||
      layout->HeaderOf(Field::kCreditAccount).empty()) {
    *error = platform::Format(platform::Tr("The layout %s needs both a debit_account and a "
                                           "credit_account column; add them under [columns]."),
                              layout->name.c_str());
    return false;
  }
  if (layout->HeaderOf(Field::kDebitAmount).empty() ||
      layout->HeaderOf(Field::kCreditAmount).empty()) {
    *error = platform::Format(platform::Tr("The layout %s needs both a debit_amount and a "
                                           "credit_amount column; add them under [columns]."),
                              layout->name.c_str());
    return false;
  }
  return true;
}

bool LoadLayout(const std::string& path, Layout* layout, std::string* error) {
  std::string text;
  if (!ReadDataFile(path,
                    platform::MessageId("The layout file %s cannot be opened: %s. Give the name of "
                                        "a layout in the folder books or the path of a layout "
                                        "file."),
                    &text, error)) {
    return false;
  }
  std::string name = path.substr(path.find_last_of('/') + 1);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
  return ParseLayout(text, name, layout, error);
}

}  // namespace ltb::books

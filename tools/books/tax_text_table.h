// The table from the tax-category texts of journal files (税区分, such as
// 課税売上8%, 課対仕入10%, 共通課税仕入軽減8%, 輸入仕入(国税)8%) to the
// ledger's tax category, rate and business type. The table is a data file
// shipped beside the program (tax-categories.tsv) that users may edit; it
// lists each text without its rate and business type:
//
//   課税売上<TAB>1<TAB>date
//
// The third column says which rate a text without one gets: "date" the rate
// in force on the entry's date, "none" no rate. A text is matched after
// NormalizeName (widths, spaces); a rate at its end (3%, 5%, 8%, 10%, 0%, and
// the reduced 8% written 軽減8%, 軽8%, 8%軽, 8%(軽) or *8%) and a business type
// (一種..六種, 1種..6種, 第五種, (五種)) are taken off before the lookup.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ltb::books {

struct TaxText {
  int category = 0;
  int rate = 0;               // hundredths of a percent; ledger::kRateReduced8 for the reduced 8%
  int businessType = 0;       // 0 when the text names none
  bool rateFromDate = false;  // the text has no rate: the date's rate was taken
};

class TaxTextTable {
 public:
  // Parses the table's text; false with *error naming the line.
  bool Parse(std::string_view text, std::string* error);
  bool Load(const std::string& path, std::string* error);

  // The category, rate and business type of `text` (UTF-8, as in the file)
  // on `date` (yyyymmdd); false when the table does not know it.
  bool Resolve(std::string_view text, long date, TaxText* out) const;

  // The text export-books writes for a side: the category's first text in
  // the table with the rate (and, when `withBusinessType`, the business
  // type) appended; empty when the table has no text for the category.
  std::string TextOf(int category, int rate, int businessType, bool withBusinessType) const;

  // The rate in force on `date` (yyyymmdd) in hundredths of a percent.
  static int RateOnDate(long date);

 private:
  struct Row {
    int category = 0;
    bool rateByDate = false;
  };
  std::unordered_map<std::string, Row> byText_;                      // normalised text
  std::unordered_map<int, std::pair<std::string, bool>> canonical_;  // text, rateByDate
};

}  // namespace ltb::books

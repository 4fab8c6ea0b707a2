#include "tools/books/tax_text_table.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ledger/tax_categories.h"
#include "platform/messages.h"
#include "tools/books/book_text.h"
#include "tools/books/data_file.h"
#include "tools/books/utf8_literal.h"

namespace ltb::books {

namespace {

const std::string_view kKanjiDigits[] = {Utf8(u8"一"), Utf8(u8"二"), Utf8(u8"三"),
                                         Utf8(u8"四"), Utf8(u8"五"), Utf8(u8"六")};

bool StripSuffix(std::string_view* s, std::string_view suffix) {
  if (!s->ends_with(suffix)) return false;
  s->remove_suffix(suffix.size());
  return true;
}
bool StripPrefixOfTail(std::string_view* s, std::string_view marker) {
  return StripSuffix(s, marker);
}

// Takes a business type (五種, 5種, 第五種, (五種)) off the end of *s.
int TakeBusinessType(std::string_view* s) {
  std::string_view t = *s;
  const bool paren = StripSuffix(&t, ")");
  if (!StripSuffix(&t, Utf8(u8"種"))) return 0;
  int type = 0;
  for (int i = 0; i < 6 && type == 0; ++i) {
    if (StripSuffix(&t, kKanjiDigits[i])) type = i + 1;
  }
  if (type == 0 && !t.empty() && t.back() >= '1' && t.back() <= '6') {
    type = t.back() - '0';
    t.remove_suffix(1);
  }
  if (type == 0) return 0;
  StripSuffix(&t, Utf8(u8"第"));
  if (paren && !StripSuffix(&t, "(")) return 0;
  *s = t;
  return type;
}

// Takes a rate off the end of *s; -1 when there is none, else the rate in
// hundredths of a percent.
int TakeRate(std::string_view* s) {
  std::string_view t = *s;
  bool reduced = StripSuffix(&t, Utf8(u8"(軽)")) || StripSuffix(&t, Utf8(u8"(軽減)")) ||
                 StripSuffix(&t, Utf8(u8"軽減")) || StripSuffix(&t, Utf8(u8"軽"));
  if (!StripSuffix(&t, "%")) return -1;
  size_t digits = 0;
  while (digits < t.size() && digits < 2 && t[t.size() - 1 - digits] >= '0' &&
         t[t.size() - 1 - digits] <= '9') {
    ++digits;
  }
  if (digits == 0) return -1;
  const int percent = std::stoi(std::string(t.substr(t.size() - digits)));
  t.remove_suffix(digits);
  reduced = StripPrefixOfTail(&t, Utf8(u8"軽減")) || StripPrefixOfTail(&t, Utf8(u8"軽")) ||
            StripPrefixOfTail(&t, "*") || StripPrefixOfTail(&t, Utf8(u8"※")) || reduced;
  int rate;
  switch (percent) {
    case 0: rate = 0; break;
    case 3: rate = 300; break;
    case 5: rate = 500; break;
    case 8: rate = reduced ? ledger::kRateReduced8 : 800; break;
    case 10: rate = 1000; break;
    default: return -1;
  }
  if (reduced && percent != 8) return -1;
  *s = t;
  return rate;
}

}  // namespace

int TaxTextTable::RateOnDate(long date) {
  if (date < 19890401) return 0;
  if (date < 19970401) return 300;
  if (date < 20140401) return 500;
  if (date < 20191001) return 800;
  return 1000;
}

bool TaxTextTable::Parse(std::string_view text, std::string* error) {
  byText_.clear();
  canonical_.clear();
  return ForEachDataLine(text, [&](int lineNo, std::string_view line) {
    std::istringstream fields{std::string(line)};
    std::string name, code, rate;
    std::getline(fields, name, '\t');
    std::getline(fields, code, '\t');
    std::getline(fields, rate, '\t');
    int category = -1;
    try {
      size_t used = 0;
      category = std::stoi(code, &used);
      if (used != code.size()) category = -1;
    } catch (...) {
    }
    if (name.empty() || category < 0 || category > 255 || (rate != "date" && rate != "none")) {
      *error = platform::Format(platform::Tr("Line %d of the tax-category table is not "
                                             "\"text<TAB>category 0..255<TAB>date or none\"; "
                                             "correct the line."),
                                lineNo);
      return false;
    }
    const std::string key = NormalizeName(name);
    if (byText_.count(key)) {
      *error = platform::Format(platform::Tr("Line %d of the tax-category table repeats the "
                                             "text \"%s\"; keep one of the two lines."),
                                lineNo, name.c_str());
      return false;
    }
    byText_[key] = {category, rate == "date"};
    canonical_.try_emplace(category, key, rate == "date");
    return true;
  });
}

bool TaxTextTable::Load(const std::string& path, std::string* error) {
  std::string text;
  return ReadDataFile(path,
                      platform::MessageId("The tax-category table %s cannot be opened: %s. Give "
                                          "the table's path with --categories."),
                      &text, error) &&
         Parse(text, error);
}

bool TaxTextTable::Resolve(std::string_view text, long date, TaxText* out) const {
  const std::string normal = NormalizeName(text);
  std::string_view s = normal;
  *out = TaxText();
  if (s.empty()) return true;  // no category: out of scope
  int rate = -1, type = 0;
  // The business type and the rate may come in either order.
  for (int round = 0; round < 2; ++round) {
    if (type == 0) type = TakeBusinessType(&s);
    if (rate < 0) rate = TakeRate(&s);
  }
  const auto it = byText_.find(std::string(s));
  if (it == byText_.end()) return false;
  out->category = it->second.category;
  out->rate = rate >= 0 ? rate : it->second.rateByDate ? RateOnDate(date) : 0;
  out->rateFromDate = rate < 0 && it->second.rateByDate;
  out->businessType = type;
  return true;
}

std::string TaxTextTable::TextOf(int category, int rate, int businessType,
                                 bool withBusinessType) const {
  const auto it = canonical_.find(category);
  if (it == canonical_.end()) return {};
  std::string text = it->second.first;
  // A text without a rate reads back as the date's rate (or none), so the
  // rate is always written when the side has one, and 0% when a text that
  // takes the date's rate stands for a side without one.
  if (rate == ledger::kRateReduced8) {
    text += Utf8(u8"軽減8%");
  } else if (rate != 0) {
    text += std::to_string(rate / 100) + "%";
  } else if (it->second.second) {
    text += "0%";
  }
  if (withBusinessType && businessType >= 1 && businessType <= 6) {
    text += std::string(kKanjiDigits[businessType - 1]) + std::string(Utf8(u8"種"));
  }
  return text;
}

}  // namespace ltb::books

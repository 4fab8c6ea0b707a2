#include "tools/books/book_date.h"

#include <cstdio>

#include "tools/books/utf8_literal.h"

namespace ltb::books {

namespace {

struct Era {
  std::string_view letter, name;
  long firstDay;  // yyyymmdd the era began
};

const Era kEras[] = {
    {"M", Utf8(u8"明治"), 18680125}, {"T", Utf8(u8"大正"), 19120730},
    {"S", Utf8(u8"昭和"), 19261225}, {"H", Utf8(u8"平成"), 19890108},
    {"R", Utf8(u8"令和"), 20190501},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsRealDay(long y, long m, long d) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= (m == 2 && !leap ? 28 : kDays[m - 1]);
}

// Reads up to `maxDigits` digits at the front of *s.
bool TakeNumber(std::string_view* s, size_t maxDigits, long* value) {
  size_t n = 0;
  *value = 0;
  while (n < s->size() && n < maxDigits && IsDigit((*s)[n]))
    *value = *value * 10 + ((*s)[n++] - '0');
  if (n == 0) return false;
  s->remove_prefix(n);
  return true;
}

bool TakeSeparator(std::string_view* s, std::string_view kanji) {
  if (!s->empty() && ((*s)[0] == '/' || (*s)[0] == '-' || (*s)[0] == '.')) {
    s->remove_prefix(1);
    return true;
  }
  if (!kanji.empty() && s->starts_with(kanji)) {
    s->remove_prefix(kanji.size());
    return true;
  }
  return false;
}

// "m/d" or "m月d日" after the year.
bool TakeMonthDay(std::string_view s, long* m, long* d) {
  if (!TakeNumber(&s, 2, m) || !TakeSeparator(&s, Utf8(u8"月")) || !TakeNumber(&s, 2, d))
    return false;
  if (s == Utf8(u8"日")) s.remove_prefix(s.size());
  return s.empty();
}

}  // namespace

bool ParseDateForm(std::string_view name, DateForm* out) {
  if (name == "slash") {
    *out = DateForm::kSlash;
  } else if (name == "dash") {
    *out = DateForm::kDash;
  } else if (name == "compact") {
    *out = DateForm::kCompact;
  } else if (name == "era") {
    *out = DateForm::kEra;
  } else {
    return false;
  }
  return true;
}

bool ParseBookDate(std::string_view s, long* yyyymmdd) {
  long y = 0, m = 0, d = 0;
  const Era* era = nullptr;
  for (const Era& e : kEras) {
    if (s.starts_with(e.letter) || (s.size() > 1 && s[0] == e.letter[0] + 32)) {
      era = &e;
      s.remove_prefix(1);
    } else if (s.starts_with(e.name)) {
      era = &e;
      s.remove_prefix(e.name.size());
    }
    if (era) break;
  }
  if (era) {
    if (s.starts_with(Utf8(u8"元"))) {
      y = 1;
      s.remove_prefix(Utf8(u8"元").size());
    } else if (!TakeNumber(&s, 2, &y)) {
      return false;
    }
    if (!TakeSeparator(&s, Utf8(u8"年")) || !TakeMonthDay(s, &m, &d)) return false;
    y += era->firstDay / 10000 - 1;
  } else if (s.size() == 8 && s.find_first_not_of("0123456789") == std::string_view::npos) {
    y = std::stol(std::string(s.substr(0, 4)));
    m = std::stol(std::string(s.substr(4, 2)));
    d = std::stol(std::string(s.substr(6, 2)));
  } else {
    if (!TakeNumber(&s, 4, &y) || y < 1000 || !TakeSeparator(&s, Utf8(u8"年")) ||
        !TakeMonthDay(s, &m, &d)) {
      return false;
    }
  }
  if (!IsRealDay(y, m, d)) return false;
  *yyyymmdd = y * 10000 + m * 100 + d;
  // An era year that lies before the era began is a mistyped date.
  return era == nullptr || *yyyymmdd >= era->firstDay;
}

std::string FormatBookDate(long v, DateForm form) {
  const long y = v / 10000, m = v / 100 % 100, d = v % 100;
  char out[32];
  switch (form) {
    case DateForm::kDash: std::snprintf(out, sizeof out, "%04ld-%02ld-%02ld", y, m, d); break;
    case DateForm::kCompact: std::snprintf(out, sizeof out, "%08ld", v); break;
    case DateForm::kEra: {
      const Era* era = &kEras[0];
      for (const Era& e : kEras) {
        if (v >= e.firstDay) era = &e;
      }
      std::snprintf(out, sizeof out, "%s%02ld/%02ld/%02ld", std::string(era->letter).c_str(),
                    y - era->firstDay / 10000 + 1, m, d);
      break;
    }
    case DateForm::kSlash:
    default: std::snprintf(out, sizeof out, "%04ld/%02ld/%02ld", y, m, d); break;
  }
  return out;
}

}  // namespace ltb::books

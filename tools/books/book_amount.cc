#include "tools/books/book_amount.h"

#include "tools/books/book_text.h"
#include "tools/books/utf8_literal.h"

namespace ltb::books {

bool ParseBookAmount(std::string_view raw, int64_t* units) {
  const std::string text = NormalizeName(raw);
  std::string_view s = text;
  *units = 0;
  if (s.empty()) return true;
  bool negative = false;
  for (std::string_view sign : {std::string_view("-"), Utf8(u8"△"), Utf8(u8"▲"), Utf8(u8"−")}) {
    if (s.starts_with(sign)) {
      negative = true;
      s.remove_prefix(sign.size());
      break;
    }
  }
  if (s.starts_with("\\")) s.remove_prefix(1);  // the yen sign of CP932 files
  if (s.starts_with(Utf8(u8"¥"))) s.remove_prefix(Utf8(u8"¥").size());
  if (s.ends_with(Utf8(u8"円"))) s.remove_suffix(Utf8(u8"円").size());
  int64_t value = 0;
  int decimals = -1;
  bool digits = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ',' && decimals < 0 && digits) continue;
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return false;
    if (decimals >= 0 && ++decimals > 4) return false;
    if (__builtin_mul_overflow(value, 10, &value) ||
        __builtin_add_overflow(value, c - '0', &value)) {
      return false;
    }
    digits = true;
  }
  if (!digits) return false;
  for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d) {
    if (__builtin_mul_overflow(value, 10, &value)) return false;
  }
  *units = negative ? -value : value;
  return true;
}

std::string FormatBookAmount(int64_t units) {
  const bool negative = units < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : units;
  std::string out = std::to_string(magnitude / 10000);
  uint64_t frac = magnitude % 10000;
  if (frac != 0) {
    std::string f = std::to_string(frac + 10000).substr(1);
    while (f.back() == '0') f.pop_back();
    out += "." + f;
  }
  return negative ? "-" + out : out;
}

int64_t TaxOf(int64_t amount, int rate, bool included, int rounding) {
  const __int128 numerator = static_cast<__int128>(amount < 0 ? -amount : amount) * rate;
  const __int128 denominator = static_cast<__int128>(included ? 10000 + rate : 10000) * 10000;
  __int128 yen = numerator / denominator;
  const __int128 rest = numerator % denominator;
  if (rounding == 2 && rest != 0) ++yen;
  if (rounding == 0 && rest * 2 >= denominator) ++yen;
  const int64_t tax = static_cast<int64_t>(yen) * 10000;
  return amount < 0 ? -tax : tax;
}

bool ParseBusinessType(std::string_view raw, int* type) {
  std::string text = NormalizeName(raw);
  std::string_view s = text;
  if (s.starts_with(Utf8(u8"第"))) s.remove_prefix(Utf8(u8"第").size());
  if (s.ends_with(Utf8(u8"種"))) s.remove_suffix(Utf8(u8"種").size());
  static const std::string_view kKanji[] = {Utf8(u8"一"), Utf8(u8"二"), Utf8(u8"三"),
                                            Utf8(u8"四"), Utf8(u8"五"), Utf8(u8"六")};
  for (int i = 0; i < 6; ++i) {
    if (s == kKanji[i] || (s.size() == 1 && s[0] == '1' + i)) {
      *type = i + 1;
      return true;
    }
  }
  return false;
}

}  // namespace ltb::books

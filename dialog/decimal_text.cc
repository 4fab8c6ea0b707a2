#include "dialog/decimal_text.h"

#include <algorithm>
#include <limits>

namespace ltb::dialog {

int32_t LeadingDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 32);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int16_t LeadingDecimal16(std::string_view text) {
  return static_cast<int16_t>(std::clamp<int32_t>(LeadingDecimal(text),
                                                  std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

}  // namespace ltb::dialog

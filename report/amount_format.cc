#include "report/amount_format.h"

namespace ltb::report {
namespace {

constexpr int64_t kUnitsPerYen = 10000;

// Whether a fraction of `r` ten-thousandths (0..9999) rounds the yen up: each
// digit of at least 5 carries into the digit above it, from the last digit to
// the tenths.
bool CascadeRoundsUp(int64_t r) {
  int64_t d1 = r / 1000;
  int64_t d2 = (r / 100) % 10;
  int64_t d3 = (r % 100) / 10;
  int64_t d4 = r % 10;
  if (d4 >= 5) ++d3;
  if (d3 >= 5) ++d2;
  if (d2 >= 5) ++d1;
  return d1 >= 5;
}

bool FractionAddsYen(int64_t fraction, uint8_t mode) {
  switch (mode) {
    case 0: return CascadeRoundsUp(fraction);
    case 2: return fraction != 0;
    default: return false;
  }
}

}  // namespace

int64_t RoundToYen(int64_t amount, uint8_t fractionRounding) {
  int64_t q = amount / kUnitsPerYen;  // cut toward zero
  int64_t r = amount % kUnitsPerYen;  // same sign as the amount
  if (r >= 0) return FractionAddsYen(r, fractionRounding) ? q + 1 : q;
  return FractionAddsYen(-r, fractionRounding) ? q - 1 : q;
}

std::string FormatAmount(int64_t amount, uint8_t fractionRounding) {
  int64_t yen = RoundToYen(amount, fractionRounding);
  return yen == 0 ? std::string() : std::to_string(yen);
}

std::string FormatAmountWithZero(int64_t amount, uint8_t fractionRounding) {
  return std::to_string(RoundToYen(amount, fractionRounding));
}

}  // namespace ltb::report

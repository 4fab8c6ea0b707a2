#include "report/twenty_fold.h"

#include "report/amount_format.h"

namespace ltb::report {
namespace {

constexpr int64_t kUnitsPerYen = 10000;
constexpr int64_t kFactor = 20;

}  // namespace

int64_t TwentyFoldYen(int64_t amount, uint8_t fractionRounding) {
  // amount = yen + fraction, both with the amount's sign. The whole yen times
  // twenty stay within 64 bits (|yen| < 2^63 / 10^4); only the fraction
  // times twenty is rounded, by its magnitude as RoundToYen rounds.
  const int64_t yen = amount / kUnitsPerYen;
  const int64_t fraction = amount % kUnitsPerYen;
  return yen * kFactor + RoundToYen(fraction * kFactor, fractionRounding);
}

std::string FormatTwentyFold(int64_t amount, uint8_t fractionRounding) {
  const int64_t yen = TwentyFoldYen(amount, fractionRounding);
  return yen == 0 ? std::string() : std::to_string(yen);
}

}  // namespace ltb::report

#include "aggregate/tax_decimal.h"

#include <limits>

namespace ltb::aggregate {
namespace {

constexpr __int128 kUnits = TaxDecimal::kFractionUnits;
constexpr __int128 kInt64Max = std::numeric_limits<int64_t>::max();
constexpr __int128 kInt64Min = std::numeric_limits<int64_t>::min();

__int128 Abs(__int128 v) { return v < 0 ? -v : v; }

}  // namespace

TaxDecimal TaxDecimal::FromAmount(int64_t amount) {
  TaxDecimal d;
  d.SetUnits(amount);
  return d;
}

void TaxDecimal::MarkOverflow() {
  overflowed_ = true;
  integer_ = 0;
  fraction_ = 0;
  sign_ = 1;
}

void TaxDecimal::SetUnits(__int128 units) {
  const __int128 magnitude = Abs(units);
  sign_ = units < 0 ? -1 : 1;
  if (magnitude <= std::numeric_limits<uint64_t>::max()) {
    // Every stored amount and most sums: a 64-bit division, far cheaper.
    const uint64_t m = static_cast<uint64_t>(magnitude);
    integer_ = static_cast<int64_t>(m / kFractionUnits);
    fraction_ = static_cast<uint32_t>(m % kFractionUnits);
    return;
  }
  const __int128 whole = magnitude / kUnits;
  if (whole > kInt64Max) {
    MarkOverflow();
    return;
  }
  integer_ = static_cast<int64_t>(whole);
  fraction_ = static_cast<uint32_t>(magnitude % kUnits);
}

__int128 TaxDecimal::Units() const {
  return (static_cast<__int128>(integer_) * kUnits + fraction_) * sign_;
}

bool TaxDecimal::ToAmount(int64_t* amount) const {
  if (overflowed_) return false;
  const __int128 units = Units();
  if (units > kInt64Max || units < kInt64Min) return false;
  *amount = static_cast<int64_t>(units);
  return true;
}

TaxDecimal& TaxDecimal::Add(const TaxDecimal& other) {
  if (overflowed_ || other.overflowed_) {
    MarkOverflow();
    return *this;
  }
  const __int128 sum = Units() + other.Units();
  if (Abs(sum) >= kAddLimit) {
    MarkOverflow();
    return *this;
  }
  SetUnits(sum);
  return *this;
}

TaxDecimal& TaxDecimal::Subtract(const TaxDecimal& other) {
  if (other.overflowed_) {
    MarkOverflow();
    return *this;
  }
  TaxDecimal negated = other;
  if (negated.integer_ != 0 || negated.fraction_ != 0) negated.sign_ = -negated.sign_;
  return Add(negated);
}

TaxDecimal& TaxDecimal::MultiplyBy(int32_t factor) {
  if (overflowed_) return *this;
  // |integer| < 2^63 and |factor| <= 2^31, so the product fits 128 bits.
  SetUnits(Units() * factor);
  if (!overflowed_) {
    int64_t unused;
    if (!ToAmount(&unused)) MarkOverflow();
  }
  return *this;
}

TaxDecimal& TaxDecimal::MultiplyBy(const TaxDecimal& other) {
  if (overflowed_ || other.overflowed_) {
    MarkOverflow();
    return *this;
  }
  // Product of the magnitudes in units of 10^-8 yen, built part by part so
  // that nothing exceeds 128 bits: the integer product is checked first.
  const __int128 wholeProduct =
      static_cast<__int128>(integer_) * static_cast<__int128>(other.integer_);
  if (wholeProduct > kInt64Max) {
    MarkOverflow();
    return *this;
  }
  const __int128 cross = static_cast<__int128>(integer_) * other.fraction_ +
                         static_cast<__int128>(other.integer_) * fraction_;
  const __int128 fine = wholeProduct * kUnits * kUnits + cross * kUnits +
                        static_cast<__int128>(fraction_) * other.fraction_;
  const __int128 rounded = (fine + kUnits / 2) / kUnits;
  const int sign = sign_ * other.sign_;
  SetUnits(sign < 0 ? -rounded : rounded);
  if (!overflowed_) {
    int64_t unused;
    if (!ToAmount(&unused)) MarkOverflow();
  }
  return *this;
}

bool AddAmount(int64_t* total, int64_t amount) {
  TaxDecimal sum = TaxDecimal::FromAmount(*total);
  sum.Add(TaxDecimal::FromAmount(amount));
  return sum.ToAmount(total);
}

}  // namespace ltb::aggregate

// TaxDecimal: the fixed-point value every sum of amounts goes through.
//
// An amount is yen x 10000 in an int64. A TaxDecimal holds it as an integer
// part (whole yen), a fraction 0..9999 (ten-thousandths) and a sign (+1 or
// -1; zero is always +1). Results that cannot be represented never wrap:
// the value becomes "overflowed", stays so through every later operation,
// and ToAmount() refuses it.
//
// Limits:
//  - Add and Subtract overflow when the magnitude reaches 10^18 stored units
//    (10^14 yen), far above any real ledger, so a wrong sum cannot hide.
//  - Multiplications overflow when the integer part leaves 64 bits or when
//    the result no longer fits a stored int64 amount.
#pragma once

#include <cstdint>

namespace ltb::aggregate {

class TaxDecimal {
 public:
  // Largest magnitude (exclusive) an addition may produce, in stored units.
  static constexpr int64_t kAddLimit = 1'000'000'000'000'000'000;
  static constexpr uint32_t kFractionUnits = 10000;

  TaxDecimal() = default;
  static TaxDecimal FromAmount(int64_t amount);

  int64_t IntegerPart() const { return integer_; }
  uint32_t Fraction() const { return fraction_; }
  int16_t Sign() const { return sign_; }
  bool Overflowed() const { return overflowed_; }

  // The stored amount; false (and *amount untouched) when overflowed or when
  // the value does not fit an int64 amount.
  bool ToAmount(int64_t* amount) const;

  TaxDecimal& Add(const TaxDecimal& other);
  TaxDecimal& Subtract(const TaxDecimal& other);
  // The fraction product is carried into the integer part.
  TaxDecimal& MultiplyBy(int32_t factor);
  // The fraction of the product is rounded half up (by magnitude) to four
  // places.
  TaxDecimal& MultiplyBy(const TaxDecimal& other);

 private:
  // Sets the value from a signed count of stored units, flagging overflow
  // when the integer part would leave 64 bits.
  void SetUnits(__int128 units);
  __int128 Units() const;
  void MarkOverflow();

  int64_t integer_ = 0;
  uint32_t fraction_ = 0;
  int16_t sign_ = 1;
  bool overflowed_ = false;
};

// Adds `amount` to the stored amount *total through a TaxDecimal; false (and
// *total untouched) on overflow.
bool AddAmount(int64_t* total, int64_t amount);

}  // namespace ltb::aggregate

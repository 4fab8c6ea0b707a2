#include "aggregate/tax_decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace ltb::aggregate {
namespace {

int64_t AmountOf(const TaxDecimal& d) {
  int64_t a = 0;
  EXPECT_TRUE(d.ToAmount(&a));
  return a;
}

TEST(TaxDecimalTest, SplitsAmountIntoPartsAndBack) {
  const TaxDecimal d = TaxDecimal::FromAmount(-123456789);
  EXPECT_EQ(d.IntegerPart(), 12345);
  EXPECT_EQ(d.Fraction(), 6789u);
  EXPECT_EQ(d.Sign(), -1);
  EXPECT_EQ(AmountOf(d), -123456789);
  // Zero always carries the plus sign, also when reached from a negative.
  TaxDecimal z = TaxDecimal::FromAmount(-5);
  z.Add(TaxDecimal::FromAmount(5));
  EXPECT_EQ(z.Sign(), 1);
  EXPECT_EQ(AmountOf(z), 0);
  EXPECT_EQ(AmountOf(TaxDecimal::FromAmount(std::numeric_limits<int64_t>::min())),
            std::numeric_limits<int64_t>::min());
}

TEST(TaxDecimalTest, AddAndSubtractEqualPlainIntegerArithmetic) {
  const int64_t values[] = {0, 1, -1, 9999, -9999, 10000, 123456789, -987654321, 500000000000000LL};
  for (int64_t a : values) {
    for (int64_t b : values) {
      TaxDecimal sum = TaxDecimal::FromAmount(a);
      sum.Add(TaxDecimal::FromAmount(b));
      EXPECT_EQ(AmountOf(sum), a + b) << a << " + " << b;
      TaxDecimal diff = TaxDecimal::FromAmount(a);
      diff.Subtract(TaxDecimal::FromAmount(b));
      EXPECT_EQ(AmountOf(diff), a - b) << a << " - " << b;
    }
  }
}

TEST(TaxDecimalTest, AdditionOverflowsAtTenToTheEighteenStoredUnits) {
  TaxDecimal below = TaxDecimal::FromAmount(TaxDecimal::kAddLimit - 2);
  below.Add(TaxDecimal::FromAmount(1));
  EXPECT_FALSE(below.Overflowed());

  TaxDecimal at = TaxDecimal::FromAmount(TaxDecimal::kAddLimit - 1);
  at.Add(TaxDecimal::FromAmount(1));
  EXPECT_TRUE(at.Overflowed());
  int64_t out = 42;
  EXPECT_FALSE(at.ToAmount(&out));
  EXPECT_EQ(out, 42);

  TaxDecimal negative = TaxDecimal::FromAmount(-(TaxDecimal::kAddLimit - 1));
  negative.Subtract(TaxDecimal::FromAmount(1));
  EXPECT_TRUE(negative.Overflowed());

  // Overflow is sticky: bringing the value back into range does not heal it.
  at.Subtract(TaxDecimal::FromAmount(TaxDecimal::kAddLimit - 1));
  EXPECT_TRUE(at.Overflowed());
}

TEST(TaxDecimalTest, MultiplyByIntegerCarriesTheFraction) {
  TaxDecimal d = TaxDecimal::FromAmount(12345);  // 1.2345 yen
  d.MultiplyBy(20);
  EXPECT_EQ(AmountOf(d), 246900);
  EXPECT_EQ(d.IntegerPart(), 24);
  TaxDecimal n = TaxDecimal::FromAmount(7);
  n.MultiplyBy(-1);
  EXPECT_EQ(AmountOf(n), -7);

  // A product that no longer fits a stored amount overflows instead of
  // wrapping.
  TaxDecimal big = TaxDecimal::FromAmount(std::numeric_limits<int64_t>::max() / 10);
  big.MultiplyBy(20);
  EXPECT_TRUE(big.Overflowed());
}

TEST(TaxDecimalTest, MultiplyByDecimalRoundsHalfUpToFourPlaces) {
  // 1.0001 x 0.5 = 0.50005 -> 0.5001
  TaxDecimal a = TaxDecimal::FromAmount(10001);
  a.MultiplyBy(TaxDecimal::FromAmount(5000));
  EXPECT_EQ(AmountOf(a), 5001);
  // 1.0001 x 0.4999 = 0.49994999 -> 0.4999
  TaxDecimal b = TaxDecimal::FromAmount(10001);
  b.MultiplyBy(TaxDecimal::FromAmount(4999));
  EXPECT_EQ(AmountOf(b), 4999);
  // Rounding works on the magnitude: -0.50005 -> -0.5001
  TaxDecimal c = TaxDecimal::FromAmount(-10001);
  c.MultiplyBy(TaxDecimal::FromAmount(5000));
  EXPECT_EQ(AmountOf(c), -5001);
  // 123.4567 x 8 yen
  TaxDecimal d = TaxDecimal::FromAmount(1234567);
  d.MultiplyBy(TaxDecimal::FromAmount(80000));
  EXPECT_EQ(AmountOf(d), 9876536);

  TaxDecimal huge = TaxDecimal::FromAmount(std::numeric_limits<int64_t>::max());
  huge.MultiplyBy(TaxDecimal::FromAmount(std::numeric_limits<int64_t>::max()));
  EXPECT_TRUE(huge.Overflowed());
}

TEST(TaxDecimalTest, AddAmountLeavesTotalUntouchedOnOverflow) {
  int64_t total = 100;
  EXPECT_TRUE(AddAmount(&total, -250));
  EXPECT_EQ(total, -150);
  total = TaxDecimal::kAddLimit - 10;
  EXPECT_FALSE(AddAmount(&total, 10));
  EXPECT_EQ(total, TaxDecimal::kAddLimit - 10);
}

}  // namespace
}  // namespace ltb::aggregate

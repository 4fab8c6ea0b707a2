#include "report/amount_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace ltb::report {
namespace {

struct RoundingCase {
  int64_t amount;  // yen x 10000
  uint8_t mode;
  int64_t yen;
};

TEST(RoundToYen, FollowsTheThreeModesForPositiveAmounts) {
  const RoundingCase cases[] = {
      {12345675000, 0, 1234568},
      {12345675000, 1, 1234567},
      {12345675000, 2, 1234568},
      {4445, 0, 1},
      {4444, 0, 0},
      {995, 0, 0},
      {25000, 0, 3},
      {24444, 0, 2},
      {1, 2, 1},
      {1, 0, 0},
      {1, 1, 0},
      {19999, 1, 1},
      {10000, 2, 1},
      {4999, 0, 1},
      {4449, 0, 1},
      {4445, 7, 0},
      {0, 0, 0},
      {0, 2, 0},
  };
  for (const RoundingCase& c : cases) {
    EXPECT_EQ(RoundToYen(c.amount, c.mode), c.yen) << c.amount << " mode " << int(c.mode);
  }
}

TEST(RoundToYen, RoundsNegativeAmountsByTheirMagnitude) {
  const RoundingCase cases[] = {
      {-16000, 0, -2}, {-14445, 0, -2}, {-14444, 0, -1},       {-15000, 2, -2},
      {-10001, 2, -2}, {-19000, 1, -1}, {-15000000, 0, -1500}, {-15000, 9, -1},
  };
  for (const RoundingCase& c : cases) {
    EXPECT_EQ(RoundToYen(c.amount, c.mode), c.yen) << c.amount << " mode " << int(c.mode);
  }
  const int64_t lowest = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(RoundToYen(lowest, 2), lowest / 10000 - 1);
}

TEST(FormatAmount, ZeroIsEmptyAndSignsArePrinted) {
  EXPECT_EQ(FormatAmount(0, 0), "");
  EXPECT_EQ(FormatAmount(1, 0), "");  // 0.0001 yen rounds to nothing
  EXPECT_EQ(FormatAmount(1, 2), "1");
  EXPECT_EQ(FormatAmount(-15000000, 0), "-1500");
  EXPECT_EQ(FormatAmount(12345675000, 1), "1234567");
  EXPECT_EQ(FormatAmountWithZero(0, 0), "0");
  EXPECT_EQ(FormatAmountWithZero(-25000, 0), "-3");
}

}  // namespace
}  // namespace ltb::report

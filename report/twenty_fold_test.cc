#include "report/twenty_fold.h"

#include <gtest/gtest.h>

#include <limits>

#include "report/amount_format.h"

namespace ltb::report {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

// Saved values whose twenty-fold in stored units leaves 64 bits are written
// exactly, and small ones round as twenty times the amount would.
TEST(TwentyFold, IsExactInWholeYenForEveryStoredAmount) {
  struct Case {
    int64_t amount;
    uint8_t rounding;
    int64_t yen;
  } cases[] = {
      {10000000, 0, 20000},          // 1000 yen
      {-3, 2, -1},                   // -0.0060 yen, any fraction up
      {-3, 0, 0},                    // rounds away to nothing
      {250, 0, 1},                   // 0.5 yen
      {249, 1, 0},                   // 0.498 yen, cut
      {kMax, 1, 18446744073709551},  // 922337203685477.5807 yen x 20
      {kMax, 0, 18446744073709552},  // ...the 0.6140 yen fraction rounds
      {kMin, 0, -18446744073709552},
      {kMax / 10, 0, 1844674407370955},  // more yen than an amount holds
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwentyFoldYen(c.amount, c.rounding), c.yen) << c.amount;
  }
  EXPECT_EQ(FormatTwentyFold(0, 0), "");
  EXPECT_EQ(FormatTwentyFold(kMax / 10, 0), "1844674407370955");
  // Wherever twenty times the amount fits, the result is that amount's.
  for (int64_t a : {int64_t{1}, int64_t{7499}, int64_t{-12345678}, int64_t{987654321987}}) {
    for (uint8_t mode : {0, 1, 2}) {
      EXPECT_EQ(TwentyFoldYen(a, mode), RoundToYen(a * 20, mode)) << a << " " << int{mode};
    }
  }
}

}  // namespace
}  // namespace ltb::report

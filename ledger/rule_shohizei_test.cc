#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ledger/testing/rule_test_ledger.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

struct Line {
  std::string code;
  long long amount;
  bool operator==(const Line&) const = default;
};

std::vector<Line> Lines(TestLedger& l, int16_t from, int16_t to, long rate, int taxIncluded) {
  auto walker = NewLedgerRuleShohizei(l.db());
  EXPECT_EQ(walker->MoveReady(2, &from, &to, &rate, nullptr, taxIncluded), host::kOk);
  long count = 0;
  EXPECT_EQ(walker->GetSumInfoCount(&count), host::kOk);
  std::vector<Line> out;
  host::StTAXSUMINFO line;
  while (walker->MoveNext(&line) == host::kOk) {
    out.push_back({std::string(line.CodeText()), line.Amount()});
  }
  EXPECT_EQ(static_cast<long>(out.size()), count);
  walker->MoveFinish();
  return out;
}

TEST(RuleShohizei, LinesPerAccountAtOneRateOverOrderedSlots) {
  TestLedger l;
  l.Account(100, 0x40888000);
  l.Account(200, 0x40848000);
  l.Account(400, 1);
  l.Entry(1, {100, 0, 1000, 30, 21, 300, 0}, {400, 0, 1030, 0, 0, 0, 0});
  l.Entry(6, {400, 0, 200, 0, 0, 0, 0}, {100, 0, 200, 6, 25, 300, 0});
  l.Entry(15, {200, 0, 50, 1, 21, 300, 0}, {400, 0, 51, 0, 0, 0, 0});
  l.Entry(18, {200, 0, 70, 2, 21, 300, 0}, {400, 0, 72, 0, 0, 0, 0});
  l.Entry(2, {200, 0, 999, 80, 21, 800, 0}, {400, 0, 1079, 0, 0, 0, 0});

  // Slots 1..12: the interim closing is inside, the year-end closing not.
  EXPECT_EQ(Lines(l, 1, 12, 300, 0), (std::vector<Line>{{"100", 800}, {"200", 50}}));
  // 1..18 takes in the year end; tax included adds the tax.
  EXPECT_EQ(Lines(l, 1, 18, 300, 1), (std::vector<Line>{{"100", 824}, {"200", 123}}));
  EXPECT_EQ(Lines(l, 7, 12, 300, 0), std::vector<Line>{});
  EXPECT_EQ(Lines(l, 1, 12, 800, 0), (std::vector<Line>{{"200", 999}}));
}

}  // namespace
}  // namespace ltb::ledger

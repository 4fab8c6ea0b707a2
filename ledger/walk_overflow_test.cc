// The summing walks answer an overflow exactly where a walk over the
// entries in entry order would leave the 64-bit range, and the exact sums
// whenever it would not, also when the total alone (or the magnitudes
// alone) would say otherwise.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ledger/testing/rule_test_ledger.h"
#include "ledger/testing/tax_report_blocks.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StTAXREPORTRATEINFO;

constexpr long long kMax = std::numeric_limits<int64_t>::max();

struct Case {
  const char* what;
  std::vector<long long> sales;  // credit amounts of taxable sales at 8%, in entry order
  bool overflows;
  long long total;
};

TEST(SummingWalks, OverflowIsFoundWhereTheWalkInEntryOrderLeavesTheRange) {
  const Case cases[] = {
      {"a partial sum leaves the range, the total comes back", {kMax - 10, 20, -30}, true, 0},
      {"large magnitudes, no partial sum leaves the range", {kMax - 10, -20, 15}, false, kMax - 15},
      {"the largest total, no room to spare", {kMax / 2, kMax / 2, 1}, false, kMax},
      {"the total leaves the range either way", {kMax / 2 + 1, kMax / 2 + 1, 1}, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestLedger l;
    l.Account(135, 0x01010400);
    l.Account(411, 0x40100000, 2);
    for (long long amount : c.sales)
      l.Entry(1, {135, 0, 0, 0, 0, 0, 0}, {411, 0, amount, 0, 1, 800, 1});
    const long want = c.overflows ? host::kSumOverflow : host::kOk;

    TaxReportBlocks report;
    auto tax = NewLedgerRuleShohizeiShinkoku(l.db());
    ASSERT_EQ(tax->SumTax(2, nullptr, report.rates.data(), report.types.data()), want);
    if (!c.overflows) {
      EXPECT_EQ(report.rates[0].I64(StTAXREPORTRATEINFO::KAZEIURIAGEZEINUKI), c.total);
      EXPECT_EQ(report.rates[0].I64(StTAXREPORTRATEINFO::KAZEIURIAGEZEIKOMI), c.total);
      EXPECT_EQ(report.types[0].I64(host::StTAXREPORTBUSINESSTYPEINFO::KAZEIURIAGESHUZEINUKI),
                c.total);
    }

    // Tax summary at 8%: debit minus credit, so the credit sales count negative.
    auto summary = NewLedgerRuleShohizei(l.db());
    const int16_t from = 1, to = 12;
    const long rate = 800;
    ASSERT_EQ(summary->MoveReady(2, &from, &to, &rate, nullptr, 1), want);
    host::StTAXSUMINFO line;
    if (!c.overflows) {
      ASSERT_EQ(summary->MoveNext(&line), host::kOk);
      EXPECT_EQ(line.Amount(), -c.total);
    }

    auto accounts = NewLedgerRuleKamoku(l.db());
    ASSERT_EQ(accounts->MoveReady(1, 0, 0, nullptr, nullptr, 0), want);
    host::StKAMOKUSUMINFO sums;
    if (!c.overflows) {
      ASSERT_EQ(accounts->SetMovePos(1), host::kOk);  // 411, after 135
      ASSERT_EQ(accounts->MoveNext(&sums), host::kOk);
      EXPECT_EQ(sums.Credit(1, false), c.total);
      EXPECT_EQ(sums.Credit(1, true), c.total);
    }
  }
}

}  // namespace
}  // namespace ltb::ledger

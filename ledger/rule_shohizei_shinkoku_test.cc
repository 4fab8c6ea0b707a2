#include <gtest/gtest.h>

#include <vector>

#include "ledger/tax_categories.h"
#include "ledger/testing/rule_test_ledger.h"
#include "ledger/testing/tax_report_blocks.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StFINDINFO;
using host::StTAXREPORTBUSINESSTYPEINFO;
using host::StTAXREPORTRATEINFO;

long Sum(TestLedger& l, TaxReportBlocks* out, const StFINDINFO* range = nullptr) {
  auto walker = NewLedgerRuleShohizeiShinkoku(l.db());
  walker->SetCurDataID("D1");
  return walker->SumTax(2, range, out->rates.data(), out->types.data());
}

// One entry per category with the category on its natural side at 8%:
// amount 1000, tax 80. Each field reads the amount, the tax or both.
TEST(SumTax, EveryCategoryReachesItsFieldsOnItsNaturalSide) {
  for (const TaxCategory& c : TaxCategoryTable()) {
    SCOPED_TRACE(static_cast<int>(c.code));
    TestLedger l;
    TestSide taxed{100, 0, 1000, 80, c.code, 800, 3};
    TestSide other{200, 0, 1080, 0, 0, 0, 0};
    if (c.natural == BookSide::kDebit) {
      l.Entry(1, taxed, other);
    } else {
      l.Entry(1, other, taxed);
    }
    TaxReportBlocks report;
    ASSERT_EQ(Sum(l, &report), host::kOk);
    const StTAXREPORTRATEINFO& r8 = report.rates[0];
    if (c.provisional) {
      EXPECT_EQ(std::vector<uint8_t>(r8.bytes + 8, r8.bytes + 496), std::vector<uint8_t>(488, 0));
      continue;
    }
    if (c.rate.excluded) {
      EXPECT_EQ(r8.I64(c.rate.excluded), 1000);
    }
    if (c.rate.tax) {
      EXPECT_EQ(r8.I64(c.rate.tax), 80);
    }
    if (c.rate.included) {
      EXPECT_EQ(r8.I64(c.rate.included), 1080);
    }
    // Business type 3 of the 8% block, and nothing in the 5% block.
    const StTAXREPORTBUSINESSTYPEINFO& bt = report.types[2];
    if (c.businessType.excluded) {
      EXPECT_EQ(bt.I64(c.businessType.excluded), 1000);
      EXPECT_EQ(bt.I64(c.businessType.tax), 80);
      EXPECT_EQ(bt.I64(c.businessType.included), 1080);
    } else {
      EXPECT_EQ(bt.I64(StTAXREPORTBUSINESSTYPEINFO::KAZEIURIAGESHUZEINUKI), 0);
    }
    EXPECT_EQ(report.rates[1].I64(c.rate.excluded ? c.rate.excluded : c.rate.tax), 0);
  }
}

TEST(SumTax, OtherSideSubtractsAndRatesPickTheirBlock) {
  TestLedger l;
  // Taxable sales: credit 10000/800 at 8% type 1, a debit correction of
  // 3000/240, and a 5% sale of 2000/100 type 2.
  l.Entry(1, {100, 0, 10800, 0, 0, 0, 0}, {400, 0, 10000, 800, 1, 800, 1});
  l.Entry(2, {400, 0, 3000, 240, 1, 800, 1}, {100, 0, 3240, 0, 0, 0, 0});
  l.Entry(3, {100, 0, 2100, 0, 0, 0, 0}, {400, 0, 2000, 100, 1, 500, 2});
  // A purchase return booked on the debit side reduces the returns.
  l.Entry(3, {500, 0, 700, 56, 25, 800, 0}, {100, 0, 756, 0, 0, 0, 0});
  // A side at 10% (no block) and an out-of-scope side add nothing.
  l.Entry(4, {100, 0, 1100, 0, 0, 0, 0}, {400, 0, 1000, 100, 1, 1000, 1});
  TaxReportBlocks report;
  ASSERT_EQ(Sum(l, &report), host::kOk);
  using R = StTAXREPORTRATEINFO;
  using B = StTAXREPORTBUSINESSTYPEINFO;
  EXPECT_EQ(report.rates[0].I64(R::KAZEIURIAGEZEINUKI), 7000);
  EXPECT_EQ(report.rates[0].I64(R::KAZEIURIAGEZEIGAKU), 560);
  EXPECT_EQ(report.rates[0].I64(R::KAZEIURIAGEZEIKOMI), 7560);
  EXPECT_EQ(report.rates[0].I64(R::SHIIREHENKANKAZEIZEINUKI), -700);
  EXPECT_EQ(report.rates[1].I64(R::KAZEIURIAGEZEINUKI), 2000);
  EXPECT_EQ(report.types[0].I64(B::KAZEIURIAGESHUZEINUKI), 7000);  // 8%, type 1
  EXPECT_EQ(report.types[7].I64(B::KAZEIURIAGESHUZEIKOMI), 2100);  // 5%, type 2
  EXPECT_EQ(report.types[6].I64(B::KAZEIURIAGESHUZEINUKI), 0);     // 5%, type 1
  // Rate codes and business types set by the caller stay as they were.
  EXPECT_EQ(report.rates[2].Rate(), 300);
  EXPECT_EQ(report.types[17].Type(), 6);
}

TEST(SumTax, OnlyEntriesInTheRangeCount) {
  TestLedger l;
  l.Entry(6, {100, 0, 1080, 0, 0, 0, 0}, {400, 0, 1000, 80, 1, 800, 1});
  l.Entry(15, {100, 0, 540, 0, 0, 0, 0}, {400, 0, 500, 40, 1, 800, 1});
  l.Entry(7, {100, 0, 216, 0, 0, 0, 0}, {400, 0, 200, 16, 1, 800, 1});
  StFINDINFO range[] = {
      host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, 2, 1, StFINDINFO::kAnd),
      host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost, 2, 6, StFINDINFO::kOr),
      host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kEqual, 2, 15, StFINDINFO::kLast)};
  TaxReportBlocks report;
  ASSERT_EQ(Sum(l, &report, range), host::kOk);
  EXPECT_EQ(report.rates[0].I64(StTAXREPORTRATEINFO::KAZEIURIAGEZEINUKI), 1500);
}

TEST(SumTax, RefusesSumsBeyondTheAmountRangeAndUnknownDatasets) {
  TestLedger l;
  const long long big = 9'000'000'000'000'000'000LL;
  l.Entry(1, {100, 0, big, 0, 0, 0, 0}, {400, 0, big, 0, 1, 800, 1});
  l.Entry(2, {100, 0, big, 0, 0, 0, 0}, {400, 0, big, 0, 1, 800, 1});
  TaxReportBlocks report;
  EXPECT_NE(Sum(l, &report), host::kOk);

  auto walker = NewLedgerRuleShohizeiShinkoku(l.db());
  walker->SetCurDataID("NOPE");
  EXPECT_NE(walker->SumTax(2, nullptr, report.rates.data(), report.types.data()), host::kOk);
}

}  // namespace
}  // namespace ltb::ledger

#include "aggregate/add_tax.h"

#include <gtest/gtest.h>

#include "aggregate/testing/month_condition.h"
#include "host/testing/fake_host.h"

namespace ltb::aggregate {
namespace {

using testing::FakeHost;
using testing::MakeAccount;
using testing::MakeTaxSumLine;
using Rate = host::StTAXREPORTRATEINFO;

class AddTaxTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::SetMonthCondition(engine.FindCondition(), 1, 12, 18); }
  FakeHost host;
  AddTax engine{host, nullptr};
  TaxTotals totals;
};

TEST_F(AddTaxTest, TaxReportSetsRateCodesAndMultipliesSecuritiesOfAllButLastBlock) {
  totals.Allocate(3);
  host.fillTaxReport = [](Rate* rates, host::StTAXREPORTBUSINESSTYPEINFO* types, long n) {
    // The host sees the codes the engine wrote beforehand.
    EXPECT_EQ(rates[1].Rate(), 500);
    EXPECT_EQ(types[6 * 2 + 5].Rate(), 300);
    EXPECT_EQ(types[6 * 2 + 5].Type(), 6);
    for (long r = 0; r < n; ++r) {
      rates[r].SetAmount(Rate::HIKAZEIURIAGEYUUKAZEINUKI, 12345 + r);
      rates[r].SetAmount(Rate::KAZEIURIAGEZEINUKI, 70000);
    }
  };
  engine.SetFilingClass(2);
  EXPECT_EQ(engine.CollectTaxReport(totals), 1);
  EXPECT_EQ(host.lastFilingClass, 2);
  EXPECT_EQ(totals.RateInfo[0].Rate(), 800);
  EXPECT_EQ(totals.RateInfo[2].Rate(), 300);
  EXPECT_EQ(totals.RateInfo[0].Amount(Rate::HIKAZEIURIAGEYUUKAZEINUKI), 12345 * 20);
  EXPECT_EQ(totals.RateInfo[1].Amount(Rate::HIKAZEIURIAGEYUUKAZEINUKI), 12346 * 20);
  EXPECT_EQ(totals.RateInfo[2].Amount(Rate::HIKAZEIURIAGEYUUKAZEINUKI), 12347);
  EXPECT_EQ(totals.RateInfo[0].Amount(Rate::KAZEIURIAGEZEINUKI), 70000);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(totals.BusinessTypeInfo[i].Type(), i % 6 + 1);
  EXPECT_EQ(totals.BusinessTypeInfo[6].Rate(), 500);
  // The walker is kept for later calls, not created again.
  EXPECT_EQ(engine.CollectTaxReport(totals), 1);
  EXPECT_EQ(host.walkersCreated, 1);
}

TEST_F(AddTaxTest, TaxReportStaysInsideArraysForUnusualRateCounts) {
  // Two rates: only two blocks are coded and only the first is multiplied.
  host.taxRateCount = 2;
  totals.Allocate(2);
  host.fillTaxReport = [](Rate* rates, host::StTAXREPORTBUSINESSTYPEINFO*, long n) {
    for (long r = 0; r < n; ++r) rates[r].SetAmount(Rate::HIKAZEIURIAGEYUUKAZEINUKI, 1);
  };
  EXPECT_EQ(engine.CollectTaxReport(totals), 1);
  EXPECT_EQ(totals.RateInfo[1].Rate(), 500);
  EXPECT_EQ(totals.RateInfo[2].Rate(), 0);
  EXPECT_EQ(totals.RateInfo[0].Amount(Rate::HIKAZEIURIAGEYUUKAZEINUKI), 20);
  EXPECT_EQ(totals.RateInfo[1].Amount(Rate::HIKAZEIURIAGEYUUKAZEINUKI), 1);

  // More rates than blocks allocated: refused before the host could write.
  TaxTotals small;
  small.Allocate(3);
  host.taxRateCount = 4;
  EXPECT_EQ(engine.CollectTaxReport(small), 0);
  TaxTotals none;
  EXPECT_EQ(engine.CollectTaxReport(none), 0);

  host.hasTaxSettingsSet = false;
  EXPECT_EQ(engine.CollectTaxReport(totals), 0);
}

TEST_F(AddTaxTest, TaxReportOverflowIsReportedNotWrapped) {
  totals.Allocate(3);
  host.fillTaxReport = [](Rate* rates, host::StTAXREPORTBUSINESSTYPEINFO*, long) {
    rates[0].SetAmount(Rate::HIKAZEIURIAGEYUUKAZEINUKI, INT64_MAX / 10);
  };
  EXPECT_EQ(engine.CollectTaxReport(totals), 0);
  EXPECT_TRUE(engine.Overflowed());
}

TEST_F(AddTaxTest, AccountListTakesFilterCodesAndSkipsExcludedAccounts) {
  host.accounts = {MakeAccount(100, 0x40888000), MakeAccount(101, 0x40848000, 1),
                   MakeAccount(102, 0x40884400), MakeAccount(103, 0x40848000)};
  EXPECT_EQ(engine.BuildAccountList(1), 1);
  ASSERT_EQ(engine.Accounts().size(), 2u);
  EXPECT_EQ(engine.Accounts()[0].Code(), 100);
  EXPECT_EQ(engine.Accounts()[1].Code(), 103);
  EXPECT_EQ(engine.Progress().ActivityTick(), 10);

  EXPECT_EQ(engine.BuildAccountList(2), 1);
  ASSERT_EQ(engine.Accounts().size(), 1u);
  EXPECT_EQ(engine.Accounts()[0].Code(), 102);

  // Filter 3 has the individual non-operating code that filter 2 lacks.
  host.accounts = {MakeAccount(200, 0x40844080)};
  EXPECT_EQ(engine.BuildAccountList(2), 1);
  EXPECT_TRUE(engine.Accounts().empty());
  EXPECT_EQ(engine.BuildAccountList(3), 1);
  EXPECT_EQ(engine.Accounts().size(), 1u);
}

TEST_F(AddTaxTest, OldRateSumAddsMatchingLinesOverTheYearEndRange) {
  host.accounts = {MakeAccount(100, 0x40888000), MakeAccount(101, 0x40848000),
                   MakeAccount(102, 0x40848000, 1)};
  host.taxSumLines = {{MakeTaxSumLine("100", 30000), 300},
                      {MakeTaxSumLine("101", 5000), 300},
                      {MakeTaxSumLine("102", 7000), 300},    // excluded account
                      {MakeTaxSumLine("999", 9000), 300},    // no listed account
                      {MakeTaxSumLine("100", 40000), 800}};  // another rate
  host.taxSettings.SetU8(5, 1);
  int64_t sum = 0;
  EXPECT_EQ(engine.SumOldRates(&sum, host.taxSettings), 1);
  EXPECT_EQ(sum, 35000);
  ASSERT_EQ(host.taxSumReadies.size(), 1u);
  EXPECT_EQ(host.taxSumReadies[0].from, 1);
  EXPECT_EQ(host.taxSumReadies[0].to, 18);  // the extra slot, not 12
  EXPECT_EQ(host.taxSumReadies[0].rate, 300);
  EXPECT_EQ(host.taxSumReadies[0].taxIncluded, 1);
}

TEST_F(AddTaxTest, OldRateSumWithoutClosingAsksForTheEndSlotAndSkipsFailedLines) {
  testing::SetMonthCondition(engine.FindCondition(), 2, 5);
  host.accounts = {MakeAccount(100, 0x40888000), MakeAccount(100, 0x40848000)};
  host.taxSumLines = {{MakeTaxSumLine("100", 1), 300}, {MakeTaxSumLine("100", 10), 300}};
  host.taxSumFailAt = 0;
  int64_t sum = 0;
  EXPECT_EQ(engine.SumOldRates(&sum, host.taxSettings), 1);
  // Two listed accounts share the code: each adds the line.
  EXPECT_EQ(sum, 20);
  EXPECT_EQ(host.taxSumReadies[0].to, 5);

  host.cannotCreate = {"Shohizei"};
  AddTax other(host, nullptr);
  EXPECT_EQ(other.SumOldRates(&sum, host.taxSettings), 0);
}

}  // namespace
}  // namespace ltb::aggregate

#include <gtest/gtest.h>

#include "aggregate/add_tax.h"
#include "aggregate/testing/month_condition.h"
#include "host/testing/fake_host.h"

namespace ltb::aggregate {
namespace {

using testing::FakeHost;
using testing::FakeJournalEntry;
using testing::JournalSide;
using testing::MakeAccount;
using testing::MakeAccountSums;
using testing::MakeAsset;
using testing::MakeEntry;
using testing::SetSlot;

constexpr int32_t kGoods = 0x40884400, kGoodsDetail = 0x20200000, kSelling = 0x40882000,
                  kNonOperating = 0x40844000, kOtherLoss = 0x40440000;

class CorporatePurchasesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.dataset.SetU8(host::StDATAINFO::kEntityKindOff, 1);
    host.dataset.SetI32(host::StDATAINFO::kPeriodStartOff, 20150401);
    testing::SetMonthCondition(engine.FindCondition(), 1, 12, 18);
    // April 2015 to March 2016; every month ends on the 28th for simplicity.
    for (int m = 1; m <= 12; ++m) {
      const long month = 20150001 + ((m + 2) % 12 + 1) * 100 + (m >= 10 ? 10000 : 0);
      host.slotDates[m] = {month, month + 27};
    }
  }
  int Run() { return engine.SumCorporatePurchases(totals, host.dataset, host.taxSettings); }
  void AddJournal(const JournalSide& d, const JournalSide& c, int month = 5) {
    host.journal.push_back(FakeJournalEntry{MakeEntry(d, c), month});
  }

  FakeHost host;
  AddTax engine{host, nullptr};
  TaxTotals totals;
};

TEST_F(CorporatePurchasesTest, AccountSumsSettleByClassCodeAndSummaryFlag) {
  auto sums = [](int32_t code, uint8_t summary, int64_t debit) {
    auto s = MakeAccountSums(code, summary, /*balanceSide=*/2);
    SetSlot(&s, 3, debit, 1);
    return s;
  };
  auto& list = host.accountSums[0];
  list = {sums(kGoods, 1, 1000),        // summary line of goods: counts
          sums(kGoods, 0, 2000),        // its detail twin does not
          sums(kGoodsDetail, 0, 400),   // goods detail: counts
          sums(kGoodsDetail, 1, 8000),  // as a summary line it does not
          sums(kSelling, 1, 30),       sums(kNonOperating, 1, 50),
          sums(kOtherLoss, 1, 70),     sums(kSelling, 0, 90000)};
  auto excludedA = sums(kGoods, 1, 5);
  excludedA.SetU8(host::StKAMOKUSUMINFO::kExclusionAOff, 1);
  auto excludedB = sums(kGoods, 1, 6);
  excludedB.SetU8(host::StKAMOKUSUMINFO::kExclusionBOff, 1);
  list.push_back(excludedA);
  list.push_back(excludedB);

  EXPECT_EQ(Run(), 1);
  // debit - credit whatever the balance side
  EXPECT_EQ(totals.SHOHINSHIIRE.Settled, 999 + 399);
  EXPECT_EQ(totals.HANBAIIPPAN.Settled, 29);
  EXPECT_EQ(totals.EIGYOGAIHIYOU.Settled, 49);
  EXPECT_EQ(totals.SONOTASONEKI.Settled, 69);
}

TEST_F(CorporatePurchasesTest, SettlementTakesClosingAndInterimSlots) {
  auto s = MakeAccountSums(kGoods, 1);
  SetSlot(&s, 0, 1000000, 0);  // opening slot: never in the range
  SetSlot(&s, 2, 100, 0);
  SetSlot(&s, 6, 20, 0);
  SetSlot(&s, 7, 3000, 0);
  SetSlot(&s, 13, 4, 0);      // year-end closing
  SetSlot(&s, 14, 50000, 0);  // interim closing
  host.accountSums[0] = {s};

  testing::SetMonthCondition(engine.FindCondition(), 2, 6, 15);
  host.dataset.SetI32(host::StDATAINFO::kInterimFlagOff, 1);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.SHOHINSHIIRE.Settled, 50120);

  TaxTotals yearEnd;
  host.dataset.SetI32(host::StDATAINFO::kInterimFlagOff, 0);
  testing::SetMonthCondition(engine.FindCondition(), 7, 12, 18);
  EXPECT_EQ(engine.SumCorporatePurchases(yearEnd, host.dataset, host.taxSettings), 1);
  EXPECT_EQ(yearEnd.SHOHINSHIIRE.Settled, 3004);

  // Tax-included books read the tax-included arrays.
  TaxTotals included;
  SetSlot(&host.accountSums[0][0], 8, 77, 7, /*taxIncluded=*/true);
  host.taxSettings.SetU8(5, 1);
  EXPECT_EQ(engine.SumCorporatePurchases(included, host.dataset, host.taxSettings), 1);
  EXPECT_EQ(included.SHOHINSHIIRE.Settled, 70);
}

TEST_F(CorporatePurchasesTest, SlotsOutsideTheRecordAreNeverRead) {
  auto s = MakeAccountSums(kGoods, 1);
  SetSlot(&s, 14, 9, 0);
  host.accountSums[0] = {s};
  // A condition reaching slot 14 with year-end closing would ask for slot 15.
  testing::SetMonthCondition(engine.FindCondition(), 13, 14, 18);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.SHOHINSHIIRE.Settled, 9);
  testing::SetMonthCondition(engine.FindCondition(), -3, 40, 18);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.SHOHINSHIIRE.Settled, 18);
}

TEST_F(CorporatePurchasesTest, JournalCountsOnlyCategoriesThatAreNotTaxablePurchases) {
  host.accounts = {MakeAccount(10, kGoodsDetail), MakeAccount(20, kSelling),
                   MakeAccount(30, kNonOperating), MakeAccount(40, 0x40440040),
                   MakeAccount(99, 0x10000000)};
  // Debit side of account 10 with each category; credit side a bank account.
  for (uint8_t category : {20, 21, 22, 23, 24, 25, 29, 30, 33}) {
    AddJournal({10, 1000 + category, category}, {90, 1000 + category, 0});
  }
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.SHOHINSHIIRE.NonTaxable, 1020 + 1024 + 1030 + 1033);
  EXPECT_EQ(totals.HANBAIIPPAN.NonTaxable, 0);
}

TEST_F(CorporatePurchasesTest, CreditSidesSubtractAndBothSidesCount) {
  host.accounts = {MakeAccount(20, kSelling), MakeAccount(30, kNonOperating),
                   MakeAccount(40, 0x40440040)};
  AddJournal({20, 500, 24}, {90, 500, 10});       // debit adds
  AddJournal({90, 70, 10}, {30, 70, 40});         // credit subtracts
  AddJournal({40, 900, 50}, {40, 300, 24});       // both sides of one entry
  AddJournal({40, 1, 22}, {40, 2, 22});           // taxable on both sides: nothing
  AddJournal({20, 5000, 24}, {90, 5000, 0}, 18);  // year-end closing entry
  AddJournal({20, 7000, 24}, {90, 7000, 0}, 15);  // outside the range
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.HANBAIIPPAN.NonTaxable, 5500);
  EXPECT_EQ(totals.EIGYOGAIHIYOU.NonTaxable, -70);
  EXPECT_EQ(totals.SONOTASONEKI.NonTaxable, 600);
}

TEST_F(CorporatePurchasesTest, TaxIncludedBooksAddTheTaxToTheSideAmount) {
  host.accounts = {MakeAccount(10, kGoodsDetail)};
  AddJournal({10, 1000, 30, 0, 80}, {90, 1080, 0});
  host.taxSettings.SetU8(5, 1);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.SHOHINSHIIRE.NonTaxable, 1080);
}

TEST_F(CorporatePurchasesTest, AssetsInTheRangeSplitIntoFixedAndDeferred) {
  // The first slot starts before the period: the range is raised to it.
  host.slotDates[1] = {20150301, 20150430};
  host.assets = {{MakeAsset(1, 100000), 20150310},  // before the period start
                 {MakeAsset(1, 200000), 20150401},
                 {MakeAsset(9, 30000), 20160301},  // deferred asset
                 {MakeAsset(2, 4000), 20160328},
                 {MakeAsset(2, 500), 20160329}};  // after the last slot
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.KOTEISHISAN, 204000);
  EXPECT_EQ(totals.KURINOBESHISAN, 30000);
  ASSERT_EQ(host.assetDateRanges.size(), 1u);
  EXPECT_EQ(host.assetDateRanges[0], (std::pair<long, long>{20150401, 20160328}));
}

TEST_F(CorporatePurchasesTest, EndDateFallsBackToTheYearEndSlot) {
  testing::SetMonthCondition(engine.FindCondition(), 1, 13, 18);  // no dates for 13
  host.slotDates[18] = {20160331, 20160331};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(host.assetDateRanges[0].second, 20160331);
}

TEST_F(CorporatePurchasesTest, OtherEntityKindsAreLeftAlone) {
  host.accounts = {MakeAccount(10, kGoodsDetail)};
  AddJournal({10, 1000, 30}, {90, 1000, 0});
  host.dataset.SetU8(host::StDATAINFO::kEntityKindOff, 2);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(engine.SumIndividualPurchases(totals, host.dataset, host.taxSettings), 1);
  EXPECT_EQ(totals.SHOHINSHIIRE.NonTaxable, 0);
  EXPECT_EQ(host.walkersCreated, 0);
}

TEST_F(CorporatePurchasesTest, JournalFailureStopsBeforeTheAssets) {
  host.accounts = {MakeAccount(10, kGoodsDetail)};
  AddJournal({10, 1, 30}, {90, 1, 0});
  AddJournal({10, 2, 30}, {90, 2, 0});
  host.journalFailAt = 1;
  host.assets = {{MakeAsset(1, 100), 20150501}};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(totals.SHOHINSHIIRE.NonTaxable, 1);  // what came before stays
  EXPECT_EQ(totals.KOTEISHISAN, 0);
  EXPECT_FALSE(engine.Overflowed());
}

TEST_F(CorporatePurchasesTest, OverflowingJournalSumEndsTheOperation) {
  host.accounts = {MakeAccount(10, kGoodsDetail)};
  AddJournal({10, TaxDecimal::kAddLimit - 1, 30}, {90, 0, 0});
  AddJournal({10, 1, 30}, {90, 0, 0});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(engine.Overflowed());
  EXPECT_EQ(totals.SHOHINSHIIRE.NonTaxable, TaxDecimal::kAddLimit - 1);
}

}  // namespace
}  // namespace ltb::aggregate

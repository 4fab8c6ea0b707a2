#include <gtest/gtest.h>

#include <algorithm>

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
using testing::MakeDepartment;
using testing::MakeEntry;
using testing::SetSlot;

constexpr int32_t kPurchase = 0x20400000, kExpense = 0x40882000,
                  kIndividualNonOperating = 0x40844080;

host::StKAMOKUSUMINFO Sums(int32_t code, int64_t debit, int64_t credit, uint8_t side = 1) {
  auto s = MakeAccountSums(code, 0, side);
  SetSlot(&s, 4, debit, credit);
  return s;
}

class IndividualPurchasesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.dataset.SetU8(host::StDATAINFO::kEntityKindOff, 3);
    testing::SetMonthCondition(engine.FindCondition(), 1, 12, 18);
    host.slotDates[1] = {20150101, 20150131};
    host.slotDates[12] = {20151201, 20151231};
  }
  void Mode(uint8_t mode) { host.dataset.SetU8(host::StDATAINFO::kIncomeModeOff, mode); }
  int Run() { return engine.SumIndividualPurchases(totals, host.dataset, host.taxSettings); }

  FakeHost host;
  AddTax engine{host, nullptr};
  TaxTotals totals;
};

TEST_F(IndividualPurchasesTest, BusinessOnlyModeFillsOnlyBusinessLines) {
  Mode(1);
  auto summary = Sums(kPurchase, 99999, 0);
  summary.SetU8(host::StKAMOKUSUMINFO::kSummaryLineOff, 1);
  auto excluded = Sums(kExpense, 88888, 0);
  excluded.SetU8(host::StKAMOKUSUMINFO::kExclusionAOff, 2);
  host.accountSums[0] = {Sums(kPurchase, 500, 100, 1),  // debit - credit
                         Sums(kPurchase, 500, 100, 2),  // also debit - credit
                         Sums(kExpense, 30, 10, 0),     // other side: credit - debit
                         Sums(kIndividualNonOperating, 7, 0), summary, excluded};
  host.assets = {{MakeAsset(1, 1000, 2), 20150601}, {MakeAsset(1, 20, 1), 20150701}};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.JIGYOSHIIRE.Settled, 800);
  EXPECT_EQ(totals.JIGYOHITSUYOU.Settled, -20 + 7);
  EXPECT_EQ(totals.JIGYOKOTEISHISAN.Settled, 1020);
  EXPECT_EQ(totals.FUDOUSANHITSUYOU.Settled, 0);
  EXPECT_EQ(totals.SONOTASHIIRE.Settled, 0);
  EXPECT_EQ(totals.SONOTAHITSUYOU.Settled, 0);
  EXPECT_EQ(totals.FUDOUSANKOTEISHISAN.Settled, 0);
  EXPECT_EQ(totals.SONOTAKOTEISHISAN.Settled, 0);
}

TEST_F(IndividualPurchasesTest, RealEstateOnlyModeFillsOnlyRealEstateLines) {
  Mode(2);
  host.accountSums[0] = {Sums(kPurchase, 500, 0), Sums(kExpense, 40, 0)};
  host.accounts = {MakeAccount(10, kPurchase), MakeAccount(20, kExpense)};
  host.journal = {{MakeEntry({10, 3, 30}, {90, 3, 0}), 2}, {MakeEntry({20, 5, 30}, {90, 5, 0}), 2}};
  host.assets = {{MakeAsset(1, 1000, 1), 20150601}};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.FUDOUSANHITSUYOU.Settled, 40);
  EXPECT_EQ(totals.FUDOUSANHITSUYOU.NonTaxable, 5);
  EXPECT_EQ(totals.FUDOUSANKOTEISHISAN.Settled, 1000);
  EXPECT_EQ(totals.JIGYOSHIIRE.Settled, 0);
  EXPECT_EQ(totals.JIGYOSHIIRE.NonTaxable, 0);
  EXPECT_EQ(totals.SONOTASHIIRE.Settled, 0);
  EXPECT_EQ(totals.JIGYOKOTEISHISAN.Settled, 0);
}

TEST_F(IndividualPurchasesTest, ByDepartmentModeRoutesEachDepartmentsSums) {
  Mode(3);
  host.departments = {MakeDepartment(1, 0, 0, 1),   // business income
                      MakeDepartment(2, 0, 0, 3),   // real-estate income
                      MakeDepartment(3, 1, 0, 3),   // kind 1 without link: business (+ real estate)
                      MakeDepartment(4, 1, 7, 1),   // kind 1 with link: other (+ business)
                      MakeDepartment(5, 2, 0, 2)};  // other income
  host.accountSums[1] = {Sums(kExpense, 1, 0)};
  host.accountSums[2] = {Sums(kExpense, 10, 0)};
  host.accountSums[3] = {Sums(kExpense, 100, 0)};
  host.accountSums[4] = {Sums(kExpense, 1000, 0)};
  host.accountSums[5] = {Sums(kExpense, 10000, 0), Sums(kPurchase, 5, 0)};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.JIGYOHITSUYOU.Settled, 1 + 100 + 1000);
  EXPECT_EQ(totals.FUDOUSANHITSUYOU.Settled, 10 + 100);
  EXPECT_EQ(totals.SONOTAHITSUYOU.Settled, 1000 + 10000);
  EXPECT_EQ(totals.SONOTASHIIRE.Settled, 5);
  EXPECT_EQ(host.kamokuDepartmentTypes, (std::vector<int>{0, 0, 4, 4, 4}));
  // One walker per department, each finished and deleted; only the kept
  // journal walker remains.
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "Kamoku.MoveFinish"), 5);
  EXPECT_EQ(host.liveWalkers, 1);
}

TEST_F(IndividualPurchasesTest, FailingDepartmentWalkEndsOnlyTheDepartmentPhase) {
  Mode(3);
  host.departments = {MakeDepartment(1, 0, 0, 1), MakeDepartment(2, 0, 0, 1)};
  host.accountSums[1] = {Sums(kExpense, 1, 0)};
  host.accountSums[2] = {Sums(kExpense, 10, 0)};
  host.failingDepartmentWalks = {1};
  host.accounts = {MakeAccount(20, kExpense)};
  host.journal = {{MakeEntry({20, 5, 30, 2}, {90, 5, 0}), 3}};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.JIGYOHITSUYOU.Settled, 0);  // walk of department 2 never ran
  EXPECT_EQ(totals.JIGYOHITSUYOU.NonTaxable, 5);
  EXPECT_EQ(host.openDepartmentCursors, 0);
}

TEST_F(IndividualPurchasesTest, JournalSideOfUnknownDepartmentHasNoDepartment) {
  Mode(3);
  host.departments = {MakeDepartment(2, 0, 0, 3)};  // real estate
  host.accounts = {MakeAccount(20, kExpense)};
  host.journal = {// Known department: real estate.
                  {MakeEntry({20, 100, 30, 2}, {90, 100, 0}), 3},
                  // Unknown department right after: routed as without a department
                  // (business), not by the record of the previous lookup.
                  {MakeEntry({20, 7, 30, 55}, {90, 7, 0}), 3},
                  // Credit side subtracts, taxable category ignored.
                  {MakeEntry({90, 40, 0}, {20, 40, 24, 2}), 4},
                  {MakeEntry({20, 9, 22, 2}, {90, 9, 0}), 4}};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.FUDOUSANHITSUYOU.NonTaxable, 100 - 40);
  EXPECT_EQ(totals.JIGYOHITSUYOU.NonTaxable, 7);
  EXPECT_EQ(totals.SONOTAHITSUYOU.NonTaxable, 0);
  EXPECT_EQ(host.openDepartmentCursors, 0);  // the journal phase releases its cursor
}

TEST_F(IndividualPurchasesTest, AssetsFollowIncomeTypeInByDepartmentMode) {
  Mode(3);
  host.assets = {{MakeAsset(1, 1000, 1), 20150301},
                 {MakeAsset(1, 200, 2), 20150401},
                 {MakeAsset(9, 30, 0), 20150501},  // neither income type
                 {MakeAsset(1, 4, 1), 20160101}};  // after the range
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(totals.JIGYOKOTEISHISAN.Settled, 1000);
  EXPECT_EQ(totals.FUDOUSANKOTEISHISAN.Settled, 200);
  EXPECT_EQ(host.assetDateRanges[0], (std::pair<long, long>{20150101, 20151231}));
}

TEST_F(IndividualPurchasesTest, FailuresOfJournalAndAssetPhasesAreReported) {
  Mode(1);
  host.accounts = {MakeAccount(20, kExpense)};
  host.journal = {{MakeEntry({20, 5, 30}, {90, 5, 0}), 3}};
  host.journalFailAt = 0;
  host.assets = {{MakeAsset(1, 1000, 1), 20150301}};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(totals.JIGYOKOTEISHISAN.Settled, 0);  // asset phase did not run

  TaxTotals second;
  FakeHost other;
  other.dataset = host.dataset;
  other.slotDates = host.slotDates;
  other.assets = {{MakeAsset(1, 1000, 1), 20150301}, {MakeAsset(1, 20, 1), 20150302}};
  other.assetFailAt = 1;
  AddTax engine2(other, nullptr);
  testing::SetMonthCondition(engine2.FindCondition(), 1, 12, 18);
  EXPECT_EQ(engine2.SumIndividualPurchases(second, other.dataset, other.taxSettings), 0);
  EXPECT_EQ(second.JIGYOKOTEISHISAN.Settled, 1000);

  // A journal walker the host cannot create is a failure, not an empty journal.
  FakeHost third;
  third.dataset = host.dataset;
  third.cannotCreate = {"Shiwake"};
  AddTax engine3(third, nullptr);
  testing::SetMonthCondition(engine3.FindCondition(), 1, 12, 18);
  TaxTotals t3;
  EXPECT_EQ(engine3.SumIndividualPurchases(t3, third.dataset, third.taxSettings), 0);
}

}  // namespace
}  // namespace ltb::aggregate

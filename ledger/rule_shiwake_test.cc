#include <gtest/gtest.h>

#include "ledger/tax_categories.h"
#include "ledger/testing/rule_test_ledger.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StFINDINFO;
using host::StSWKTINFO;

StFINDINFO Months[2] = {
    host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, 2, 1, StFINDINFO::kAnd),
    host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost, 2, 6, StFINDINFO::kLast)};

class RuleShiwakeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    l.Entry(1, {100, 10, 1000, 80, 21, 800, 1}, {400, 20, 1080, 0, 0, 0, 0});
    l.Entry(3, {100, 0, 200, 10, 24, 500, 0}, {400, 0, 210, 0, 31, 300, 6});
    l.Entry(9, {100, 0, 5, 0, 0, 1000, 6}, {400, 0, 5, 0, 0, 0, 0});
    walker = NewLedgerRuleShiwake(l.db());
  }
  TestLedger l;
  std::unique_ptr<host::ClRuleShiwake> walker;
};

TEST_F(RuleShiwakeTest, CountsAndWalksMatchingEntriesInOrder) {
  long n = -1;
  ASSERT_EQ(walker->GetSwkCount(Months, nullptr, &n), host::kOk);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(walker->MoveReady(Months, nullptr, nullptr, 4), host::kOk);
  StSWKTINFO e;
  ASSERT_EQ(walker->MoveNext(&e), host::kOk);
  EXPECT_EQ(e.Account(StSWKTINFO::kDebitOff), 100);
  EXPECT_EQ(e.Department(StSWKTINFO::kDebitOff), 10);
  EXPECT_EQ(e.AmountExcl(StSWKTINFO::kDebitOff), 1000);
  EXPECT_EQ(e.TaxAmount(StSWKTINFO::kDebitOff), 80);
  EXPECT_EQ(e.Category(StSWKTINFO::kDebitOff), 21);
  EXPECT_EQ(e.Account(StSWKTINFO::kCreditOff), 400);
  EXPECT_EQ(e.Department(StSWKTINFO::kCreditOff), 20);
  ASSERT_EQ(walker->MoveNext(&e), host::kOk);
  EXPECT_EQ(e.Category(StSWKTINFO::kCreditOff), 31);
  EXPECT_EQ(walker->MoveNext(&e), host::kEndOfData);
  // A count asked in the middle of a walk does not disturb it.
  ASSERT_EQ(walker->MoveReady(nullptr, nullptr, nullptr, 4), host::kOk);
  ASSERT_EQ(walker->GetSwkCount(Months, nullptr, &n), host::kOk);
  int walked = 0;
  while (walker->MoveNext(&e) == host::kOk) ++walked;
  EXPECT_EQ(walked, 3);
  EXPECT_EQ(walker->MoveFinish(), host::kOk);
}

TEST_F(RuleShiwakeTest, ExistenceChecksByRateAndBusinessType) {
  long flags = 0;
  ASSERT_EQ(walker->CheckExistSwkByZeiRate(Months, &flags, 1), host::kOk);
  EXPECT_EQ(flags, 1 | 2 | 4);  // 3%, 5%, 8%; the 10% entry is in month 9
  ASSERT_EQ(walker->CheckExistSwkByZeiRate(nullptr, &flags, 1), host::kOk);
  EXPECT_EQ(flags & 8, 8);

  long n = -1;
  ASSERT_EQ(walker->CheckExistSwkByJigyoBunrui(Months, 6, &n), host::kOk);
  EXPECT_EQ(n, 1);  // credit side of the second entry
  ASSERT_EQ(walker->CheckExistSwkByJigyoBunrui(nullptr, 6, &n), host::kOk);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(walker->CheckExistSwkByJigyoBunrui(nullptr, 2, &n), host::kOk);
  EXPECT_EQ(n, 0);
}

// The reduced 8 % of October 2019 is refused with the 10 % entries, never
// taken for the old 8 %.
TEST(RuleShiwakeRateTest, ReducedEightPercentCountsAsANewRate) {
  TestLedger l;
  l.Entry(2, {100, 0, 1000, 80, 21, kRateReduced8, 0}, {400, 0, 1080, 0, 0, 0, 0});
  auto walker = NewLedgerRuleShiwake(l.db());
  long flags = 0;
  ASSERT_EQ(walker->CheckExistSwkByZeiRate(Months, &flags, 1), host::kOk);
  EXPECT_EQ(flags, 8);
}

TEST_F(RuleShiwakeTest, ImportCategoryOnTheCreditSideAloneIsFound) {
  StFINDINFO low[] = {host::MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtLeast, 3, 31,
                                         StFINDINFO::kAnd, 2),
                      host::MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtMost, 3, 33,
                                         StFINDINFO::kLast, 2)};
  StFINDINFO top[] = {host::MakeFindGroup(low, StFINDINFO::kAnd),
                      host::MakeFindGroup(Months, StFINDINFO::kLast)};
  long n = 0;
  ASSERT_EQ(walker->GetSwkCount(top, nullptr, &n), host::kOk);
  EXPECT_EQ(n, 1);
}

TEST_F(RuleShiwakeTest, UnknownDatasetIsAnError) {
  walker->SetCurDataID("NONE");
  long n = 0;
  EXPECT_NE(walker->GetSwkCount(nullptr, nullptr, &n), host::kOk);
  StSWKTINFO e;
  EXPECT_NE(walker->MoveNext(&e), host::kOk);
}

}  // namespace
}  // namespace ltb::ledger

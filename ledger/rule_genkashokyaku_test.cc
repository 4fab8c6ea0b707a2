#include <gtest/gtest.h>

#include "ledger/testing/rule_test_ledger.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StFINDINFO;

TEST(RuleGenkashokyaku, DateRangeSelectsAssetsInclusive) {
  TestLedger l;
  l.Asset(1, 20230331, 1, 111, 1);  // the day before the range
  l.Asset(2, 20230401, 9, 222, 2);  // first day
  l.Asset(3, 20230930, 1, 333, 1);  // last day
  l.Asset(4, 20231001, 1, 444, 1);  // the day after
  StFINDINFO cond[] = {host::MakeFindItem(StFINDINFO::kAssetDate, StFINDINFO::kAtLeast, 3, 20230401,
                                          StFINDINFO::kAnd),
                       host::MakeFindItem(StFINDINFO::kAssetDate, StFINDINFO::kAtMost, 3, 20230930,
                                          StFINDINFO::kLast)};
  auto walker = NewLedgerRuleGenkashokyaku(l.db());
  ASSERT_EQ(walker->MoveReady(cond, 0, 0), host::kOk);
  long n = 0;
  ASSERT_EQ(walker->GetCount(&n), host::kOk);
  ASSERT_EQ(n, 2);

  host::StKOTEISHISANINFO asset;
  host::StKOTEISHISANYEAR year;
  host::StKOTEISHISANMONTH month;
  year.SetU8(5, 7);
  ASSERT_EQ(walker->Move(0, &asset, &year, &month), host::kOk);
  EXPECT_EQ(asset.Kind(), 9);
  EXPECT_EQ(asset.AssetAmount(), 222);
  EXPECT_EQ(asset.IncomeType(), 2);
  EXPECT_EQ(year.U8(5), 0);
  ASSERT_EQ(walker->Move(1, &asset, nullptr, nullptr), host::kOk);
  EXPECT_EQ(asset.AssetAmount(), 333);
  EXPECT_EQ(walker->Move(2, &asset, nullptr, nullptr), host::kEndOfData);
  EXPECT_EQ(walker->Move(-1, &asset, nullptr, nullptr), host::kEndOfData);
  EXPECT_EQ(walker->MoveFinish(), host::kOk);
  EXPECT_NE(walker->Move(0, &asset, nullptr, nullptr), host::kOk);
}

}  // namespace
}  // namespace ltb::ledger

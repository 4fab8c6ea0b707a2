#include <gtest/gtest.h>

#include "ledger/testing/rule_test_ledger.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StFINDINFO;

TEST(SetKamoku, WalkFindReturnsAccountsOfTheListedClassCodes) {
  TestLedger l;
  l.Account(101, 0x40888000);
  l.Account(102, 0x20200000, 1, 0, 0, 0, 1);
  l.Account(103, 0x40848000);
  l.Account(104, 0x20200000);
  auto set = NewLedgerSetKamoku(l.db());
  ASSERT_NE(set, nullptr);

  StFINDINFO cond[] = {host::MakeFindItem(StFINDINFO::kClassCode, StFINDINFO::kEqual, 19,
                                          0x40888000, StFINDINFO::kOr),
                       host::MakeFindItem(StFINDINFO::kClassCode, StFINDINFO::kEqual, 19,
                                          0x20200000, StFINDINFO::kLast)};
  host::Cursor c = 0;
  ASSERT_EQ(set->GetCursor(&c), host::kOk);
  ASSERT_EQ(set->ReadyCursor(c), host::kOk);
  host::StKAMOKUINFO a;
  std::vector<int> codes;
  while (set->WalkFind(cond, &a, c) == host::kOk) {
    codes.push_back(a.Code());
    if (a.Code() == 102) {
      EXPECT_EQ(a.ListExclusion(), 1);
      EXPECT_EQ(a.CodeText(), "102");
      EXPECT_EQ(a.ClassCode(), 0x20200000);
    }
  }
  EXPECT_EQ(codes, (std::vector<int>{101, 102, 104}));
  EXPECT_EQ(set->WalkFind(cond, &a, c), host::kEndOfData);
  EXPECT_EQ(set->ReleaseCursor(c), host::kOk);
  EXPECT_NE(set->WalkFind(cond, &a, c), host::kOk);  // released cursor
  EXPECT_NE(set->WalkFind(cond, &a, c), host::kEndOfData);
}

TEST(SetBumon, CountWalkAndLookupByCode) {
  TestLedger l;
  l.Department(10, 1, 0, 1);
  l.Department(20, 2, 5, 3);
  auto set = NewLedgerSetBumon(l.db());
  ASSERT_NE(set, nullptr);
  long n = 0;
  ASSERT_EQ(set->GetBmnCount(&n, 0), host::kOk);
  EXPECT_EQ(n, 2);

  host::Cursor c = 0;
  ASSERT_EQ(set->GetCursor(&c), host::kOk);
  ASSERT_EQ(set->ReadyCursor(c), host::kOk);
  host::StBUMONINFO d;
  ASSERT_EQ(set->Walk(&d, c), host::kOk);
  EXPECT_EQ(d.Code(), 10);
  ASSERT_EQ(set->Walk(&d, c), host::kOk);
  EXPECT_EQ(d.Kind(), 2);
  EXPECT_EQ(d.LinkField(), 5);
  EXPECT_EQ(d.IncomeType(), 3);
  EXPECT_EQ(set->Walk(&d, c), host::kEndOfData);

  ASSERT_EQ(set->GetInfoByCode(10, &d, c), host::kOk);
  EXPECT_EQ(d.IncomeType(), 1);
  // Not found: non-zero and the record zeroed, not left as the last hit.
  EXPECT_NE(set->GetInfoByCode(15, &d, c), host::kOk);
  EXPECT_EQ(d.Code(), 0);
  EXPECT_EQ(d.Kind(), 0);
  EXPECT_EQ(d.IncomeType(), 0);
  EXPECT_EQ(set->ReleaseCursor(c), host::kOk);
}

}  // namespace
}  // namespace ltb::ledger

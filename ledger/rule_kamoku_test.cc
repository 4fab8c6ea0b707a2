#include <gtest/gtest.h>

#include <vector>

#include "ledger/testing/rule_test_ledger.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StFINDINFO;
using host::StKAMOKUSUMINFO;

std::vector<StKAMOKUSUMINFO> Walk(TestLedger& l, const StFINDINFO* range,
                                  const host::StBUMONINFO* dept, int deptType) {
  auto walker = NewLedgerRuleKamoku(l.db());
  std::vector<StKAMOKUSUMINFO> out;
  EXPECT_EQ(walker->MoveReady(1, deptType, 0, range, dept, 0), host::kOk);
  long count = 0;
  EXPECT_EQ(walker->GetSumCount(&count), host::kOk);
  EXPECT_EQ(walker->SetMovePos(0), host::kOk);
  StKAMOKUSUMINFO rec;
  while (walker->MoveNext(&rec) == host::kOk) out.push_back(rec);
  EXPECT_EQ(static_cast<long>(out.size()), count);
  EXPECT_EQ(walker->MoveNext(&rec), host::kEndOfData);
  EXPECT_EQ(walker->MoveFinish(), host::kOk);
  return out;
}

TEST(RuleKamoku, SlotsPlaceMonthsAndClosingsAndCarryAccountFlags) {
  TestLedger l;
  l.Account(100, 0x20200000, 1, 0, 0, 1, 0);
  l.Account(400, 0x40884400, 2, 1, 1, 0, 0);
  l.Account(900, 0x40440000);  // no movement: still one record
  l.Entry(1, {100, 0, 1000, 80, 21, 800, 0}, {400, 0, 1080, 0, 0, 0, 0});
  l.Entry(6, {100, 0, 500, 0, 0, 0, 0}, {400, 0, 500, 0, 0, 0, 0});
  l.Entry(15, {100, 0, 70, 0, 0, 0, 0}, {400, 0, 70, 0, 0, 0, 0});  // interim closing
  l.Entry(18, {400, 0, 30, 0, 0, 0, 0}, {100, 0, 30, 0, 0, 0, 0});  // year-end closing
  auto recs = Walk(l, nullptr, nullptr, 0);
  ASSERT_EQ(recs.size(), 3u);

  const StKAMOKUSUMINFO& a = recs[0];
  EXPECT_EQ(a.ClassCode(), 0x20200000);
  EXPECT_EQ(a.BalanceSide(), 1);
  EXPECT_EQ(a.ExclusionB(), 1);
  EXPECT_EQ(a.Debit(1, false), 1000);
  EXPECT_EQ(a.Debit(1, true), 1080);
  EXPECT_EQ(a.Debit(6, false), 500);
  EXPECT_EQ(a.Debit(14, false), 70);
  EXPECT_EQ(a.Credit(13, false), 30);
  EXPECT_EQ(a.Debit(0, false), 0);
  EXPECT_EQ(a.Debit(7, false), 0);

  const StKAMOKUSUMINFO& b = recs[1];
  EXPECT_EQ(b.SummaryLine(), 1);
  EXPECT_EQ(b.ExclusionA(), 1);
  EXPECT_EQ(b.BalanceSide(), 2);
  EXPECT_EQ(b.Credit(1, false), 1080);
  EXPECT_EQ(b.Debit(13, true), 30);

  EXPECT_EQ(recs[2].ClassCode(), 0x40440000);
  EXPECT_EQ(recs[2].Debit(1, false), 0);
}

TEST(RuleKamoku, SummaryLinesCarryTheirDetailAccounts) {
  TestLedger l;
  l.Account(500, 0x40882000, 1, 1);  // summary: selling and general expenses
  l.Account(510, 0x40882040);        // details under it
  l.Account(520, 0x40882008);
  l.Account(530, 0x40844000);        // another group: not under 0x40882000
  l.Account(540, 0x40882000, 1, 1);  // a second summary line is not a detail
  l.Account(100, 0x20200000);
  l.Entry(2, {510, 0, 1000, 80, 21, 800, 0}, {100, 0, 1000, 0, 0, 0, 0});
  l.Entry(3, {520, 0, 300, 0, 24, 0, 0}, {100, 0, 300, 0, 0, 0, 0});
  l.Entry(3, {100, 0, 50, 0, 0, 0, 0}, {510, 0, 50, 0, 21, 800, 0});
  l.Entry(4, {530, 0, 700, 0, 0, 0, 0}, {100, 0, 700, 0, 0, 0, 0});
  l.Entry(4, {500, 0, 5, 0, 0, 0, 0}, {100, 0, 5, 0, 0, 0, 0});
  auto recs = Walk(l, nullptr, nullptr, 0);
  ASSERT_EQ(recs.size(), 6u);  // in code order: 100, 500, 510, 520, 530, 540
  const StKAMOKUSUMINFO& summary = recs[1];
  EXPECT_EQ(summary.Debit(2, false), 1000);
  EXPECT_EQ(summary.Debit(2, true), 1080);
  EXPECT_EQ(summary.Debit(3, false), 300);
  EXPECT_EQ(summary.Credit(3, false), 50);
  EXPECT_EQ(summary.Debit(4, false), 5);     // its own booking, without 530
  EXPECT_EQ(recs[2].Debit(2, false), 1000);  // details keep their own sums
  EXPECT_EQ(recs[5].Debit(2, false), 1000);
  EXPECT_EQ(recs[5].Debit(4, false), 0);
}

TEST(RuleKamoku, RangeAndDepartmentRestrictTheSides) {
  TestLedger l;
  l.Account(100, 1);
  l.Account(400, 2);
  l.Department(10, 1, 0, 1);
  l.Department(20, 1, 0, 3);
  l.Entry(2, {100, 10, 300, 0, 0, 0, 0}, {400, 20, 300, 0, 0, 0, 0});
  l.Entry(2, {100, 20, 50, 0, 0, 0, 0}, {400, 10, 50, 0, 0, 0, 0});
  l.Entry(8, {100, 10, 7, 0, 0, 0, 0}, {400, 10, 7, 0, 0, 0, 0});

  host::StBUMONINFO d10;
  d10.SetI32(host::StBUMONINFO::kCodeOff, 10);
  auto dept = Walk(l, nullptr, &d10, 4);
  EXPECT_EQ(dept[0].Debit(2, false), 300);
  EXPECT_EQ(dept[1].Credit(2, false), 50);
  EXPECT_EQ(dept[0].Debit(8, false), 7);

  // Department type other than 4: the department does not restrict.
  auto all = Walk(l, nullptr, &d10, 0);
  EXPECT_EQ(all[0].Debit(2, false), 350);

  StFINDINFO range[] = {
      host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast, 2, 1, StFINDINFO::kAnd),
      host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost, 2, 6, StFINDINFO::kLast)};
  auto firstHalf = Walk(l, range, &d10, 4);
  EXPECT_EQ(firstHalf[0].Debit(2, false), 300);
  EXPECT_EQ(firstHalf[0].Debit(8, false), 0);
}

TEST(RuleKamoku, ReadingBeforeMoveReadyIsRefused) {
  TestLedger l;
  auto walker = NewLedgerRuleKamoku(l.db());
  StKAMOKUSUMINFO rec;
  EXPECT_NE(walker->MoveNext(&rec), host::kOk);
  EXPECT_NE(walker->MoveNext(&rec), host::kEndOfData);
  EXPECT_NE(walker->SetMovePos(0), host::kOk);
  EXPECT_NE(walker->MoveReady(2, 0, 0, nullptr, nullptr, 0), host::kOk);
}

}  // namespace
}  // namespace ltb::ledger

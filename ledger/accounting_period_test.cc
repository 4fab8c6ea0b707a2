#include "ledger/accounting_period.h"

#include <gtest/gtest.h>

#include "ledger/ledger_acc_period.h"

namespace ltb::ledger {
namespace {

TEST(AccountingPeriodTest, AprilToMarchPositionsAndClosings) {
  AccountingPeriod p;
  ASSERT_TRUE(p.Set(20160401, 20170331));
  EXPECT_EQ(p.position_count(), 12);
  AccountingPeriod::Range r;
  ASSERT_TRUE(p.SlotRange(1, &r));
  EXPECT_EQ(r.first, 20160401);
  EXPECT_EQ(r.last, 20160430);
  ASSERT_TRUE(p.SlotRange(11, &r));  // February of a leap-free year
  EXPECT_EQ(r.first, 20170201);
  EXPECT_EQ(r.last, 20170228);
  ASSERT_TRUE(p.SlotRange(15, &r));  // interim closing: end of position 6
  EXPECT_EQ(r.first, 20160930);
  EXPECT_EQ(r.last, 20160930);
  ASSERT_TRUE(p.SlotRange(18, &r));
  EXPECT_EQ(r.first, 20170331);
  EXPECT_FALSE(p.SlotRange(13, &r));
  EXPECT_FALSE(p.SlotRange(0, &r));

  EXPECT_EQ(p.PositionOfDate(20160401), 1);
  EXPECT_EQ(p.PositionOfDate(20161231), 9);
  EXPECT_EQ(p.PositionOfDate(20170101), 10);
  EXPECT_EQ(p.PositionOfDate(20170401), 0);
  EXPECT_EQ(p.PositionOfDate(20160331), 0);
  EXPECT_EQ(p.CalendarMonthOfPosition(12), 3);
  EXPECT_EQ(p.PositionOfCalendarMonth(2), 11);
  EXPECT_EQ(p.PositionOfCalendarMonth(4), 1);
}

TEST(AccountingPeriodTest, CalendarYearAndLeapFebruary) {
  AccountingPeriod p;
  ASSERT_TRUE(p.Set(20160101, 20161231));
  AccountingPeriod::Range r;
  ASSERT_TRUE(p.SlotRange(2, &r));
  EXPECT_EQ(r.last, 20160229);
  ASSERT_TRUE(p.SlotRange(12, &r));
  EXPECT_EQ(r.first, 20161201);
  EXPECT_EQ(r.last, 20161231);
  EXPECT_EQ(p.PositionOfCalendarMonth(12), 12);
}

TEST(AccountingPeriodTest, ShortPeriodAndClosingDay) {
  AccountingPeriod shortYear;
  ASSERT_TRUE(shortYear.Set(20161001, 20170331));
  EXPECT_EQ(shortYear.position_count(), 6);
  AccountingPeriod::Range r;
  EXPECT_TRUE(shortYear.SlotRange(15, &r));  // position 6 exists
  EXPECT_EQ(r.first, 20170331);

  AccountingPeriod twentieth;
  ASSERT_TRUE(twentieth.Set(20160321, 20170320, 20));
  ASSERT_TRUE(twentieth.SlotRange(1, &r));
  EXPECT_EQ(r.first, 20160321);
  EXPECT_EQ(r.last, 20160420);
  EXPECT_EQ(twentieth.CalendarMonthOfPosition(1), 4);
  EXPECT_EQ(twentieth.position_count(), 12);
}

TEST(AccountingPeriodTest, RefusesBrokenPeriods) {
  AccountingPeriod p;
  EXPECT_FALSE(p.Set(20170331, 20160401));  // backwards
  EXPECT_FALSE(p.Set(20160230, 20170331));  // no such day
  EXPECT_FALSE(p.Set(20160401, 20170630));  // fifteen months
  EXPECT_FALSE(p.valid());
  EXPECT_EQ(AccountingPeriod::ClosingDayOfEndDate(20170331), kMonthEndClosing);
  EXPECT_EQ(AccountingPeriod::ClosingDayOfEndDate(20170320), 20);
}

// The host object answers as the program asks: set the period, find the
// closing day from the end date, and number months by calendar month.
TEST(LedgerAccPeriodTest, ProgramSequence) {
  LedgerAccPeriod period;
  long first = 0, last = 0;
  EXPECT_NE(period.GetPeriod(&first, &last), 0);
  ASSERT_EQ(period.SetPeriod(20160401, 20170331), 0);
  int day = 0;
  ASSERT_EQ(period.GetClosingDayByEndDate(20170331, 0, &day), 0);
  ASSERT_EQ(period.SetClosingDay(day), 0);
  int month = 0;
  ASSERT_EQ(period.GetAMonthByDate(20160401, &month, 0), 0);
  EXPECT_EQ(month, 4);
  ASSERT_EQ(period.GetAMonthByDate(20170215, &month, 0), 0);
  EXPECT_EQ(month, 2);
  EXPECT_NE(period.GetAMonthByDate(20170401, &month, 0), 0);
  ASSERT_EQ(period.GetPeriodByAMonth(2, &first, &last, 0), 0);
  EXPECT_EQ(first, 20170201);
  EXPECT_EQ(last, 20170228);
  ASSERT_EQ(period.GetPeriodByMonthKind(18, &first, &last, 0), 0);
  EXPECT_EQ(last, 20170331);
  EXPECT_NE(period.GetPeriodByMonthKind(7 + 12, &first, &last, 0), 0);
}

}  // namespace
}  // namespace ltb::ledger

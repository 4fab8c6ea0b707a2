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

// A period starting on a closing date opens with a one-day position; the
// day after it opens a full one.
TEST(AccountingPeriodTest, FirstPositionOfPeriodsStartingOnAndAfterAClosingDate) {
  const struct {
    long first, last;
    int closingDay;
    long position1Last, position2First;
    int month1, month2;
  } cases[] = {
      {20160331, 20170228, kMonthEndClosing, 20160331, 20160401, 3, 4},
      {20160401, 20170331, kMonthEndClosing, 20160430, 20160501, 4, 5},
      {20160420, 20170320, 20, 20160420, 20160421, 4, 5},
      {20160421, 20170420, 20, 20160520, 20160521, 5, 6},
      {20160229, 20170131, kMonthEndClosing, 20160229, 20160301, 2, 3},
      {20160115, 20161215, 15, 20160115, 20160116, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    AccountingPeriod p;
    ASSERT_TRUE(p.Set(c.first, c.last, c.closingDay));
    AccountingPeriod::Range r;
    ASSERT_TRUE(p.SlotRange(1, &r));
    EXPECT_EQ(r.first, c.first);
    EXPECT_EQ(r.last, c.position1Last);
    ASSERT_TRUE(p.SlotRange(2, &r));
    EXPECT_EQ(r.first, c.position2First);
    EXPECT_EQ(p.CalendarMonthOfPosition(1), c.month1);
    EXPECT_EQ(p.CalendarMonthOfPosition(2), c.month2);
    EXPECT_EQ(p.PositionOfDate(c.position2First), 2);
  }
}

// The program's sequence for a year closing on every day 1..28 and the
// month end: 21 April 2016 to 20 April 2017 style periods, where the
// month-end layout in force when the period is set would need 13 positions.
TEST(LedgerAccPeriodTest, ProgramSequenceForEveryClosingDay) {
  for (int day = 1; day <= kMonthEndClosing; ++day) {
    if (day > 28 && day < kMonthEndClosing) continue;
    SCOPED_TRACE(day);
    const bool monthEnd = day == kMonthEndClosing;
    const long first = monthEnd ? 20160401 : 20160401 + day;
    const long last = monthEnd ? 20170331 : 20170400 + day;
    const long firstClosing = monthEnd ? 20160430 : 20160500 + day;
    const long dayAfter = monthEnd ? 20160501 : firstClosing + 1;
    LedgerAccPeriod period;
    period.SetPeriod(first, last);
    int closingDay = 0;
    ASSERT_EQ(period.GetClosingDayByEndDate(last, 0, &closingDay), 0);
    EXPECT_EQ(closingDay, day);
    ASSERT_EQ(period.SetClosingDay(closingDay), 0);
    int month = 0;
    ASSERT_EQ(period.GetAMonthByDate(first, &month, 0), 0);
    EXPECT_EQ(month, monthEnd ? 4 : 5);
    ASSERT_EQ(period.GetAMonthByDate(firstClosing, &month, 0), 0);
    EXPECT_EQ(month, monthEnd ? 4 : 5);
    ASSERT_EQ(period.GetAMonthByDate(dayAfter, &month, 0), 0);
    EXPECT_EQ(month, monthEnd ? 5 : 6) << "the day after the closing date";
    ASSERT_EQ(period.GetAMonthByDate(last, &month, 0), 0);
    EXPECT_EQ(month, monthEnd ? 3 : 4);
    long from = 0, to = 0;
    ASSERT_EQ(period.GetPeriodByAMonth(monthEnd ? 4 : 5, &from, &to, 0), 0);
    EXPECT_EQ(from, first);
    EXPECT_EQ(to, firstClosing);
    ASSERT_EQ(period.GetPeriodByMonthKind(12, &from, &to, 0), 0);
    EXPECT_EQ(to, last);
    EXPECT_NE(period.GetPeriodByMonthKind(13, &from, &to, 0), 0);
    ASSERT_EQ(period.GetPeriod(&from, &to), 0);
    EXPECT_EQ(from, first);
  }
}

// Mid-month starts keep the month-end layout; a period that needs more
// than twelve positions under every closing day stays refused.
TEST(LedgerAccPeriodTest, MidMonthStartAndAPeriodThatNeverFits) {
  LedgerAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20160415, 20170331), 0);
  long from = 0, to = 0;
  ASSERT_EQ(period.GetPeriodByAMonth(4, &from, &to, 0), 0);
  EXPECT_EQ(from, 20160415);
  EXPECT_EQ(to, 20160430);

  EXPECT_NE(period.SetPeriod(20160410, 20170409), 0);  // 13 month-end positions
  EXPECT_NE(period.GetPeriod(&from, &to), 0);
  ASSERT_EQ(period.SetClosingDay(9), 0);
  int month = 0;
  ASSERT_EQ(period.GetAMonthByDate(20160410, &month, 0), 0);
  EXPECT_EQ(month, 5);
  EXPECT_NE(period.GetAMonthByDate(20170410, &month, 0), 0);

  EXPECT_NE(period.SetPeriod(20160410, 20170420), 0);
  EXPECT_NE(period.SetClosingDay(20), 0);  // still 13 positions
  EXPECT_NE(period.GetPeriod(&from, &to), 0);
}

}  // namespace
}  // namespace ltb::ledger

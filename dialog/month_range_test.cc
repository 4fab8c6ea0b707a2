#include "dialog/month_range.h"

#include <gtest/gtest.h>

namespace ltb::dialog {
namespace {

constexpr auto kOk = MonthRangeFault::kNone;
constexpr auto kStart = MonthRangeFault::kStartMonth;
constexpr auto kEnd = MonthRangeFault::kEndMonth;

struct Case {
  int16_t first, lastCode, start, end;
  MonthRangeFault expected;
};

TEST(MonthRangeTest, RefusesMonthsOutsideTheCalendarWithTheRightField) {
  const Case cases[] = {
      {4, 103, 13, 3, kStart},  {4, 103, 4, 0, kEnd}, {4, 103, 0, 3, kStart},
      {4, 103, -1, 13, kStart}, {1, 12, 1, 13, kEnd},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMonthRange(c.start, c.end, c.first, c.lastCode), c.expected)
        << c.start << "-" << c.end;
  }
}

TEST(MonthRangeTest, AprilToMarchPeriod) {
  const Case cases[] = {
      {4, 103, 4, 3, kOk}, {4, 103, 4, 12, kOk}, {4, 103, 12, 1, kOk}, {4, 103, 1, 3, kOk},
      {4, 103, 3, 3, kOk}, {4, 103, 6, 5, kEnd}, {4, 103, 2, 4, kEnd}, {4, 103, 3, 1, kEnd},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMonthRange(c.start, c.end, c.first, c.lastCode), c.expected)
        << c.start << "-" << c.end;
  }
}

// One-month ranges and their neighbours on each side of the year end, in
// both calendar years of a period that crosses it.
TEST(MonthRangeTest, OneMonthRangesInBothCalendarYears) {
  const Case cases[] = {
      {4, 103, 4, 4, kOk},  {4, 103, 12, 12, kOk},  {4, 103, 1, 1, kOk},  {4, 103, 3, 3, kOk},
      {4, 103, 5, 4, kEnd}, {4, 103, 12, 11, kEnd}, {4, 103, 2, 1, kEnd}, {4, 103, 11, 12, kOk},
      {4, 103, 12, 1, kOk}, {5, 104, 5, 5, kOk},    {5, 104, 4, 4, kOk},  {5, 104, 5, 4, kOk},
      {5, 104, 6, 5, kEnd}, {5, 104, 4, 5, kEnd},   {1, 12, 12, 12, kOk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMonthRange(c.start, c.end, c.first, c.lastCode), c.expected)
        << c.first << "/" << c.lastCode << " " << c.start << "-" << c.end;
  }
}

TEST(MonthRangeTest, ShortFirstYearJulyToMarch) {
  const Case cases[] = {
      {7, 103, 5, 6, kStart}, {7, 103, 8, 5, kStart}, {7, 103, 7, 3, kOk},
      {7, 103, 2, 2, kOk},    {7, 103, 9, 8, kEnd},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMonthRange(c.start, c.end, c.first, c.lastCode), c.expected)
        << c.start << "-" << c.end;
  }
}

TEST(MonthRangeTest, CalendarYearPeriod) {
  EXPECT_EQ(CheckMonthRange(5, 4, 1, 12), kStart);
  EXPECT_EQ(CheckMonthRange(1, 12, 1, 12), kOk);
  EXPECT_EQ(CheckMonthRange(6, 6, 1, 12), kOk);
  // A period of April to December: January is not a month of it.
  EXPECT_EQ(CheckMonthRange(4, 1, 4, 12), kStart);
}

}  // namespace
}  // namespace ltb::dialog

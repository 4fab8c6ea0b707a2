// Fiscal years that close on a day other than the month end, end to end:
// a dataset per closing day, entries on both sides of each month boundary
// and on the closing dates, and the real program's report for full and
// partial month ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>

#include "ledger/accounting_period.h"
#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "tests/program_runner.h"

namespace ltb::e2e {
namespace {

long Date(int y, int m, int d) { return y * 10000L + m * 100L + d; }

// The closing date of calendar month (y, m) under closingDay.
long Closing(int y, int m, int closingDay) {
  return Date(y, m, std::min(closingDay, ledger::DaysInMonth(y, m)));
}

long DayAfter(long date) {
  const int y = static_cast<int>(date / 10000), m = static_cast<int>(date / 100 % 100);
  const int d = static_cast<int>(date % 100);
  if (d < ledger::DaysInMonth(y, m)) return date + 1;
  return m == 12 ? Date(y + 1, 1, 1) : Date(y, m + 1, 1);
}

// Taxable sales at 8%, excluding tax, in the report.
long long Sales8(const std::string& report) {
  const std::string open = "<KAZEIURIAGEZEINUKI8>";
  const size_t at = report.find(open);
  if (at == std::string::npos) return -1;
  return std::stoll(report.substr(at + open.size()));
}

// One sale, in yen, a distinct power of ten each so a sum names its entries.
enum Sale : long long {
  kFirstDay = 100,             // the period's first day (position 1)
  kFirstClosing = 1000,        // position 1's closing date
  kAfterFirstClosing = 10000,  // the day after it (position 2)
  kSixthClosing = 100000,      // position 6's closing date, ordinary entry
  kInterim = 1000000,          // the interim closing (code 15)
  kSeventhFirst = 10000000,    // position 7's first day
  kLastDay = 100000000,        // the period's last day, ordinary entry
  kYearEnd = 1000000000,       // the year-end closing (code 18)
};

struct ClosingCase {
  int closingDay;  // kMonthEndClosing for the month end
};

class ClosingDayReportTest : public ::testing::TestWithParam<ClosingCase> {
 protected:
  void SetUp() override {
    const int day = GetParam().closingDay;
    // April 2016 to April 2017 closing on `day`; the month-end year runs
    // April to March.
    first_ = day == ledger::kMonthEndClosing ? Date(2016, 4, 1) : DayAfter(Closing(2016, 4, day));
    last_ = day == ledger::kMonthEndClosing ? Date(2017, 3, 31) : Closing(2017, 4, day);
    std::string error;
    ASSERT_TRUE(ledger::CreateSampleLedger(dir / "ledger", &error)) << error;
    auto db = ledger::LedgerDb::Open(dir / "ledger", ledger::LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ledger::DatasetRow ds;
    ds.no = 7;
    ds.dataId = "CLOSE07";
    ds.companyName = "closing";
    ds.periodStart = first_;
    ds.periodEnd = last_;
    ds.interimFlag = 1;
    ds.closingDay = day;
    ASSERT_TRUE(ledger::AddDataset(*db, ds, &error)) << error;
    for (const auto& [code, cls, side] :
         {std::tuple{411, 0x40100000, 2}, std::tuple{135, 0x01010400, 1}}) {
      ledger::AccountRecordRow a;
      a.code = code;
      a.classCode = cls;
      a.balanceSide = side;
      ASSERT_TRUE(ledger::AddAccount(*db, 7, a, &error)) << error;
    }
    const int y0 = static_cast<int>(first_ / 10000);
    const int m0 = day == ledger::kMonthEndClosing ? 4 : 5;  // position 1's closing month
    auto closingOf = [&](int position) {
      const int m = m0 + position - 1;
      return Closing(y0 + (m - 1) / 12, (m - 1) % 12 + 1, day);
    };
    const struct {
      long date;
      bool closing;
      long long yen;
    } sales[] = {
        {first_, false, kFirstDay},
        {closingOf(1), false, kFirstClosing},
        {DayAfter(closingOf(1)), false, kAfterFirstClosing},
        {closingOf(6), false, kSixthClosing},
        {closingOf(6), true, kInterim},
        {DayAfter(closingOf(6)), false, kSeventhFirst},
        {last_, false, kLastDay},
        {last_, true, kYearEnd},
    };
    for (const auto& s : sales) {
      ledger::JournalRow row;
      row.date = s.date;
      row.closing = s.closing;
      row.debit = {135, 0, s.yen * 10000 * 108 / 100, 0, 0, 0, 0};
      row.credit = {411, 0, s.yen * 10000, s.yen * 10000 * 8 / 100, 1, 800, 0};
      ASSERT_TRUE(ledger::AddJournal(*db, 7, row, &error)) << s.date << ": " << error;
    }
    ASSERT_TRUE(ledger::AddUser(*db, "closer", 7, &error)) << error;
  }

  // The report's 8% sales for the month range, or -1 when the run failed.
  long long SalesFor(const std::string& months) {
    std::filesystem::remove(dir / "out.xml");
    const ProgramResult r =
        RunProgram(ProgramDir() + "/LedTaxBridgeA",
                   {"--ledger", dir / "ledger", "--ui", "console", "--method", "journal",
                    "--months", months, "--output", dir / "out.xml", "--execute", "--yes"},
                   {{"HOME", dir.path()},
                    {"XDG_DATA_HOME", dir / "data"},
                    {"LEDORA_HOME", ""},
                    {"LEDORA_USER", "closer"},
                    {"LTB_DRIVES", ""}});
    EXPECT_EQ(r.status, 0) << months << "\n" << r.output;
    return r.status == 0 ? Sales8(ReadWholeFile(dir / "out.xml")) : -1;
  }

  TempDir dir;
  long first_ = 0, last_ = 0;
};

TEST_P(ClosingDayReportTest, MonthRangesTakeTheEntriesOfTheirPositions) {
  const bool monthEnd = GetParam().closingDay == ledger::kMonthEndClosing;
  // Months are named by the calendar month a position closes in.
  const int m1 = monthEnd ? 4 : 5;
  auto month = [&](int position) { return std::to_string((m1 + position - 2) % 12 + 1); };
  const struct {
    std::string months;
    long long expected;
  } ranges[] = {
      {month(1) + "-" + month(12), kFirstDay + kFirstClosing + kAfterFirstClosing + kSixthClosing +
                                       kInterim + kSeventhFirst + kLastDay + kYearEnd},
      {month(1) + "-" + month(1), kFirstDay + kFirstClosing},
      {month(2) + "-" + month(6), kAfterFirstClosing + kSixthClosing + kInterim},
      {month(2) + "-" + month(5), kAfterFirstClosing},
      {month(7) + "-" + month(12), kSeventhFirst + kLastDay + kYearEnd},
      {month(12) + "-" + month(12), kLastDay + kYearEnd},
  };
  for (const auto& r : ranges) {
    SCOPED_TRACE(r.months);
    EXPECT_EQ(SalesFor(r.months), r.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(ClosingDays, ClosingDayReportTest,
                         ::testing::Values(ClosingCase{15}, ClosingCase{20}, ClosingCase{25},
                                           ClosingCase{ledger::kMonthEndClosing}),
                         [](const auto& info) {
                           return info.param.closingDay == ledger::kMonthEndClosing
                                      ? std::string("MonthEnd")
                                      : "Day" + std::to_string(info.param.closingDay);
                         });

}  // namespace
}  // namespace ltb::e2e

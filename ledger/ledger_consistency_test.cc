// The ledger as a whole: what a run sees must agree with what is stored, and
// a run must leave the ledger file untouched.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ledger/ledger_db.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "ledger/testing/tax_report_blocks.h"
#include "ledger/testing/temp_home.h"

namespace ltb::ledger {
namespace {

using host::StFINDINFO;
using R = host::StTAXREPORTRATEINFO;

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class LedgerConsistencyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(CreateSampleLedger(temp_.Sub("books"), &error)) << error;
  }
  // The books under the fixture's home, for `user` (empty: the default).
  LedgerOptions Options(const std::string& user) {
    LedgerOptions options{temp_.Sub("books"), user};
    options.process.home = temp_.path();
    return options;
  }

  TempHome temp_;
};

// The saved tax-return values of the sample are the sums the journal walk
// gives over the whole year, slot by slot of the saved record.
TEST_F(LedgerConsistencyTest, SavedValuesEqualTheJournalSums) {
  auto host = OpenLedgerHost(Options(""));
  ASSERT_EQ(host->AccConnect().Initiate(), 0);
  for (const char* id : {"SAMPLE01", "SAMPLE02", "SAMPLE03"}) {
    auto store = host->NewSaveTaxShiryo();
    store->SetCurDataID(id);
    host::StSaveTaxInfo saved;
    ASSERT_EQ(store->GetTaxSaveInfo(&saved), 0);

    auto walker = host->NewRuleShohizeiShinkoku();
    ASSERT_NE(walker, nullptr);
    walker->SetCurDataID(id);
    // (slot >= 1 AND slot <= 12) OR slot = 18: the whole year with both
    // closings, as the program asks for months 4 to 3.
    StFINDINFO range[3] = {host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtLeast,
                                              StFINDINFO::kMonthPosition, 1, StFINDINFO::kAnd),
                           host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kAtMost,
                                              StFINDINFO::kMonthPosition, 12, StFINDINFO::kOr),
                           host::MakeFindItem(StFINDINFO::kMonth, StFINDINFO::kEqual,
                                              StFINDINFO::kMonthPosition, 18, StFINDINFO::kLast)};
    TaxReportBlocks report;
    const auto& rates = report.rates;
    const auto& types = report.types;
    ASSERT_EQ(walker->SumTax(2, range, report.rates.data(), report.types.data()), 0) << id;

    const size_t sales[] = {12515, 573, 669}, purchase[] = {12707, 765, 1061},
                 badDebt[] = {13299, 1357, 1405}, typeSales[] = {13395, 1453, 1573};
    for (int r = 0; r < 3; ++r) {
      SCOPED_TRACE(std::string(id) + " rate " + std::to_string(rates[r].Rate()));
      EXPECT_EQ(saved.I64(sales[r] + 0), rates[r].Amount(R::KAZEIURIAGEZEINUKI));
      EXPECT_EQ(saved.I64(sales[r] + 8), rates[r].Amount(R::KAZEIURIAGEZEIGAKU));
      EXPECT_EQ(saved.I64(sales[r] + 24), rates[r].Amount(R::MENZEIURIAGEZEINUKI));
      EXPECT_EQ(saved.I64(sales[r] + 32), rates[r].Amount(R::HIKAZEIURIAGEYUUKAZEINUKI));
      EXPECT_EQ(saved.I64(sales[r] + 64), rates[r].Amount(R::KAZEIURIAGEHENKANZEIKOMI));
      EXPECT_EQ(saved.I64(sales[r] + 88), rates[r].Amount(R::HIKAZEISHISANYUSHUTSUZEINUKI));
      EXPECT_EQ(saved.I64(purchase[r] + 0), rates[r].Amount(R::SHIIREKAZEIZEINUKI));
      EXPECT_EQ(saved.I64(purchase[r] + 32), rates[r].Amount(R::SHIIREHIKAZEIZEIGAKU));
      EXPECT_EQ(saved.I64(purchase[r] + 64), rates[r].Amount(R::SHIIREKYOTUUZEIKOMI));
      EXPECT_EQ(saved.I64(purchase[r] + 80), rates[r].Amount(R::YUNYUSHIIREKAZEIZEIGAKU));
      EXPECT_EQ(saved.I64(purchase[r] + 152), rates[r].Amount(R::SHIIREHENKANKAZEIZEINUKI));
      EXPECT_EQ(saved.I64(purchase[r] + 280), rates[r].Amount(R::YUNYUHENKANKYOTUUZEIGAKU));
      EXPECT_EQ(saved.I64(badDebt[r] + 0), rates[r].Amount(R::KASHIDAOREZEINUKI));
      EXPECT_EQ(saved.I64(badDebt[r] + 40), rates[r].Amount(R::KASHIDAOREKAISHUZEIKOMI));
      for (int t = 0; t < 5; ++t) {
        EXPECT_EQ(saved.I64(typeSales[r] + 24 * t),
                  types[6 * r + t].Amount(host::StTAXREPORTBUSINESSTYPEINFO::KAZEIURIAGESHUZEINUKI))
            << "type " << t + 1;
      }
    }
    EXPECT_EQ(saved.I64(13987), rates[0].Amount(R::YUNYUSHIIRETIHO)) << id;
    EXPECT_EQ(saved.I64(13995), rates[0].Amount(R::YUNYUHENKANTIHO)) << id;
  }
}

TEST_F(LedgerConsistencyTest, ARunLeavesTheLedgerFileUntouched) {
  std::string path = temp_.Sub("books/ledger.db");
  std::string before = FileBytes(path);
  {
    auto host = OpenLedgerHost(Options("user02"));
    ASSERT_EQ(host->AccConnect().Initiate(), 0);
    ASSERT_EQ(host->AccConnect().ExpSysLink(), 0);
    host::DataSet(host->DataMgr())->GetSelectedInfo();
    auto walker = host->NewRuleShiwake();
    ASSERT_NE(walker, nullptr);
    long count = 0;
    EXPECT_EQ(walker->GetSwkCount(nullptr, nullptr, &count), 0);
    EXPECT_GT(count, 0);
    host::ClSetKamoku* accounts = host::AccountSet(host->DataMgr());
    ASSERT_NE(accounts, nullptr);
    host->AccConnect().LogOut();
    host->AccConnect().Terminate();
    host->AccConnect().Release();
    // Objects the program still holds after shut-down stay safe to call.
    EXPECT_EQ(walker->GetSwkCount(nullptr, nullptr, &count), 0);
    host::Cursor cursor = 0;
    EXPECT_EQ(accounts->GetCursor(&cursor), 0);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), 0);
  }
  EXPECT_EQ(FileBytes(path), before);
  std::string error;
  auto readOnly = LedgerDb::Open(temp_.Sub("books"), LedgerDb::Mode::kReadOnly, &error);
  ASSERT_TRUE(readOnly) << error;
  EXPECT_FALSE(readOnly->Exec("DELETE FROM journal", nullptr));
}

TEST(LedgerWriterTest, RefusesRowsThatDoNotFitTheDataset) {
  TempHome temp;
  std::string error;
  auto db = LedgerDb::Open(temp.path(), LedgerDb::Mode::kCreate, &error);
  ASSERT_TRUE(db) << error;
  DatasetRow ds;
  ds.no = 1;
  ds.dataId = "CAL2016";
  ds.periodStart = 20160101;
  ds.periodEnd = 20161231;
  ASSERT_TRUE(AddDataset(*db, ds, &error)) << error;

  DatasetRow longer = ds;
  longer.no = 2;
  longer.dataId = "LONG";
  longer.periodEnd = 20170331;
  EXPECT_FALSE(AddDataset(*db, longer, &error));
  DatasetRow sameId = ds;
  sameId.no = 3;
  EXPECT_FALSE(AddDataset(*db, sameId, &error));
  // The closing day must be the one the period's last day implies, which
  // is the one the program numbers the months by.
  DatasetRow twentieth = ds;
  twentieth.no = 4;
  twentieth.dataId = "TWENTIETH";
  twentieth.periodStart = 20160421;
  twentieth.periodEnd = 20170420;
  EXPECT_FALSE(AddDataset(*db, twentieth, &error));  // month-end closing
  twentieth.closingDay = 25;
  EXPECT_FALSE(AddDataset(*db, twentieth, &error));
  twentieth.closingDay = 20;
  EXPECT_TRUE(AddDataset(*db, twentieth, &error)) << error;

  int slot = 0;
  ASSERT_TRUE(MonthSlotFor(*db, 1, 20160229, false, &slot, &error)) << error;
  EXPECT_EQ(slot, 2);
  ASSERT_TRUE(MonthSlotFor(*db, 1, 20161231, true, &slot, &error)) << error;
  EXPECT_EQ(slot, 18);
  // No interim closing in this dataset: a closing entry at the end of
  // month 6 has nowhere to go.
  EXPECT_FALSE(MonthSlotFor(*db, 1, 20160630, true, &slot, &error));
  EXPECT_FALSE(MonthSlotFor(*db, 9, 20160630, false, &slot, &error));

  EXPECT_FALSE(SelectDataset(*db, "someone", 9, &error));
  EXPECT_EQ(error, "The ledger holds no dataset 9: ledora-ledger datasets lists them.");
  ASSERT_TRUE(SelectDataset(*db, "someone", 1, &error)) << error;
  ASSERT_TRUE(SelectDataset(*db, "someone", 1, &error)) << error;  // again: an update

  JournalRow entry;
  entry.date = 20160301;
  ASSERT_TRUE(AddJournal(*db, 1, entry, &error)) << error;
  ASSERT_TRUE(AddJournal(*db, 1, entry, &error)) << error;  // numbered 2
  entry.entryNo = 2;
  EXPECT_FALSE(AddJournal(*db, 1, entry, &error));  // taken
}

}  // namespace
}  // namespace ltb::ledger

#include <gtest/gtest.h>

#include "aggregate/add_tax.h"
#include "aggregate/testing/month_condition.h"
#include "host/testing/fake_host.h"

namespace ltb::aggregate {
namespace {

using testing::FakeHost;
using testing::FakeJournalEntry;
using testing::MakeEntry;

class PreChecksTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::SetMonthCondition(engine.FindCondition(), 1, 6); }
  void Add(uint8_t debitCategory, uint8_t creditCategory, int month = 3, int businessType = 1,
           int rate = 8) {
    host.journal.push_back(FakeJournalEntry{
        MakeEntry({10, 1, debitCategory}, {20, 1, creditCategory}), month, businessType, rate});
  }

  FakeHost host;
  AddTax engine{host, nullptr};
};

TEST_F(PreChecksTest, SixthTypeCountCoversOnlyTheRange) {
  Add(10, 10, 3, 6);
  Add(10, 10, 4, 6);
  Add(10, 10, 9, 6);  // outside the range
  Add(10, 10, 5, 2);
  int32_t count = -1;
  EXPECT_EQ(engine.CountSixthTypeEntries(6, &count), 0);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(host.lastErrors.size(), 1u);
  EXPECT_EQ(host.lastErrors[0].code, 0);
  EXPECT_EQ(host.liveWalkers, 0);  // the check deletes its walker

  host.jigyoBunruiStatus = 77;
  EXPECT_EQ(engine.CountSixthTypeEntries(6, &count), 77);
  EXPECT_EQ(host.lastErrors.back().source, "AddTax");
  EXPECT_EQ(host.lastErrors.back().line, 3782u);

  host.cannotCreate = {"Shiwake"};
  EXPECT_EQ(engine.CountSixthTypeEntries(6, &count), host::kCannotCreate);
  EXPECT_EQ(host.lastErrors.back().line, 3772u);
}

TEST_F(PreChecksTest, TenPercentCheckReportsFoundAndFailures) {
  Add(10, 10);
  int32_t found = -1;
  EXPECT_EQ(engine.CheckTenPercentEntries(&found), 0);
  EXPECT_EQ(found, 0);
  Add(10, 10, 2, 1, 10);
  EXPECT_EQ(engine.CheckTenPercentEntries(&found), 0);
  EXPECT_EQ(found, 1);

  // A failing question leaves found at 0 and hands the status on.
  host.zeiRateStatus = 55;
  EXPECT_EQ(engine.CheckTenPercentEntries(&found), 55);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(host.lastErrors.back().line, 3753u);

  host.cannotCreate = {"Shiwake"};
  found = 5;
  EXPECT_EQ(engine.CheckTenPercentEntries(&found), host::kCannotCreate);
  EXPECT_EQ(found, 5);
  EXPECT_EQ(host.lastErrors.back().line, 3727u);
}

TEST_F(PreChecksTest, ImportCategoryOnEitherSideIsFound) {
  for (uint8_t c : {30, 34, 38}) Add(c, c);
  Add(31, 31, 8);  // outside the range
  EXPECT_EQ(engine.HasImportCategoryEntries(), 0);
  for (uint8_t c : {31, 33, 35, 37}) {
    host.journal.clear();
    Add(10, c);  // credit side alone is enough
    EXPECT_EQ(engine.HasImportCategoryEntries(), 1) << int(c);
    host.journal.clear();
    Add(c, 10);
    EXPECT_EQ(engine.HasImportCategoryEntries(), 1) << int(c);
  }
  host.swkCountStatus = 3;
  EXPECT_EQ(engine.HasImportCategoryEntries(), 0);
  host.swkCountStatus = 0;
  host.cannotCreate = {"Shiwake"};
  EXPECT_EQ(engine.HasImportCategoryEntries(), 0);
}

}  // namespace
}  // namespace ltb::aggregate

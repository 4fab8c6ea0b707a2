#include "app/dataset_info.h"

#include <gtest/gtest.h>

#include <string>

#include "host/testing/fake_host.h"

namespace ltb::app {
namespace {

using host::StFINDINFO;
using ltb::testing::FakeHost;
using ltb::testing::MakeDataset;

struct Item {
  int compare, value, link;
};

std::vector<Item> Items(const StFINDINFO* c) {
  std::vector<Item> out;
  for (size_t i = 0; i < host::kFindConditionItems; ++i) {
    if (c[i].FieldId() == 0) break;
    EXPECT_EQ(c[i].FieldId(), StFINDINFO::kMonth);
    EXPECT_EQ(c[i].Type(), StFINDINFO::kMonthPosition);
    out.push_back({c[i].Compare(), c[i].Value(), c[i].LinkToNext()});
  }
  return out;
}

bool operator==(const Item& a, const Item& b) {
  return a.compare == b.compare && a.value == b.value && a.link == b.link;
}

TEST(BuildFindCondition, AprilToMarchPeriod) {
  StFINDINFO c[host::kFindConditionItems];
  const auto d = MakeDataset(1, "", 20150401, 20160331);
  BuildFindCondition(c, d, 2, 3, 4, 103);  // February to March
  EXPECT_EQ(Items(c), (std::vector<Item>{{4, 11, 1}, {6, 12, 2}, {1, 18, 0}}));
  BuildFindCondition(c, d, 4, 5, 4, 103);
  EXPECT_EQ(Items(c), (std::vector<Item>{{4, 1, 1}, {6, 2, 0}}));
}

TEST(BuildFindCondition, CalendarYearAndInterimClosing) {
  StFINDINFO c[host::kFindConditionItems];
  const auto d = MakeDataset(1, "", 20150101, 20151231);
  BuildFindCondition(c, d, 1, 12, 1, 12);
  EXPECT_EQ(Items(c), (std::vector<Item>{{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}));

  const auto interim = MakeDataset(1, "", 20150401, 20160331, 1);
  BuildFindCondition(c, interim, 4, 9, 4, 103);
  EXPECT_EQ(Items(c), (std::vector<Item>{{4, 1, 1}, {6, 6, 2}, {1, 15, 0}}));
  // A six-month period whose sixth month is also its last: both closings.
  const auto half = MakeDataset(1, "", 20150401, 20150930, 1);
  BuildFindCondition(c, half, 4, 9, 4, 9);
  EXPECT_EQ(Items(c), (std::vector<Item>{{4, 1, 1}, {6, 6, 2}, {1, 15, 2}, {1, 18, 0}}));
}

TEST(LoadSelectedDataInfo, FindsTheUsersDatasetAndReleasesTheCursor) {
  FakeHost host;
  RunContext ctx;
  host.datasets = {MakeDataset(1, "A", 1, 2), MakeDataset(2, "B", 3, 4)};
  host.selectedNo = 2;
  host::StDATAINFO d;
  EXPECT_EQ(LoadSelectedDataInfo(host, ctx, &d), 1);
  EXPECT_EQ(d.CompanyName(), "B");
  EXPECT_EQ(host.openDatasetCursors, 0);

  host.selectedNo = 9;
  EXPECT_EQ(LoadSelectedDataInfo(host, ctx, &d), 0);
  EXPECT_EQ(d.DatasetNo(), 0);
  EXPECT_EQ(host.openDatasetCursors, 0);
}

TEST(DatasetText, TextsAndTheirSideEffects) {
  FakeHost host;
  RunContext ctx;
  const auto d = MakeDataset(1, "株式会社サンプル", 20150401, 20160331);
  EXPECT_STREQ(DatasetText(host, ctx, 0, d), " 株式会社サンプル");
  EXPECT_STREQ(DatasetText(host, ctx, 1, d), " 2015/04/01～2016/03/31");

  host.taxSettings.SetU8(0, 1);
  host.taxSettings.SetU8(2, 2);
  host.taxSettings.SetU8(4, 6);
  EXPECT_STREQ(DatasetText(host, ctx, 2, d), " 簡易課税");
  EXPECT_EQ(ctx.filingClass, 1);
  EXPECT_EQ(ctx.fractionRounding, 2);
  EXPECT_STREQ(DatasetText(host, ctx, 3, d), "主となる事業分類");
  EXPECT_STREQ(DatasetText(host, ctx, 4, d), " 第六種事業 不動産業");
  EXPECT_EQ(ctx.mainBusinessType, 6);

  host.taxSettings.SetU8(0, 2);
  host.taxSettings.SetU8(3, 1);
  EXPECT_STREQ(DatasetText(host, ctx, 3, d), "課税仕入控除");
  EXPECT_STREQ(DatasetText(host, ctx, 4, d), " 一括比例配分方式");
  host.taxSettings.SetU8(0, 0);
  EXPECT_STREQ(DatasetText(host, ctx, 3, d), "");
  EXPECT_STREQ(DatasetText(host, ctx, 4, d), "");
  EXPECT_STREQ(DatasetText(host, ctx, 7, d), "");
  // Values outside the name table show nothing instead of reading past it.
  host.taxSettings.SetU8(0, 9);
  EXPECT_STREQ(DatasetText(host, ctx, 2, d), "");
  host.taxSettings.SetU8(0, 1);
  host.taxSettings.SetU8(4, 200);
  EXPECT_STREQ(DatasetText(host, ctx, 4, d), "");
}

TEST(DatasetText, LongCompanyNameIsCutOnAWholeCharacter) {
  FakeHost host;
  RunContext ctx;
  std::string name;
  for (int i = 0; i < 40; ++i) name += "\x83\x5C";
  const auto d = MakeDataset(1, name.c_str(), 1, 2);
  const std::string text = DatasetText(host, ctx, 0, d);
  EXPECT_EQ(text.size(), 49u);  // blank + 24 characters; the 25th would split
  EXPECT_EQ(ctx.datasetText[50], '\0');
}

class TaxReturnFitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.taxSettings.SetU8(0, 2);
    host.taxSettings.SetU8(3, 1);
    using S = host::StSaveTaxInfo;
    host.saved.SetI32(S::kPeriodStartOff, 20150401);
    host.saved.SetI32(S::kPeriodEndOff, 20160331);
    host.saved.SetU8(S::kInterimCodeOff, 1);
    host.saved.SetU8(S::kTaxationCodeOff, 1);
    host.saved.SetU8(S::kDeductionCodeOff, 2);
  }
  int Load() {
    host::StSaveTaxInfo buffer;
    return LoadTaxReturnValues(host, ctx, &buffer, data);
  }
  FakeHost host;
  RunContext ctx;
  host::StDATAINFO data = MakeDataset(1, "", 20150401, 20160331);
};

TEST_F(TaxReturnFitsTest, ValuesOfThisPeriodAndSettingsFit) { EXPECT_EQ(Load(), 1); }

TEST_F(TaxReturnFitsTest, ValuesThatNoLongerFitAreNotAvailable) {
  host.saved.SetI32(host::StSaveTaxInfo::kPeriodStartOff, 20140401);
  EXPECT_EQ(Load(), 0);
  SetUp();
  host.taxSettings.SetU8(3, 0);  // deduction method changed since saving
  EXPECT_EQ(Load(), 0);
  SetUp();
  host.taxSettings.SetU8(0, 1);  // now simplified taxation
  EXPECT_EQ(Load(), 0);
  SetUp();
  host.saveReadResult = 12;
  EXPECT_EQ(Load(), 0);
  ASSERT_FALSE(host.lastErrors.empty());
  EXPECT_EQ(host.lastErrors.back().code, 12);
  EXPECT_EQ(host.lastErrors.back().line, 6923u);
  SetUp();
  host.saveReadResult = 0;
  host.cannotCreate = {"SaveTaxShiryo"};
  EXPECT_EQ(Load(), 0);
}

TEST(MonthsOfDates, ConvertsAndRecordsTheResult) {
  FakeHost host;
  RunContext ctx;
  int16_t a = 0, b = 0;
  EXPECT_EQ(MonthsOfDates(host, ctx, 20150401, 20160331, &a, &b), 0);
  EXPECT_EQ(a, 4);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(host.lastErrors.back().code, 0);
  EXPECT_EQ(host.lastErrors.back().line, 0u);
  EXPECT_EQ(MonthsOfDates(host, ctx, 20150401, 0, &a, &b), 3);
  EXPECT_EQ(host.lastErrors.back().code, 3);
  EXPECT_EQ(host.lastErrors.back().line, 7007u);
  EXPECT_EQ(FirstDateOfMonth(host, ctx, 2), 20160201);
}

}  // namespace
}  // namespace ltb::app

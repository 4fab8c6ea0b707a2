#include "report/return_data_section.h"

#include <gtest/gtest.h>

#include "report/testing/report_fixture.h"
#include "report/testing/report_text.h"

namespace ltb::report {
namespace {

using testing::BlockText;
using testing::ElementText;

constexpr int64_t kYen = 10000;

class ReturnDataSectionTest : public testing::ReportFixture {
 protected:
  void SetUp() override {
    ReportFixture::SetUp();
    ctx.taxSaveInfo = &saved;
    ctx.totals = nullptr;
  }
  std::string Data() {
    EXPECT_TRUE(WriteReturnDataSection(writer, ctx, data));
    return Output();
  }
  std::optional<std::string> In(const std::string& block, const std::string& name) {
    return ElementText(BlockText(Output(), block), name);
  }
  void Slot(size_t offset, int64_t yen) { saved.SetI64(offset, yen * kYen); }
};

TEST_F(ReturnDataSectionTest, ReadsTheSlotsOfEachRate) {
  Slot(12515, 11);               // KAZEIURIAGEZEINUKI8
  Slot(669 + 88, 12);            // HIKAZEISHISANYUSHUTSUZEINUKI3
  Slot(765 + 280, 13);           // YUNYUHENKANKYOTUUZEIGAKU5
  Slot(14259, 14);               // TOKUTEISHIIREKYOTUUZEINUKI8
  Slot(2112, 15);                // YUNYUHENKANTIHO5
  Slot(1357 + 40, 16);           // KASHIDAOREKAISHUZEIKOMI5
  Slot(2092, 17);                // GIMUMENJOKYOTUU3
  Slot(13395 + 24 * 4 + 8, 18);  // KAZEIURIAGE5SHUZEIGAKU8
  Slot(14043 + 16, 19);          // KAZEIURIAGE6SHUZEIKOMI5
  Slot(1813, 20);                // KAZEIHENKAN1SHUZEINUKI3
  Slot(573 + 72, 21);            // MENZEIURIAGEHENKANZEINUKI5
  Data();
  EXPECT_EQ(In("D020110", "KAZEIURIAGEZEINUKI8"), "11");
  EXPECT_EQ(In("D020112", "HIKAZEISHISANYUSHUTSUZEINUKI3"), "12");
  EXPECT_EQ(In("D020121", "YUNYUHENKANKYOTUUZEIGAKU5"), "13");
  EXPECT_EQ(In("D020120", "TOKUTEISHIIREKYOTUUZEINUKI8"), "14");
  EXPECT_EQ(In("D020121", "YUNYUHENKANTIHO5"), "15");
  EXPECT_EQ(In("D020131", "KASHIDAOREKAISHUZEIKOMI5"), "16");
  EXPECT_EQ(In("D020231", "KASHIDAOREKAISHUZEIKOMI5"), "16");
  EXPECT_EQ(In("D02202", "GIMUMENJOKYOTUU3"), "17");
  EXPECT_EQ(In("D020210", "KAZEIURIAGE5SHUZEIGAKU8"), "18");
  EXPECT_EQ(In("D020211", "KAZEIURIAGE6SHUZEIKOMI5"), "19");
  EXPECT_EQ(In("D020222", "KAZEIHENKAN1SHUZEINUKI3"), "20");
  EXPECT_EQ(In("D020111", "MENZEIURIAGEHENKANZEINUKI5"), "21");
  EXPECT_EQ(In("D020221", "MENZEIURIAGEHENKANZEINUKI5"), "21");
}

TEST_F(ReturnDataSectionTest, SecuritiesSalesAreTimesTwentyAndRemaindersAlwaysEmpty) {
  Slot(12515 + 32, 1000);
  Slot(12515, 500);  // business types say nothing: no remainder is written anyway
  Slot(12515 + 48, 70);
  Data();
  EXPECT_EQ(In("D020110", "HIKAZEIURIAGEYUUKAZEINUKI8"), "20000");
  EXPECT_EQ(In("D020210", "KAZEIURIAGEZEROZEINUKI8"), "");
  EXPECT_EQ(In("D020220", "KAZEIHENKANZEROZEINUKI8"), "");
  EXPECT_EQ(In("D020110", "HIKAZEISHISANHENKANZEINUKI8"), "");
}

TEST_F(ReturnDataSectionTest, OnlyPrincipleTaxationWritesAmounts) {
  ctx.filingClass = 1;
  for (size_t off = 400; off < 14400; off += 8) saved.SetI64(off, 3 * kYen);
  std::string out = Data();
  EXPECT_EQ(testing::Lines(out).size(), 2u + 304 + 21 * 2 + 16 + 17 + 4);
  EXPECT_EQ(out.find("3<"), std::string::npos);
  EXPECT_EQ(out.find("1<"), std::string::npos);
}

TEST_F(ReturnDataSectionTest, KanpuhForACorporationUnderPrincipleTaxation) {
  data.SetU8(host::StDATAINFO::kEntityKindOff, 0);
  saved.SetU8(9866, 2);
  saved.SetU8(9867, 5);
  Slot(9924, 4);   // SONOTASONEKI2
  Slot(9972, -9);  // SONOTASISAN2
  Data();
  std::string h = BlockText(Output(), "KANPUH");
  EXPECT_EQ(ElementText(h, "KESSANZEIKUBUN"), "2");
  EXPECT_EQ(ElementText(h, "SONOTASONEKI2"), "4");
  EXPECT_EQ(ElementText(h, "SHISANZEIKUBUN"), "1");
  EXPECT_EQ(ElementText(h, "SONOTASISAN2"), "-9");
  std::string k = BlockText(Output(), "KANPUK");
  EXPECT_EQ(ElementText(k, "JIGYOHITSUYOU2"), "");  // the same slot, not for a corporation
  EXPECT_EQ(ElementText(k, "KESSANZEIKUBUN"), "");
}

TEST_F(ReturnDataSectionTest, KanpukForAnIndividualHasNoMaskAndZeroIsEmpty) {
  data.SetU8(host::StDATAINFO::kEntityKindOff, 4);
  data.SetU8(host::StDATAINFO::kIncomeModeOff, 1);
  saved.SetU8(9865, 2);
  Slot(9988, 6);  // SONOTAKOTEISHISAN2
  Slot(9924, 5);  // FUDOUSANHITSUYOU2
  Data();
  std::string k = BlockText(Output(), "KANPUK");
  EXPECT_EQ(ElementText(k, "KESSANZEIKUBUN"), "2");
  EXPECT_EQ(ElementText(k, "SONOTAKOTEISHISAN2"), "6");
  EXPECT_EQ(ElementText(k, "FUDOUSANHITSUYOU2"), "5");
  EXPECT_EQ(ElementText(k, "JIGYOSHIIRE1"), "");
  EXPECT_EQ(ElementText(BlockText(Output(), "KANPUH"), "SONOTASONEKI2"), "");
}

TEST_F(ReturnDataSectionTest, FailsWithoutSavedValues) {
  ctx.taxSaveInfo = nullptr;
  EXPECT_FALSE(WriteReturnDataSection(writer, ctx, data));
  EXPECT_EQ(Output(), "\t<DATA>\r\n");
}

}  // namespace
}  // namespace ltb::report

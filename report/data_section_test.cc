#include "report/data_section.h"

#include <gtest/gtest.h>

#include "report/amount_blocks.h"
#include "report/kanpu_blocks.h"
#include "report/testing/report_fixture.h"
#include "report/testing/report_text.h"

namespace ltb::report {
namespace {

using testing::BlockText;
using testing::ElementText;
using RF = RateField;
using BF = BusinessTypeField;

constexpr int64_t kYen = 10000;

TEST(AmountBlocks, HoldThe21BlocksWith304ElementsInFileOrder) {
  const char* names[] = {"D020110", "D020111", "D020112", "D020120", "D020121", "D020122",
                         "D020130", "D020131", "D020132", "D02200",  "D02201",  "D02202",
                         "D020210", "D020211", "D020212", "D020220", "D020221", "D020222",
                         "D020230", "D020231", "D020232"};
  const size_t sizes[] = {13, 13, 13, 32, 26, 24, 6,  6, 6, 5, 5,
                          5,  22, 22, 22, 22, 22, 22, 6, 6, 6};
  const auto& blocks = AmountBlocks();
  ASSERT_EQ(blocks.size(), 21u);
  size_t total = 0;
  for (size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_EQ(blocks[i].name, names[i]);
    EXPECT_EQ(blocks[i].elements.size(), sizes[i]) << names[i];
    total += blocks[i].elements.size();
  }
  EXPECT_EQ(total, 304u);
  const auto& typed = blocks[13].elements;  // D020211
  EXPECT_EQ(typed[0].name, "KAZEIURIAGE1SHUZEINUKI5");
  EXPECT_EQ(typed[7].name, "KAZEIURIAGE3SHUZEIGAKU5");
  EXPECT_EQ(typed[18].name, "KAZEIURIAGEZEROZEINUKI5");
  EXPECT_EQ(typed[21].name, "MENZEIURIAGEZEINUKI5");
  EXPECT_EQ(blocks[17].elements[17].name, "KAZEIHENKAN6SHUZEIKOMI3");
  EXPECT_EQ(blocks[11].elements[4].name, "KAZEIGYOMUYOTENYO3");
}

class DataSectionTest : public testing::ReportFixture {
 protected:
  std::string Data() {
    EXPECT_TRUE(WriteDataSection(writer, ctx, data, settings));
    return Output();
  }
  std::optional<std::string> In(const std::string& block, const std::string& name) {
    return ElementText(BlockText(Output(), block), name);
  }
};

TEST_F(DataSectionTest, WritesRateFieldsRoundedAndZeroAsEmpty) {
  totals.RateInfo[0].SetAmount(RF::KAZEIURIAGEZEINUKI, 12345675000);
  totals.RateInfo[0].SetAmount(RF::HIKAZEISHISANYUSHUTSUZEINUKI, -1500 * kYen);
  totals.RateInfo[1].SetAmount(RF::YUNYUHENKANTIHO, 4445);
  totals.RateInfo[2].SetAmount(RF::SHIIREHENKANKYOTUUZEIKOMI, 7 * kYen);
  std::string out = Data();
  const std::string head = "\t<DATA>\r\n\t\t<D020110>\r\n";
  const std::string tail = "\t\t</KANPUK>\r\n\t</DATA>\r\n";
  EXPECT_EQ(out.substr(0, head.size()), head);
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_NE(out.find("\t\t\t<KAZEIURIAGEZEINUKI8>1234568</KAZEIURIAGEZEINUKI8>\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("\t\t\t<KAZEIURIAGEZEIGAKU8></KAZEIURIAGEZEIGAKU8>\r\n"), std::string::npos);
  EXPECT_EQ(In("D020110", "HIKAZEISHISANYUSHUTSUZEINUKI8"), "-1500");
  EXPECT_EQ(In("D020121", "YUNYUHENKANTIHO5"), "1");
  EXPECT_EQ(In("D020122", "SHIIREHENKANKYOTUUZEIKOMI3"), "7");
  EXPECT_EQ(In("D020110", "HIKAZEISHISANHENKANZEINUKI8"), "");
}

TEST_F(DataSectionTest, FollowsTheFractionRounding) {
  totals.RateInfo[0].SetAmount(RF::KAZEIURIAGEZEINUKI, 1);
  ctx.fractionRounding = 2;
  Data();
  EXPECT_EQ(In("D020110", "KAZEIURIAGEZEINUKI8"), "1");
}

TEST_F(DataSectionTest, ImportLocalTaxAndSpecifiedPurchasesExistOnlyForSomeRates) {
  std::string out = Data();
  EXPECT_TRUE(In("D020120", "YUNYUSHIIRETIHO8"));
  EXPECT_TRUE(In("D020121", "YUNYUSHIIRETIHO5"));
  EXPECT_EQ(BlockText(out, "D020122").find("TIHO"), std::string::npos);
  EXPECT_EQ(BlockText(out, "D020121").find("TOKUTEI"), std::string::npos);
  EXPECT_EQ(In("D020120", "TOKUTEISHIIREHENKANKYOTUUZEINUKI8"), "");
}

TEST_F(DataSectionTest, BadDebtsAppearTwice) {
  totals.RateInfo[2].SetAmount(RF::KASHIDAOREKAISHUZEIGAKU, 12 * kYen);
  Data();
  EXPECT_EQ(In("D020132", "KASHIDAOREKAISHUZEIGAKU3"), "12");
  EXPECT_EQ(In("D020232", "KASHIDAOREKAISHUZEIGAKU3"), "12");
  auto elements = [&](const char* block) {
    std::string text = BlockText(Output(), block);
    return text.substr(9, text.size() - 9 - 12);  // without the block's own tags
  };
  EXPECT_EQ(elements("D020132"), elements("D020232"));
}

TEST_F(DataSectionTest, BusinessTypesAndTheUntypedRemainder) {
  host::StTAXREPORTRATEINFO& rate = totals.RateInfo[1];
  auto type = [&](int n) -> host::StTAXREPORTBUSINESSTYPEINFO& {
    return totals.BusinessTypeInfo[6 + n - 1];
  };
  // Tax excluded: fully covered by types 1 and 6.
  rate.SetAmount(RF::KAZEIURIAGEZEINUKI, 300 * kYen);
  type(1).SetAmount(BF::KAZEIURIAGESHUZEINUKI, 100 * kYen);
  type(6).SetAmount(BF::KAZEIURIAGESHUZEINUKI, 200 * kYen);
  // Tax: 0.4 yen in all and -0.4 typed; each rounds to 0 alone, but the
  // remainder 0.8 is rounded once, after the subtraction, to 1.
  rate.SetAmount(RF::KAZEIURIAGEZEIGAKU, 4000);
  type(3).SetAmount(BF::KAZEIURIAGESHUZEIGAKU, -4000);
  // Returns, tax included: 50 yen with 20 typed.
  rate.SetAmount(RF::KAZEIURIAGEHENKANZEIKOMI, 50 * kYen);
  type(2).SetAmount(BF::KAZEIHENKANSHUZEIKOMI, 20 * kYen);
  rate.SetAmount(RF::MENZEIURIAGEZEINUKI, 9 * kYen);
  Data();
  EXPECT_EQ(In("D020211", "KAZEIURIAGE1SHUZEINUKI5"), "100");
  EXPECT_EQ(In("D020211", "KAZEIURIAGE6SHUZEINUKI5"), "200");
  EXPECT_EQ(In("D020211", "KAZEIURIAGE3SHUZEIGAKU5"), "");
  EXPECT_EQ(In("D020211", "KAZEIURIAGEZEROZEINUKI5"), "");
  EXPECT_EQ(In("D020211", "KAZEIURIAGEZEROZEIGAKU5"), "1");
  EXPECT_EQ(In("D020211", "MENZEIURIAGEZEINUKI5"), "9");
  EXPECT_EQ(In("D020221", "KAZEIHENKAN2SHUZEIKOMI5"), "20");
  EXPECT_EQ(In("D020221", "KAZEIHENKANZEROZEIKOMI5"), "30");
  EXPECT_EQ(In("D020210", "KAZEIURIAGEZEROZEIGAKU8"), "");
}

TEST_F(DataSectionTest, RatesTheHostDidNotReportAreWrittenEmpty) {
  totals.RateInfo[2].SetAmount(RF::KAZEIURIAGEZEINUKI, 5 * kYen);
  totals.BusinessTypeInfo[12].SetAmount(BF::KAZEIURIAGESHUZEINUKI, 5 * kYen);
  host.taxRateCount = 2;
  Data();
  EXPECT_EQ(In("D020112", "KAZEIURIAGEZEINUKI3"), "");
  EXPECT_EQ(In("D020212", "KAZEIURIAGE1SHUZEINUKI3"), "");
}

TEST_F(DataSectionTest, ShortArraysAreNeverReadBeyond) {
  totals.Allocate(0);
  totals.RateInfo.resize(1);
  totals.RateInfo[0].SetAmount(RF::KAZEIURIAGEZEINUKI, 5 * kYen);
  totals.BusinessTypeInfo.resize(6);
  std::string out = Data();
  EXPECT_EQ(In("D020110", "KAZEIURIAGEZEINUKI8"), "5");
  EXPECT_EQ(In("D020111", "KAZEIURIAGEZEINUKI5"), "");
}

TEST_F(DataSectionTest, FailsWithoutTaxSettingsSetOrOnAWriteError) {
  host.hasTaxSettingsSet = false;
  EXPECT_FALSE(WriteDataSection(writer, ctx, data, settings));
  EXPECT_EQ(Output(), "\t<DATA>\r\n");
  host.hasTaxSettingsSet = true;
  // The 41st line fails: nothing is tried after it.
  const int before = env.appends;
  env.failFromAppend = before + 41;
  EXPECT_FALSE(WriteDataSection(writer, ctx, data, settings));
  EXPECT_EQ(env.appends, before + 41);
}

class KanpuBlocksTest : public DataSectionTest {
 protected:
  void SetUp() override {
    DataSectionTest::SetUp();
    data.SetU8(host::StDATAINFO::kEntityKindOff, 3);
  }
  std::string Kanpuh() { return BlockText(Data(), "KANPUH"); }
  std::string Kanpuk() { return BlockText(Output(), "KANPUK"); }
  static size_t EmptyElements(const std::string& block) {
    size_t n = 0;
    for (size_t at = block.find("></"); at != std::string::npos; at = block.find("></", at + 1))
      ++n;
    return n;
  }
};

TEST_F(KanpuBlocksTest, CorporationFillsKanpuhAndLeavesKanpukEmpty) {
  data.SetU8(host::StDATAINFO::kEntityKindOff, 1);
  settings.SetU8(5, 1);
  totals.HANBAIIPPAN.NonTaxable = 3 * kYen;
  totals.KURINOBESHISAN = 8 * kYen;
  std::string h = Kanpuh();
  EXPECT_EQ(ElementText(h, "KESSANZEIKUBUN"), "1");
  EXPECT_EQ(ElementText(h, "HANBAIIPPAN2"), "3");
  EXPECT_EQ(ElementText(h, "SHOHINSHIIRE1"), "");
  EXPECT_EQ(ElementText(h, "SHISANZEIKUBUN"), "1");
  EXPECT_EQ(ElementText(h, "KURINOBESHISAN1"), "8");
  EXPECT_EQ(ElementText(h, "KURINOBESHISAN2"), "");
  EXPECT_EQ(EmptyElements(Kanpuk()), 17u);
  EXPECT_EQ(testing::Lines(Kanpuk()).size(), 19u);
}

TEST_F(KanpuBlocksTest, CorporationWithoutFiguresWritesNoTaxClass) {
  data.SetU8(host::StDATAINFO::kEntityKindOff, 0);
  totals.KOTEISHISAN = 2;  // below half a yen: printed empty, but still a figure
  std::string h = Kanpuh();
  EXPECT_EQ(ElementText(h, "KESSANZEIKUBUN"), "");
  EXPECT_EQ(ElementText(h, "SHISANZEIKUBUN"), "2");
  EXPECT_EQ(ElementText(h, "KOTEISHISAN1"), "");
}

TEST_F(KanpuBlocksTest, IndividualIncomeTypeMasksAndZeroPrintedAsZero) {
  data.SetU8(host::StDATAINFO::kIncomeModeOff, 1);  // business income only
  totals.FUDOUSANHITSUYOU.Settled = 5 * kYen;
  totals.SONOTASHIIRE.Settled = 6 * kYen;
  totals.JIGYOKOTEISHISAN.NonTaxable = 7 * kYen;
  std::string k = (Kanpuh(), Kanpuk());
  EXPECT_EQ(EmptyElements(BlockText(Output(), "KANPUH")), 16u);
  EXPECT_EQ(ElementText(k, "KESSANZEIKUBUN"), "2");
  EXPECT_EQ(ElementText(k, "JIGYOSHIIRE1"), "0");
  EXPECT_EQ(ElementText(k, "JIGYOKOTEISHISAN1"), "0");
  EXPECT_EQ(ElementText(k, "JIGYOKOTEISHISAN2"), "");
  EXPECT_EQ(ElementText(k, "FUDOUSANHITSUYOU1"), "");
  EXPECT_EQ(ElementText(k, "SONOTASHIIRE1"), "");
}

TEST_F(KanpuBlocksTest, IndividualIncomeTypesTwoAndThree) {
  data.SetU8(host::StDATAINFO::kIncomeModeOff, 2);
  totals.FUDOUSANHITSUYOU.Settled = 5 * kYen;
  std::string k = (Kanpuh(), Kanpuk());
  EXPECT_EQ(ElementText(k, "FUDOUSANHITSUYOU1"), "5");
  EXPECT_EQ(ElementText(k, "JIGYOSHIIRE1"), "");
  EXPECT_EQ(ElementText(k, "SONOTASHIIRE1"), "");  // group 3 shares bit 2
  EXPECT_EQ(ElementText(k, "SONOTAKOTEISHISAN1"), "");

  data.SetU8(host::StDATAINFO::kIncomeModeOff, 3);
  Reopen();
  k = (Kanpuh(), Kanpuk());
  EXPECT_EQ(ElementText(k, "JIGYOSHIIRE1"), "0");
  EXPECT_EQ(ElementText(k, "FUDOUSANHITSUYOU1"), "5");
  EXPECT_EQ(ElementText(k, "SONOTAHITSUYOU2"), "0");
  EXPECT_EQ(ElementText(k, "FUDOUSANKOTEISHISAN2"), "");
}

TEST_F(KanpuBlocksTest, SimplifiedTaxationEmptiesBothAndOtherKindsFillBoth) {
  ctx.filingClass = 1;
  totals.JIGYOSHIIRE.Settled = kYen;
  EXPECT_EQ(EmptyElements(Kanpuh()), 16u);
  EXPECT_EQ(EmptyElements(Kanpuk()), 17u);

  ctx.filingClass = 2;
  data.SetU8(host::StDATAINFO::kEntityKindOff, 2);
  totals.SHOHINSHIIRE.Settled = 4 * kYen;
  Reopen();
  EXPECT_EQ(ElementText(Kanpuh(), "SHOHINSHIIRE1"), "4");
  EXPECT_EQ(ElementText(Kanpuk(), "JIGYOSHIIRE1"), "1");
}

}  // namespace
}  // namespace ltb::report

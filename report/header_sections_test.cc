#include "report/header_sections.h"

#include <gtest/gtest.h>

#include "report/full_width_name.h"
#include "report/rate_view.h"
#include "report/support_info.h"
#include "report/testing/report_fixture.h"
#include "report/testing/report_text.h"

namespace ltb::report {
namespace {

using testing::ElementText;
using RF = RateField;

class SystemSectionTest : public testing::ReportFixture {};

TEST_F(SystemSectionTest, WithoutSupportFileWritesTheFallbacks) {
  ctx.edition = EditionByLetter('B');
  ASSERT_TRUE(WriteSystemSection(writer, ctx));
  EXPECT_EQ(Output(),
            "\t<SYSTEM>\r\n"
            "\t\t<GYOUMUPREFIX>SY26</GYOUMUPREFIX>\r\n"
            "\t\t<VERSION>1</VERSION>\r\n"
            "\t\t<FUNCTIONID>1</FUNCTIONID>\r\n"
            "\t\t<CONNECTEDPROGRAMVER>17.00.00</CONNECTEDPROGRAMVER>\r\n"
            "\t\t<PROGRAMNAME>Ledora１７ Vantage</PROGRAMNAME>\r\n"
            "\t\t<PROGRAMVER>17.00.0X</PROGRAMVER>\r\n"
            "\t</SYSTEM>\r\n");
}

TEST_F(SystemSectionTest, TakesSupportFileValuesAndCutsOverLongOnes) {
  ctx.notifyWParam = -7;
  std::string longName(300, 'N');
  longName[223] = '\x88';  // a kanji whose lead byte would be the last that fits
  longName[224] = '\x9F';
  env.files[SupportInfo::kFileName] = "[=製品名=]" + longName + "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.00.05\r\n";
  ASSERT_TRUE(WriteSystemSection(writer, ctx));
  EXPECT_EQ(ElementText(Output(), "FUNCTIONID"), "-7");
  EXPECT_EQ(ElementText(Output(), "PROGRAMVER"), "17.00.05");
  // 2 TABs + <PROGRAMNAME></PROGRAMNAME> + CR LF + NUL leave 224 bytes of a
  // 256-byte line; the kanji straddling the limit is left out whole.
  std::string name = *ElementText(Output(), "PROGRAMNAME");
  EXPECT_EQ(name, longName.substr(0, 223));
  for (const std::string& line : testing::Lines(Output())) EXPECT_LT(line.size() + 2, 256u);
}

TEST_F(SystemSectionTest, StopsAtTheFirstFailedWrite) {
  env.failFromAppend = 3;
  EXPECT_FALSE(WriteSystemSection(writer, ctx));
  EXPECT_EQ(env.appends, 3);
}

TEST(FullWidthName32, ConvertsAndCutsOnAWholeCharacter) {
  EXPECT_EQ(FullWidthName32("ABCDEFGHIJKLMNOPQRST"), "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ");
  // A control byte stays single, so the 32nd byte is the lead byte of "Ｐ".
  EXPECT_EQ(FullWidthName32("\x01"
                            "ABCDEFGHIJKLMNOPQRST"),
            "\x01"
            "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ");
  EXPECT_EQ(FullWidthName32("ｶﾌﾞｼｷｶﾞｲｼｬ 1"), "カブシキガイシャ　１");
  EXPECT_EQ(FullWidthName32(""), "");
}

class BasicSectionTest : public testing::ReportFixture {
 protected:
  std::string Basic(BasicSource source) {
    EXPECT_TRUE(WriteBasicSection(writer, ctx, data, source));
    return Output();
  }
};

TEST_F(BasicSectionTest, JournalModeUnderPrincipleTaxation) {
  data.SetText(host::StDATAINFO::kCompanyOff, host::StDATAINFO::kCompanyCap, "ﾃｽﾄ(株)");
  data.SetI32(host::StDATAINFO::kPeriodStartOff, 20160401);
  data.SetI32(host::StDATAINFO::kPeriodEndOff, 20170331);
  EXPECT_EQ(Basic(BasicSource::kJournal),
            "\t<BASIC>\r\n"
            "\t\t<KOMONSAKINAME>テスト（株）</KOMONSAKINAME>\r\n"
            "\t\t<JIGYOUNENDOFROM>20160401</JIGYOUNENDOFROM>\r\n"
            "\t\t<JIGYOUNENDOTO>20170331</JIGYOUNENDOTO>\r\n"
            "\t\t<HOUJINKOJINKUBUN>1</HOUJINKOJINKUBUN>\r\n"
            "\t\t<KAZEIKUBUN>1</KAZEIKUBUN>\r\n"
            "\t\t<KEIKASHOCHIKAZEISHISAN>2</KEIKASHOCHIKAZEISHISAN>\r\n"
            "\t\t<URIAGEZEIGAKUKEISAN>1</URIAGEZEIGAKUKEISAN>\r\n"
            "\t\t<SHIIREZEIGAKUKEISAN>1</SHIIREZEIGAKUKEISAN>\r\n"
            "\t</BASIC>\r\n");
}

TEST_F(BasicSectionTest, SimplifiedTaxationAndEntityKinds) {
  ctx.filingClass = 1;
  data.SetU8(host::StDATAINFO::kEntityKindOff, 2);
  std::string out = Basic(BasicSource::kJournal);
  EXPECT_EQ(ElementText(out, "HOUJINKOJINKUBUN"), "");
  EXPECT_EQ(ElementText(out, "KAZEIKUBUN"), "2");
  EXPECT_EQ(ElementText(out, "SHIIREZEIGAKUKEISAN"), "");
  for (uint8_t kind : {3, 4}) {
    Reopen();
    data.SetU8(host::StDATAINFO::kEntityKindOff, kind);
    EXPECT_EQ(ElementText(Basic(BasicSource::kJournal), "HOUJINKOJINKUBUN"), "2");
  }
}

TEST_F(BasicSectionTest, ReturnValuesModeReadsTheSavedFlagsAndPeriod) {
  saved.SetI32(host::StSaveTaxInfo::kReportFromOff, 20150401);
  saved.SetI32(host::StSaveTaxInfo::kReportToOff, 20160331);
  saved.SetU8(host::StSaveTaxInfo::kSalesTaxCalcFlagOff, 1);
  saved.SetU8(host::StSaveTaxInfo::kPurchaseTaxCalcFlagOff, 1);
  saved.SetU8(host::StSaveTaxInfo::kOldRateFlagOff, 1);
  ctx.taxSaveInfo = &saved;
  std::string out = Basic(BasicSource::kReturnValues);
  EXPECT_EQ(ElementText(out, "JIGYOUNENDOFROM"), "20150401");
  EXPECT_EQ(ElementText(out, "JIGYOUNENDOTO"), "20160331");
  EXPECT_EQ(ElementText(out, "KEIKASHOCHIKAZEISHISAN"), "1");
  EXPECT_EQ(ElementText(out, "URIAGEZEIGAKUKEISAN"), "2");
  EXPECT_EQ(ElementText(out, "SHIIREZEIGAKUKEISAN"), "2");
}

TEST_F(BasicSectionTest, ReturnValuesModeWithoutSavedValuesFailsBeforeReadingThem) {
  ctx.taxSaveInfo = nullptr;
  EXPECT_FALSE(WriteBasicSection(writer, ctx, data, BasicSource::kReturnValues));
  EXPECT_EQ(Output().find("JIGYOUNENDOFROM"), std::string::npos);
  EXPECT_EQ(Output().find("</BASIC>"), std::string::npos);
}

TEST_F(BasicSectionTest, OldRateAmountsAreLookedForInThe5PercentBlockAndOldRateSum) {
  EXPECT_FALSE(HasOldRateAmounts(ctx));
  totals.RateInfo[0].SetAmount(RF::KAZEIURIAGEZEINUKI, 10000);
  totals.RateInfo[2].SetAmount(RF::KAZEIURIAGEZEINUKI, 10000);  // 3% is never examined
  EXPECT_FALSE(HasOldRateAmounts(ctx));

  totals.RateInfo[1].SetAmount(RF::KASHIDAOREKAISHUZEIKOMI, 1);
  EXPECT_TRUE(HasOldRateAmounts(ctx));
  totals.RateInfo[1].Clear();

  totals.BusinessTypeInfo[11].SetAmount(BusinessTypeField::KAZEIHENKANSHUZEINUKI, -1);
  EXPECT_TRUE(HasOldRateAmounts(ctx));
  totals.BusinessTypeInfo[11].Clear();
  totals.BusinessTypeInfo[12].SetAmount(BusinessTypeField::KAZEIURIAGESHUZEIKOMI, 1);
  EXPECT_FALSE(HasOldRateAmounts(ctx));

  totals.OldRateSum3 = 5;
  EXPECT_TRUE(HasOldRateAmounts(ctx));
  std::string out = Basic(BasicSource::kJournal);
  EXPECT_EQ(ElementText(out, "KEIKASHOCHIKAZEISHISAN"), "1");
}

TEST_F(BasicSectionTest, OldRateCheckStaysInsideArraysWhateverTheHostSays) {
  totals.OldRateSum3 = 0;
  totals.RateInfo[1].SetAmount(RF::KAZEIURIAGEZEINUKI, 10000);
  host.taxRateCount = 2;  // only 8% and 5%: n is 1, nothing examined
  EXPECT_FALSE(HasOldRateAmounts(ctx));
  host.taxRateCount = 40;  // far more than the arrays hold
  EXPECT_TRUE(HasOldRateAmounts(ctx));
  host.hasTaxSettingsSet = false;
  EXPECT_FALSE(HasOldRateAmounts(ctx));
}

}  // namespace
}  // namespace ltb::report

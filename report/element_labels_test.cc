#include "report/element_labels.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/env.h"
#include "report/amount_blocks.h"
#include "report/kanpu_blocks.h"
#include "report/report_capture.h"
#include "report/report_reader.h"

namespace ltb::report {
namespace {

// The layout the writers produce, as elements with their blocks.
std::vector<ReportElement> LayoutElements() {
  std::vector<ReportElement> elements;
  std::string error;
  const std::string& layout = ReportLayoutText(*platform::Env::Default());
  EXPECT_EQ(layout.rfind(kReportDeclaration, 0), 0u);
  EXPECT_TRUE(
      ReportElements(std::string_view(layout).substr(kReportDeclaration.size()), &elements, &error))
      << error;
  return elements;
}

TEST(ElementLabelsTest, EveryElementAndBlockTheWritersWriteHasOneLabelOfItsOwn) {
  const std::vector<ReportElement> elements = LayoutElements();
  // SYSTEM 6, BASIC 8, the 21 amount blocks 304, KANPUH 16, KANPUK 17.
  ASSERT_EQ(elements.size(), 6u + 8u + 304u + 16u + 17u);
  std::map<std::string, std::string> labelOf;  // label -> element name
  for (const ReportElement& e : elements) {
    SCOPED_TRACE(e.name);
    const std::string label(ElementLabel(e.name));
    EXPECT_FALSE(label.empty());
    EXPECT_FALSE(BlockLabel(e.block).empty()) << e.block;
    // Two names never share a label, so that a reader can tell them apart.
    auto [it, added] = labelOf.emplace(label, e.name);
    EXPECT_TRUE(added || it->second == e.name) << it->second;
  }
  EXPECT_TRUE(ElementLabel("NOSUCHELEMENT").empty());
}

TEST(ElementLabelsTest, LabelsNameTheTaxTermsOfTheirElements) {
  // The amount blocks say what each element is: the rate, the tax column
  // and the business type must show in its label.
  const std::pair<const char*, const char*> terms[] = {
      {"ZEINUKI", "税抜"}, {"ZEIGAKU", "税額"}, {"ZEIKOMI", "税込"}};
  const char* const kTypes[] = {"第一種事業", "第二種事業", "第三種事業",
                                "第四種事業", "第五種事業", "第六種事業"};
  const char* const kRates[] = {"8%", "5%", "3%"};
  for (const AmountBlock& block : AmountBlocks()) {
    for (const AmountElement& e : block.elements) {
      SCOPED_TRACE(e.name);
      const std::string label(ElementLabel(e.name));
      EXPECT_NE(label.find(kRates[e.rate]), std::string::npos) << label;
      for (auto [suffix, term] : terms) {
        const bool named = e.name.find(std::string(suffix)) != std::string::npos &&
                           e.name.find("MENZEI") == std::string::npos &&
                           e.name.find("HIKAZEIURIAGE") == std::string::npos &&
                           e.name.find("HIKAZEISHISAN") == std::string::npos;
        if (named) {
          EXPECT_NE(label.find(term), std::string::npos) << label;
        }
      }
      if (e.journal == JournalSource::kBusinessType) {
        EXPECT_EQ(label.rfind(kTypes[e.businessType], 0), 0u) << label;
      }
    }
  }
  EXPECT_EQ(ElementLabel("KAZEIURIAGEZEIGAKU8"), "課税売上 税額 8%");
  EXPECT_EQ(ElementLabel("SHIIREHENKANKYOTUUZEIKOMI5"), "仕入返還 共通 税込 5%");
  EXPECT_EQ(ElementLabel("KASHIDAOREKAISHUZEIGAKU3"), "貸倒回収 税額 3%");
  EXPECT_EQ(ElementLabel("KAZEIURIAGE3SHUZEINUKI8"), "第三種事業 課税売上 税抜 8%");
  EXPECT_EQ(ElementLabel("MENZEIURIAGEZEINUKI5"), "免税売上 5%");
  EXPECT_EQ(ElementLabel("HIKAZEIURIAGEHENKANZEINUKI8"), "非課税売上返還 8%");
  EXPECT_EQ(ElementLabel("SHOHINSHIIRE2"), "商品仕入高等 課税仕入れ等にならないもの");
  EXPECT_EQ(ElementLabel("FUDOUSANKOTEISHISAN1"), "不動産所得 固定資産等 取得価額");
  for (const char* name : kKanpukElements) EXPECT_FALSE(ElementLabel(name).empty()) << name;
  EXPECT_EQ(CodeMeaningOf("KAZEIKUBUN", "1"), "原則課税");
  EXPECT_EQ(CodeMeaningOf("KESSANZEIKUBUN", "2"), "税抜経理");
  EXPECT_TRUE(CodeMeaningOf("KAZEIKUBUN", "3").empty());
}

TEST(ReportReaderTest, ElementTextsComeBackUnescapedAndWholeCharactersStayWhole) {
  struct Case {
    std::string line;
    ReportLine::Kind kind;
    std::string name, text;
  };
  const Case cases[] = {
      {"\t\t<KOMONSAKINAME>A&amp;B&lt;&quot;x&quot;&gt;&apos;</KOMONSAKINAME>",
       ReportLine::Kind::kElement, "KOMONSAKINAME", "A&B<\"x\">'"},
      // 0x95 0x5C: a double-byte character whose second byte is a backslash.
      {"\t\t<KOMONSAKINAME>\x95\x5C</KOMONSAKINAME>", ReportLine::Kind::kElement, "KOMONSAKINAME",
       "\x95\x5C"},
      {"\t<DATA>", ReportLine::Kind::kStartTag, "DATA", ""},
      {"\t</DATA>", ReportLine::Kind::kEndTag, "DATA", ""},
      {"\t\t<A>x</B>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<A>a&b</A>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<A>a<b</A>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<A/>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<a>1</a>", ReportLine::Kind::kOther, "", ""},
      // The writer keeps control characters other than tab and CR out of
      // texts; a file holding one (an ESC that would drive the terminal
      // --show prints to, a DEL, one behind a lead byte) is no report.
      {"\t\t<KOMONSAKINAME>a\tb\rc</KOMONSAKINAME>", ReportLine::Kind::kElement, "KOMONSAKINAME",
       "a\tb\rc"},
      {"\t\t<KOMONSAKINAME>a\x1B[2Jb</KOMONSAKINAME>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<KOMONSAKINAME>a\x07</KOMONSAKINAME>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<KOMONSAKINAME>a\x7F</KOMONSAKINAME>", ReportLine::Kind::kOther, "", ""},
      {"\t\t<KOMONSAKINAME>\x95\x1B</KOMONSAKINAME>", ReportLine::Kind::kOther, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ReportLine line = ParseReportLine(c.line);
    EXPECT_EQ(line.kind, c.kind);
    if (c.kind == ReportLine::Kind::kOther) continue;
    EXPECT_EQ(line.name, c.name);
    EXPECT_EQ(line.text, c.text);
  }
}

}  // namespace
}  // namespace ltb::report

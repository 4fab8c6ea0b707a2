// Dates, amounts, tax and names as journal files write them.
#include <gtest/gtest.h>

#include "tools/books/book_amount.h"
#include "tools/books/book_date.h"
#include "tools/books/book_text.h"

namespace ltb::books {
namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(BookDateTest, ReadsEveryFormAndRefusesImpossibleDays) {
  struct Case {
    std::string text;
    long expected;  // 0: refused
  } cases[] = {
      {"2016/4/15", 20160415},
      {"2016/04/15", 20160415},
      {"2016-04-15", 20160415},
      {"20160415", 20160415},
      {"H28/4/15", 20160415},
      {"h28.04.15", 20160415},
      {"R1/5/1", 20190501},
      {"R01/05/01", 20190501},
      {U8(u8"平成28年4月15日"), 20160415},
      {U8(u8"令和元年5月1日"), 20190501},
      {"2016/2/30", 0},
      {"2017/2/29", 0},
      {"H31/5/1", 20190501},
      {"R1/4/30", 0},
      {"2016/4", 0},
      {"16/4/15", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    long date = 0;
    EXPECT_EQ(ParseBookDate(c.text, &date), c.expected != 0) << c.text;
    if (c.expected != 0) {
      EXPECT_EQ(date, c.expected) << c.text;
    }
  }
  EXPECT_EQ(FormatBookDate(20190501, DateForm::kEra), "R01/05/01");
  EXPECT_EQ(FormatBookDate(20160415, DateForm::kEra), "H28/04/15");
}

TEST(BookAmountTest, ReadsSeparatorsSignsAndFullWidthDigits) {
  struct Case {
    std::string text;
    bool ok;
    int64_t units;
  } cases[] = {
      {"1,234,567", true, 12345670000},
      {"-1234.5", true, -12345000},
      {U8(u8"△1,000"), true, -10000000},
      {U8(u8"１，０８０"), true, 10800000},
      {"", true, 0},
      {"1.23456", false, 0},
      {"12a", false, 0},
      {",100", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    int64_t units = 0;
    EXPECT_EQ(ParseBookAmount(c.text, &units), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(units, c.units) << c.text;
    }
  }
  EXPECT_EQ(FormatBookAmount(-12345000), "-1234.5");
  EXPECT_EQ(FormatBookAmount(10800000), "1080");
}

TEST(BookAmountTest, TaxFollowsTheDatasetsRoundingMode) {
  // 1,001 yen tax included at 8%: 74.148... yen of tax.
  EXPECT_EQ(TaxOf(10010000, 800, true, 0), 740000);
  EXPECT_EQ(TaxOf(10010000, 800, true, 1), 740000);
  EXPECT_EQ(TaxOf(10010000, 800, true, 2), 750000);
  // 1,006 yen before tax at 8%: 80.48 yen; 1,007 yen: 80.56 yen.
  EXPECT_EQ(TaxOf(10060000, 800, false, 0), 800000);
  EXPECT_EQ(TaxOf(10070000, 800, false, 0), 810000);
  EXPECT_EQ(TaxOf(-10070000, 800, false, 1), -800000);
  EXPECT_EQ(TaxOf(10800000, 800, true, 1), 800000);
}

TEST(BookTextTest, EncodingIsDetectedAndNamesFoldWidthAndSpaces) {
  EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"
                           "a,b"),
            Encoding::kUtf8);
  EXPECT_EQ(DetectEncoding(U8(u8"日付,摘要")), Encoding::kUtf8);
  EXPECT_EQ(DetectEncoding("\x93\xFA\x95\x74,x"), Encoding::kCp932);  // 日付 in CP932
  // A UTF-8 character cut at the end of the sample does not make it CP932.
  EXPECT_EQ(DetectEncoding(std::string(U8(u8"日付")).substr(0, 4)), Encoding::kUtf8);
  std::string out;
  EXPECT_TRUE(ToUtf8("\x93\xFA\x95\x74", Encoding::kCp932, &out));
  EXPECT_EQ(out, U8(u8"日付"));
  EXPECT_FALSE(ToUtf8("\x93\xFA\x95\x74", Encoding::kUtf8, &out));
  EXPECT_EQ(NormalizeName(U8(u8"課税売上　８％")), U8(u8"課税売上8%"));
  EXPECT_EQ(NormalizeName(U8(u8"ｿﾌﾄｳｪｱ 費")), U8(u8"ソフトウェア費"));
  EXPECT_EQ(NormalizeName(U8(u8"輸入仕入 （国税）")), U8(u8"輸入仕入(国税)"));
}

}  // namespace
}  // namespace ltb::books

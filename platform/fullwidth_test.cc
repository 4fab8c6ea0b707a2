#include "platform/fullwidth.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cp932.h"

namespace ltb::platform {
namespace {

// UTF-8 of code point cp (BMP only).
std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

// Every printable ASCII character becomes U+FF01.. (space U+3000), checked
// against the system's CP932 converter; the backslash stays.
TEST(FullWidthTest, AsciiAgreesWithTheCodePage) {
  for (int c = 0x20; c <= 0x7E; ++c) {
    const std::string in(1, static_cast<char>(c));
    if (c == 0x5C) {
      EXPECT_EQ(ToFullWidth(in), "\\");
      continue;
    }
    std::string expected;
    ASSERT_TRUE(Utf8ToCp932(Utf8Of(c == 0x20 ? 0x3000 : 0xFF00 + (c - 0x20)), &expected)) << c;
    EXPECT_EQ(ToFullWidth(in), expected) << "char " << c;
  }
  EXPECT_EQ(ToFullWidth("A1 ~"), "Ａ１\x81\x40\x81\x60");
}

// Half-width katakana U+FF61..U+FF9D map as their compatibility forms do.
TEST(FullWidthTest, KatakanaAgreeWithTheCodePage) {
  const char32_t full[] = {0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5,
                           0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4,
                           0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5,
                           0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,
                           0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8,
                           0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8,
                           0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3};
  for (int b = 0xA1; b <= 0xDD; ++b) {
    std::string expected;
    ASSERT_TRUE(Utf8ToCp932(Utf8Of(full[b - 0xA1]), &expected));
    EXPECT_EQ(ToFullWidth(std::string(1, static_cast<char>(b))), expected) << std::hex << b;
  }
}

TEST(FullWidthTest, SoundMarksCompose) {
  const std::pair<const char*, const char*> rows[] = {
      {"\xB6\xDE", "ガ"},
      {"\xC2\xDE", "ヅ"},
      {"\xC4\xDE", "ド"},
      {"\xCA\xDE", "バ"},
      {"\xCA\xDF", "パ"},
      {"\xCE\xDF", "ポ"},
      {"\xB3\xDE", "ヴ"},
      {"\xBF\xDE", "ゾ"},
      {"ヽ\xDE", "ヾ"},
      // No composed form: the base and a spacing mark.
      {"\xB1\xDE", "ア゛"},
      {"\xB6\xDF", "カ゜"},
      {"\xDC\xDE", "ワ゛"},
      {"\xA6\xDE", "ヲ゛"},
      {"カ\xDE", "カ゛"},  // a full-width base takes no half-width mark
      {"\xDE", "゛"},
      {"\xDF", "゜"},
      // A whole name: ｶﾌﾞｼｷｶﾞｲｼｬ ﾎﾟｰﾀﾙ
      {"\xB6\xCC\xDE\xBC\xB7\xB6\xDE\xB2\xBC\xAC \xCE\xDF\xB0\xC0\xD9",
       "カブシキガイシャ　ポータル"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(ToFullWidth(in), out) << in;
}

TEST(FullWidthTest, FullWidthAndOtherBytesUnchanged) {
  // Including NEC and IBM extension characters, which a round trip through
  // Unicode would rewrite.
  const std::string full = "表示ソフト\x87\x40\xED\x40\xFA\x40ＡＢ";
  EXPECT_EQ(ToFullWidth(full), full);
  EXPECT_EQ(ToFullWidth("\t\r\n\x7F\x80\xA0\xFD"), "\t\r\n\x7F\x80\xA0\xFD");
  EXPECT_EQ(ToFullWidth("a\x83"), "ａ\x83");  // a dangling lead byte is kept
  EXPECT_EQ(ToFullWidth(""), "");
}

}  // namespace
}  // namespace ltb::platform

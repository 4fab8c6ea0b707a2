#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ltb::platform {
namespace {

using std::string_view_literals::operator""sv;

// UTF-8 text from a u8 literal (narrow literals are CP932 in this build).
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(Cp932ByteClassTest, LeadAndTrailRanges) {
  for (int c = 0; c < 256; ++c) {
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    bool trail = (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)), lead) << c;
    EXPECT_EQ(IsTrailByte(static_cast<unsigned char>(c)), trail) << c;
  }
  // Half-width katakana are single characters that may also be second bytes.
  EXPECT_FALSE(IsLeadByte(0xB6));
  EXPECT_TRUE(IsTrailByte(0xB6));
}

// The byte-type rows of the multibyte helpers, with bytes chosen for code
// page 932 (0x83-0x88 are lead bytes and valid second bytes there).
TEST(Cp932KindTest, ParsesFromTheStart) {
  const std::string_view a = "\x83\x84\x85 \x86\x87 \x88\0"sv;  // 9 bytes
  const std::vector<ByteKind> kinds = {ByteKind::kLead,    ByteKind::kTrail, ByteKind::kLead,
                                       ByteKind::kIllegal, ByteKind::kLead,  ByteKind::kTrail,
                                       ByteKind::kSingle,  ByteKind::kLead,  ByteKind::kIllegal};
  const std::vector<bool> trails = {false, true, false, true, false, true, false, false, true};
  ASSERT_EQ(a.size(), 9u);
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(KindAt(a, i), kinds[i]) << i;
    EXPECT_EQ(IsTrailAt(a, i), trails[i]) << i;
  }

  // Nothing after a NUL byte belongs to a character.
  const std::string_view b = "\x83\0\x84\x85 \x86"sv;
  EXPECT_EQ(KindAt(b, 0), ByteKind::kLead);
  for (size_t i = 1; i < b.size(); ++i) EXPECT_EQ(KindAt(b, i), ByteKind::kIllegal) << i;
  const std::vector<bool> bTrails = {false, true, false, false, false, false};
  for (size_t i = 0; i < b.size(); ++i) EXPECT_EQ(IsTrailAt(b, i), bTrails[i]) << i;

  EXPECT_EQ(KindAt("\x83\x5c", 1), ByteKind::kTrail);
  EXPECT_EQ(KindAt("\x5c\x83\x5c", 0), ByteKind::kSingle);
  EXPECT_EQ(KindAt("\xb6\xde", 0), ByteKind::kSingle);
  EXPECT_EQ(KindAt("\xb6\xde", 1), ByteKind::kSingle);
  EXPECT_EQ(KindAt("\x83\xb6", 1), ByteKind::kTrail);
  EXPECT_EQ(KindAt("\x83\x7f", 1), ByteKind::kIllegal);
  EXPECT_TRUE(IsTrailAt("\xb6\x83\x40", 2));
  EXPECT_EQ(KindAt("ab", 2), ByteKind::kIllegal);  // beyond the end
}

TEST(Cp932KindTest, DoubleByteCharacterMembership) {
  const std::string s = "a表\\";  // 61 95 5C 5C
  ASSERT_EQ(s, "a\x95\x5c\x5c");
  EXPECT_FALSE(IsInDoubleByteChar(s, 0));
  EXPECT_TRUE(IsInDoubleByteChar(s, 1));
  EXPECT_TRUE(IsInDoubleByteChar(s, 2));
  EXPECT_FALSE(IsInDoubleByteChar(s, 3));
  EXPECT_FALSE(IsInDoubleByteChar(s, 4));

  EXPECT_TRUE(EndsWithDoubleByteChar("C:\\表"));
  EXPECT_TRUE(EndsWithDoubleByteChar("ソ"));
  EXPECT_FALSE(EndsWithDoubleByteChar("C:\\表\\"));
  EXPECT_FALSE(EndsWithDoubleByteChar("\xb6"));  // half-width KA
  EXPECT_FALSE(EndsWithDoubleByteChar(""));
}

TEST(Cp932SearchTest, BackslashInsideACharacterIsNotFound) {
  const std::string path = "C:\\ソフト\\表\\a.xml";
  EXPECT_EQ(FindChar(path, '\\'), 2u);
  EXPECT_EQ(FindChar(path, '\\', 3), 9u);    // after ソフト, not inside ソ
  EXPECT_EQ(FindLastChar(path, '\\'), 12u);  // after 表, not inside it
  EXPECT_EQ(FindChar("ソ", '\\'), std::string_view::npos);
  EXPECT_EQ(FindLastChar("表", '\\'), std::string_view::npos);
  EXPECT_EQ(FindLastChar("", '\\'), std::string_view::npos);
  // A dangling lead byte at the end is looked at on its own.
  EXPECT_EQ(FindChar("ab\x83", 'b'), 1u);
  // 'from' inside a double-byte character does not split it.
  EXPECT_EQ(FindChar("ソ\\", '\\', 1), 2u);
}

TEST(Cp932SearchTest, TextMatchesOnlyOnCharacterBoundaries) {
  // "ソ" is 83 5C; searching for "\x5c\x83" must not match across characters.
  EXPECT_EQ(FindText("ソソ", "\x5c\x83"), std::string_view::npos);
  EXPECT_EQ(FindText("aソb", "ソ"), 1u);
  EXPECT_EQ(FindText("abcabc", "bc", 2), 4u);
  EXPECT_EQ(FindText("abc", ""), 0u);
  EXPECT_EQ(FindText("abc", "", 3), 3u);
  EXPECT_EQ(FindText("abc", "abcd"), std::string_view::npos);
}

TEST(Cp932CutTest, NeverEndsInsideACharacter) {
  const std::string s = "aソb";  // 61 83 5C 62
  EXPECT_EQ(CutOnCharBoundary(s, 0), "");
  EXPECT_EQ(CutOnCharBoundary(s, 1), "a");
  EXPECT_EQ(CutOnCharBoundary(s, 2), "a");
  EXPECT_EQ(CutOnCharBoundary(s, 3), "aソ");
  EXPECT_EQ(CutOnCharBoundary(s, 10), s);
  EXPECT_EQ(CutOnCharBoundary("\xb6\xde\xca", 2), "\xb6\xde");  // half-width kana
  EXPECT_EQ(CutOnCharBoundary("\xb6\x83\x40", 2), "\xb6");
}

TEST(Cp932ConversionTest, RoundTripsJapaneseText) {
  const std::string cp = "C:\\ソフト\\表\\ｶﾞ.xml";
  const std::string utf = U8(u8"C:\\ソフト\\表\\ｶﾞ.xml");
  EXPECT_EQ(Cp932ToUtf8(cp), utf);
  std::string back;
  EXPECT_TRUE(Utf8ToCp932(utf, &back));
  EXPECT_EQ(back, cp);
  // 0x5C and 0x7E are the ASCII characters.
  EXPECT_EQ(Cp932ToUtf8("\\~"), "\\~");
}

TEST(Cp932ConversionTest, BadBytesAreReplacedNotDropped) {
  EXPECT_EQ(Cp932ToUtf8("a\x80z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(Cp932ToUtf8("a\x83"), "a\xEF\xBF\xBD");      // cut short
  EXPECT_EQ(Cp932ToUtf8("\x85\x40z"), "\xEF\xBF\xBDz");  // unassigned pair
  EXPECT_EQ(Cp932ToUtf8("\x83 z"), "\xEF\xBF\xBD z");    // invalid second byte
  EXPECT_EQ(Cp932ToUtf8(std::string(10000, 'x') + "\xFF"),
            std::string(10000, 'x') + "\xEF\xBF\xBD");
}

TEST(Cp932ConversionTest, UnrepresentableTextReportsFailure) {
  std::string out;
  EXPECT_FALSE(Utf8ToCp932(U8(u8"a\U0001F600b"), &out));
  EXPECT_EQ(out, "a?b");
  EXPECT_FALSE(Utf8ToCp932("a\xC3(b", &out));  // broken sequence
  EXPECT_EQ(out, "a?(b");
  EXPECT_FALSE(Utf8ToCp932("x\xE3\x81", &out));  // cut short at the end
  EXPECT_EQ(out, "x?");
  EXPECT_TRUE(Utf8ToCp932("", &out));
  EXPECT_EQ(out, "");
}

TEST(Cp932CaseTest, FoldsOnlySingleByteLetters) {
  // 82 60 is full-width A; its second byte 0x60 and the trail 0x41 of
  // "\x83\x41" (ア) must not be folded.
  EXPECT_EQ(AsciiLower("AbC\x83\x41Z"), "abc\x83\x41z");
  EXPECT_TRUE(EqualsIgnoreAsciiCase("ProgramLevel", "PROGRAMLEVEL"));
  EXPECT_TRUE(EqualsIgnoreAsciiCase("ア1", "ア1"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\x83\x41", "\x83\x61"));  // ア vs ャ-ish
  EXPECT_FALSE(EqualsIgnoreAsciiCase("ab", "abc"));
}

}  // namespace
}  // namespace ltb::platform

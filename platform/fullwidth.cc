// Half-width to full-width conversion of CP932 text (LCMAP_FULLWIDTH).
#include "platform/fullwidth.h"

#include "platform/cp932.h"

namespace ltb::platform {
namespace {

// Full-width CP932 forms of ASCII 0x20-0x7E. The backslash 0x5C stays as it
// is: in CP932 it is the path separator (and shown as a yen sign), and the
// Windows conversion leaves it alone.
constexpr const char* kAsciiFull[95] = {
    "\x81\x40", "\x81\x49", "\xFA\x57", "\x81\x94", "\x81\x90", "\x81\x93",  // sp ! " # $ %
    "\x81\x95", "\xFA\x56", "\x81\x69", "\x81\x6A", "\x81\x96", "\x81\x7B",  // & ' ( ) * +
    "\x81\x43", "\x81\x7C", "\x81\x44", "\x81\x5E",                          // , - . /
    "\x82\x4F", "\x82\x50", "\x82\x51", "\x82\x52", "\x82\x53", "\x82\x54",  // 0-5
    "\x82\x55", "\x82\x56", "\x82\x57", "\x82\x58",                          // 6-9
    "\x81\x46", "\x81\x47", "\x81\x83", "\x81\x81", "\x81\x84", "\x81\x48",  // : ; < = > ?
    "\x81\x97",                                                              // @
    "\x82\x60", "\x82\x61", "\x82\x62", "\x82\x63", "\x82\x64", "\x82\x65",  // A-F
    "\x82\x66", "\x82\x67", "\x82\x68", "\x82\x69", "\x82\x6A", "\x82\x6B",  // G-L
    "\x82\x6C", "\x82\x6D", "\x82\x6E", "\x82\x6F", "\x82\x70", "\x82\x71",  // M-R
    "\x82\x72", "\x82\x73", "\x82\x74", "\x82\x75", "\x82\x76", "\x82\x77",  // S-X
    "\x82\x78", "\x82\x79",                                                  // Y Z
    "\x81\x6D", "\\",       "\x81\x6E", "\x81\x4F", "\x81\x51", "\x81\x4D",  // [ \ ] ^ _ `
    "\x82\x81", "\x82\x82", "\x82\x83", "\x82\x84", "\x82\x85", "\x82\x86",  // a-f
    "\x82\x87", "\x82\x88", "\x82\x89", "\x82\x8A", "\x82\x8B", "\x82\x8C",  // g-l
    "\x82\x8D", "\x82\x8E", "\x82\x8F", "\x82\x90", "\x82\x91", "\x82\x92",  // m-r
    "\x82\x93", "\x82\x94", "\x82\x95", "\x82\x96", "\x82\x97", "\x82\x98",  // s-x
    "\x82\x99", "\x82\x9A",                                                  // y z
    "\x81\x6F", "\x81\x62", "\x81\x70", "\x81\x60",                          // { | } ~
};

// Full-width CP932 forms of the half-width katakana 0xA1-0xDF. The lone
// sound marks become the spacing marks ゛ and ゜, which CP932 can hold.
constexpr const char* kKanaFull[63] = {
    "\x81\x42", "\x81\x75", "\x81\x76", "\x81\x41", "\x81\x45", "\x83\x92",  // A1-A6
    "\x83\x40", "\x83\x42", "\x83\x44", "\x83\x46", "\x83\x48", "\x83\x83",  // A7-AC
    "\x83\x85", "\x83\x87", "\x83\x62", "\x81\x5B", "\x83\x41", "\x83\x43",  // AD-B2
    "\x83\x45", "\x83\x47", "\x83\x49", "\x83\x4A", "\x83\x4C", "\x83\x4E",  // B3-B8
    "\x83\x50", "\x83\x52", "\x83\x54", "\x83\x56", "\x83\x58", "\x83\x5A",  // B9-BE
    "\x83\x5C", "\x83\x5E", "\x83\x60", "\x83\x63", "\x83\x65", "\x83\x67",  // BF-C4
    "\x83\x69", "\x83\x6A", "\x83\x6B", "\x83\x6C", "\x83\x6D", "\x83\x6E",  // C5-CA
    "\x83\x71", "\x83\x74", "\x83\x77", "\x83\x7A", "\x83\x7D", "\x83\x7E",  // CB-D0
    "\x83\x80", "\x83\x81", "\x83\x82", "\x83\x84", "\x83\x86", "\x83\x88",  // D1-D6
    "\x83\x89", "\x83\x8A", "\x83\x8B", "\x83\x8C", "\x83\x8D", "\x83\x8F",  // D7-DC
    "\x83\x93", "\x81\x4A", "\x81\x4B",                                      // DD-DF
};

constexpr unsigned char kVoiced = 0xDE;
constexpr unsigned char kSemiVoiced = 0xDF;

// The full-width form of half-width base b followed by mark, or nullptr
// when the pair does not compose. The voiced forms follow their base in
// CP932 (カ 83 4A, ガ 83 4B; ハ 83 6E, バ 83 6F, パ 83 70).
bool Compose(unsigned char b, unsigned char mark, std::string* out) {
  const bool voiceable = (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
  const bool semiVoiceable = b >= 0xCA && b <= 0xCE;
  std::string base = kKanaFull[b - 0xA1];
  if (mark == kVoiced && b == 0xB3) {
    *out += "\x83\x94";  // ｳﾞ -> ヴ
    return true;
  }
  if ((mark == kVoiced && voiceable) || (mark == kSemiVoiced && semiVoiceable)) {
    base[1] = static_cast<char>(base[1] + (mark == kVoiced ? 1 : 2));
    *out += base;
    return true;
  }
  return false;
}

}  // namespace

std::string ToFullWidth(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(c) && i + 1 < s.size()) {
      // Full-width already; only ヽ takes a following half-width voiced
      // mark into ヾ.
      if (c == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x52 && i + 2 < s.size() &&
          static_cast<unsigned char>(s[i + 2]) == kVoiced) {
        out += "\x81\x53";
        i += 2;
        continue;
      }
      out += s.substr(i, 2);
      ++i;
    } else if (c >= 0x20 && c <= 0x7E) {
      out += kAsciiFull[c - 0x20];
    } else if (c >= 0xA1 && c <= 0xDF) {
      if (i + 1 < s.size() && Compose(c, static_cast<unsigned char>(s[i + 1]), &out)) {
        ++i;
      } else {
        // ﾜﾞ and ｦﾞ have composed forms outside CP932; they stay two
        // characters (ワ゛), as does any other uncomposable pair.
        out += kKanaFull[c - 0xA1];
      }
    } else {
      out += static_cast<char>(c);  // controls and bytes outside CP932
    }
  }
  return out;
}

}  // namespace ltb::platform

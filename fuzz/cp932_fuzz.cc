// CP932 byte classes, double-byte-aware searches, conversions to and from
// UTF-8 and the full-width conversion over fuzzed bytes.
//
// Input: one byte for a search character and a cut length, a needle ending
// in 0x00, then the text.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/cp932.h"
#include "platform/fullwidth.h"

namespace {

using namespace ltb::platform;
constexpr auto npos = std::string_view::npos;

void CheckByteKinds(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const ByteKind kind = KindAt(s, i);
    if (kind == ByteKind::kTrail) LTB_FUZZ_CHECK(IsTrailAt(s, i));
    if (kind == ByteKind::kLead) LTB_FUZZ_CHECK(!IsTrailAt(s, i) && IsInDoubleByteChar(s, i));
    if (kind == ByteKind::kSingle) LTB_FUZZ_CHECK(!IsInDoubleByteChar(s, i));
  }
}

void CheckSearches(std::string_view s, char c, std::string_view needle, size_t cut) {
  const size_t first = FindChar(s, c);
  if (first != npos) {
    LTB_FUZZ_CHECK(s[first] == c && !IsTrailAt(s, first));
    LTB_FUZZ_CHECK(FindChar(s, c, first + 1) == npos || FindChar(s, c, first + 1) > first);
  }
  const size_t last = FindLastChar(s, c);
  LTB_FUZZ_CHECK((first == npos) == (last == npos));
  if (last != npos) LTB_FUZZ_CHECK(last >= first && s[last] == c && !IsTrailAt(s, last));

  const size_t at = FindText(s, needle);
  if (at != npos) {
    LTB_FUZZ_CHECK(s.substr(at).starts_with(needle));
    LTB_FUZZ_CHECK(at == s.size() || !IsTrailAt(s, at));
  }

  const std::string_view cutText = CutOnCharBoundary(s, cut);
  LTB_FUZZ_CHECK(cutText.size() <= cut || cutText.size() == s.size());
  LTB_FUZZ_CHECK(s.starts_with(cutText));
  // The cut never splits a character: the next byte is not a trail byte.
  if (cutText.size() < s.size() && !cutText.empty()) {
    LTB_FUZZ_CHECK(!IsTrailAt(s, cutText.size()) || s.find('\0') < cutText.size());
  }
}

void CheckConversions(std::string_view s) {
  const std::string utf8 = Cp932ToUtf8(s);
  std::string back;
  const bool complete = Utf8ToCp932(utf8, &back);
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos) {
    // Valid CP932 text converts both ways, and its UTF-8 form is stable.
    LTB_FUZZ_CHECK(complete);
    LTB_FUZZ_CHECK(Cp932ToUtf8(back) == utf8);
  }
  std::string ignored;
  Utf8ToCp932(s, &ignored);  // the raw bytes read as UTF-8

  const std::string lower = AsciiLower(s);
  LTB_FUZZ_CHECK(lower.size() == s.size());
  LTB_FUZZ_CHECK(EqualsIgnoreAsciiCase(s, lower));
  LTB_FUZZ_CHECK(AsciiLower(lower) == lower);

  // Full-width text is left as it is.
  const std::string wide = ToFullWidth(s);
  LTB_FUZZ_CHECK(ToFullWidth(wide) == wide);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const uint8_t choice = in.Byte();
  const std::string_view needle = in.Field();
  const std::string_view text = in.Rest();
  const char c = "\\/:,;*?\"<>|[]=.\r\n "[choice % 19];
  CheckByteKinds(text);
  CheckSearches(text, c, needle, choice);
  CheckConversions(text);
  return 0;
}

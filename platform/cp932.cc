// Code page 932 byte classes, double-byte-aware searches and conversions.
#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace ltb::platform {
namespace {

// Where a byte stands when the text is parsed from its start, the way the C
// runtime's multibyte helpers parse it: a lead byte always takes the next
// byte as its second half, valid or not, and nothing after a NUL byte
// belongs to any character.
enum class Position { kSingle, kLead, kTrail, kPastEnd };

Position PositionOf(std::string_view s, size_t pos) {
  if (pos >= s.size()) return Position::kPastEnd;
  bool afterLead = false;
  for (size_t i = 0; i < pos; ++i) {
    if (s[i] == '\0') return Position::kPastEnd;
    afterLead = !afterLead && IsLeadByte(static_cast<unsigned char>(s[i]));
  }
  if (afterLead) return Position::kTrail;
  return IsLeadByte(static_cast<unsigned char>(s[pos])) ? Position::kLead : Position::kSingle;
}

// Calls f(index) for every character that starts at index and is a single
// byte; double-byte characters (a lead byte with a byte after it) are
// stepped over whole.
template <typename F>
void ForEachSingleByteChar(std::string_view s, F f) {
  for (size_t i = 0; i < s.size();) {
    if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
      i += 2;
      continue;
    }
    if (!f(i)) return;
    ++i;
  }
}

// One iconv descriptor per thread and direction, reset before each use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible. Returns the number of input bytes left
  // unconverted at the first failure (0 when everything converted); *err is
  // the errno of that failure.
  size_t Convert(std::string_view in, std::string* out, int* err) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof(buf);
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out->append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        *err = errno;
        return srcLeft;
      }
    }
    // Flush any shift state (none for these encodings, but cheap).
    char* dst = buf;
    size_t dstLeft = sizeof(buf);
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out->append(buf, static_cast<size_t>(dst - buf));
    *err = 0;
    return 0;
  }

 private:
  iconv_t cd_;
};

Converter& FromCp932() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

Converter& ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

// Length of the UTF-8 sequence that starts with byte b (1 for a byte that
// cannot start one, so that a bad byte is skipped alone).
size_t Utf8SequenceLength(unsigned char b) {
  if (b >= 0xF0 && b <= 0xF4) return 4;
  if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
  if (b >= 0xC2) return 2;
  return 1;
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

}  // namespace

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

ByteKind KindAt(std::string_view s, size_t pos) {
  switch (PositionOf(s, pos)) {
    case Position::kSingle: return ByteKind::kSingle;
    case Position::kLead: return ByteKind::kLead;
    case Position::kTrail:
      return IsTrailByte(static_cast<unsigned char>(s[pos])) ? ByteKind::kTrail
                                                             : ByteKind::kIllegal;
    case Position::kPastEnd: break;
  }
  return ByteKind::kIllegal;
}

bool IsTrailAt(std::string_view s, size_t pos) { return PositionOf(s, pos) == Position::kTrail; }

bool IsInDoubleByteChar(std::string_view s, size_t pos) {
  Position p = PositionOf(s, pos);
  return p == Position::kLead || p == Position::kTrail;
}

bool EndsWithDoubleByteChar(std::string_view s) {
  return !s.empty() && IsInDoubleByteChar(s, s.size() - 1);
}

size_t FindChar(std::string_view s, char c, size_t from) {
  size_t found = std::string_view::npos;
  ForEachSingleByteChar(s, [&](size_t i) {
    if (i >= from && s[i] == c) {
      found = i;
      return false;
    }
    return true;
  });
  return found;
}

size_t FindLastChar(std::string_view s, char c) {
  size_t found = std::string_view::npos;
  ForEachSingleByteChar(s, [&](size_t i) {
    if (s[i] == c) found = i;
    return true;
  });
  return found;
}

size_t FindText(std::string_view s, std::string_view needle, size_t from) {
  // A match must start on a character boundary; a well-formed needle then
  // lines up with the characters of s.
  for (size_t i = 0; i <= s.size();) {
    if (i >= from && s.substr(i).starts_with(needle)) return i;
    if (i == s.size()) break;
    i += (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  return std::string_view::npos;
}

std::string_view CutOnCharBoundary(std::string_view s, size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  size_t end = 0;
  for (size_t i = 0; i < maxBytes;) {
    size_t width = (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
    end = i;
  }
  return s.substr(0, end);
}

std::string Cp932ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 3 / 2);
  Converter& conv = FromCp932();
  if (!conv.ok()) {
    // Without a converter only ASCII can be carried over faithfully.
    for (char c : s) {
      if (static_cast<unsigned char>(c) < 0x80)
        out += c;
      else
        out += kReplacementUtf8;
    }
    return out;
  }
  while (!s.empty()) {
    int err = 0;
    size_t left = conv.Convert(s, &out, &err);
    if (left == 0) break;
    // Replace the offending character: a lead byte with a valid second byte
    // is one (unassigned) character; anything else is a single bad byte.
    size_t at = s.size() - left;
    size_t width = 1;
    if (left >= 2 && IsLeadByte(static_cast<unsigned char>(s[at])) &&
        IsTrailByte(static_cast<unsigned char>(s[at + 1]))) {
      width = 2;
    }
    out += kReplacementUtf8;
    s.remove_prefix(at + width);
  }
  return out;
}

bool Utf8ToCp932(std::string_view s, std::string* out) {
  out->clear();
  out->reserve(s.size());
  Converter& conv = ToCp932();
  bool complete = true;
  if (!conv.ok()) {
    for (char c : s) {
      if (static_cast<unsigned char>(c) < 0x80) {
        *out += c;
      } else {
        *out += '?';
        complete = false;
      }
    }
    return complete;
  }
  while (!s.empty()) {
    int err = 0;
    size_t left = conv.Convert(s, out, &err);
    if (left == 0) break;
    complete = false;
    size_t at = s.size() - left;
    size_t width = Utf8SequenceLength(static_cast<unsigned char>(s[at]));
    if (width > left) width = left;
    // A sequence cut short by a bad byte is skipped only up to that byte.
    for (size_t k = 1; k < width; ++k) {
      if ((static_cast<unsigned char>(s[at + k]) & 0xC0) != 0x80) {
        width = k;
        break;
      }
    }
    *out += '?';
    s.remove_prefix(at + width);
  }
  return complete;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  ForEachSingleByteChar(out, [&](size_t i) {
    if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    return true;
  });
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(x) && i + 1 < a.size()) {
      // Second bytes compare exactly: a trail byte in 'A'..'Z' is no letter.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace ltb::platform

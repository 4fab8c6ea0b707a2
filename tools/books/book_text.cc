#include "tools/books/book_text.h"

#include "platform/cp932.h"
#include "platform/fullwidth.h"

namespace ltb::books {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the UTF-8 sequence starting at s[i], or 0 when none is
// well-formed there; *cut is set when the sequence runs past the end.
size_t SequenceLength(std::string_view s, size_t i, bool* cut) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n;
  uint32_t cp;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3, cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4, cp = c & 0x07;
  } else {
    return 0;
  }
  for (size_t k = 1; k < n; ++k) {
    if (i + k >= s.size()) {
      *cut = true;
      return 0;
    }
    const unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (t & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return n;
}

bool ScanUtf8(std::string_view s, bool allowCutEnd) {
  for (size_t i = 0; i < s.size();) {
    bool cut = false;
    const size_t n = SequenceLength(s, i, &cut);
    if (n == 0) return cut && allowCutEnd;
    i += n;
  }
  return true;
}

}  // namespace

bool ParseEncoding(std::string_view name, Encoding* out) {
  if (name == "auto") {
    *out = Encoding::kAuto;
  } else if (name == "utf-8" || name == "utf8" || name == "UTF-8") {
    *out = Encoding::kUtf8;
  } else if (name == "cp932" || name == "shift_jis" || name == "sjis" || name == "CP932" ||
             name == "Shift_JIS") {
    *out = Encoding::kCp932;
  } else {
    return false;
  }
  return true;
}

const char* EncodingName(Encoding e) {
  switch (e) {
    case Encoding::kAuto: return "auto";
    case Encoding::kUtf8: return "utf-8";
    case Encoding::kCp932: return "cp932";
  }
  return "auto";
}

Encoding DetectEncoding(std::string_view head) {
  if (head.starts_with("\xEF\xBB\xBF")) return Encoding::kUtf8;
  return ScanUtf8(head, true) ? Encoding::kUtf8 : Encoding::kCp932;
}

bool IsValidUtf8(std::string_view s) { return ScanUtf8(s, false); }

bool ToUtf8(std::string_view bytes, Encoding encoding, std::string* out) {
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii || encoding == Encoding::kUtf8) {
    out->assign(bytes);
    return ascii || IsValidUtf8(bytes);
  }
  *out = platform::Cp932ToUtf8(bytes);
  // CP932 has no U+FFFD of its own: one in the result marks bytes that are
  // not CP932.
  return out->find(kReplacement) == std::string::npos;
}

bool IsBlank(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    if (s[i] == ' ' || s[i] == '\t') {
      ++i;
    } else if (s.substr(i, 3) == "\xE3\x80\x80") {
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

std::string NormalizeName(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
      if (c != ' ' && c != '\t') out += c;
    }
    return out;
  }
  // Through CP932 the platform's width mapping folds half-width katakana
  // (and ASCII) to full width; ASCII is then brought back to half width.
  std::string text(utf8);
  std::string cp932;
  if (platform::Utf8ToCp932(utf8, &cp932))
    text = platform::Cp932ToUtf8(platform::ToFullWidth(cp932));
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    // U+3000 ideographic space: E3 80 80.
    if (c == 0xE3 && i + 2 < text.size() && text[i + 1] == '\x80' && text[i + 2] == '\x80') {
      i += 3;
      continue;
    }
    // U+FF01..U+FF5E (EF BC 81 .. EF BD 9E) to ASCII 0x21..0x7E.
    if (c == 0xEF && i + 2 < text.size()) {
      const unsigned char b1 = static_cast<unsigned char>(text[i + 1]);
      const unsigned char b2 = static_cast<unsigned char>(text[i + 2]);
      const uint32_t cp = ((c & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
      if (cp >= 0xFF01 && cp <= 0xFF5E) {
        out += static_cast<char>(cp - 0xFF01 + 0x21);
        i += 3;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

}  // namespace ltb::books

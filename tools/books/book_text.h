// Text of bookkeepers' journal files: the file's encoding, and the
// normalisation that makes names typed in different widths and spacings
// compare equal.
#pragma once

#include <string>
#include <string_view>

namespace ltb::books {

enum class Encoding { kAuto, kUtf8, kCp932 };

// "auto", "utf-8" (or "utf8"), "cp932" (or "shift_jis", "sjis"); false for
// anything else.
bool ParseEncoding(std::string_view name, Encoding* out);
const char* EncodingName(Encoding e);

// The encoding of a file that starts with `head`: UTF-8 when it starts with
// a byte-order mark or is valid UTF-8 (a character cut at the end of `head`
// aside), else CP932.
Encoding DetectEncoding(std::string_view head);

// Whether `s` is well-formed UTF-8.
bool IsValidUtf8(std::string_view s);

// Converts one field of a file in `encoding` (not kAuto) to UTF-8; false
// when the bytes are not valid in that encoding.
bool ToUtf8(std::string_view bytes, Encoding encoding, std::string* out);

// A UTF-8 text folded for comparison: full-width ASCII letters, digits and
// signs become half-width, half-width katakana become full-width, and every
// space (ASCII, tab, ideographic) is removed.
std::string NormalizeName(std::string_view utf8);

// Whether a UTF-8 text holds nothing but spaces (ASCII, tab, ideographic).
bool IsBlank(std::string_view utf8);

}  // namespace ltb::books

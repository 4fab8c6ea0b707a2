// Code page 932 (Windows Shift_JIS) byte helpers and conversions.
//
// Every search here is double-byte aware: the second byte of a double-byte
// character (which may be 0x5C, the backslash) is never taken for a
// character of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ltb::platform {

// Lead bytes 0x81-0x9F and 0xE0-0xFC.
bool IsLeadByte(unsigned char c);
// Trail bytes 0x40-0x7E and 0x80-0xFC.
bool IsTrailByte(unsigned char c);

enum class ByteKind { kSingle, kLead, kTrail, kIllegal };
// Kind of s[pos], found by scanning from the start of s (as _mbsbtype).
// A lead byte followed by no valid trail byte counts as kIllegal.
ByteKind KindAt(std::string_view s, size_t pos);
// True when s[pos] is the second byte of a double-byte character.
bool IsTrailAt(std::string_view s, size_t pos);
// True when s[pos] is the first or the second byte of a double-byte character.
bool IsInDoubleByteChar(std::string_view s, size_t pos);
// True when the last character of s is a double-byte character.
bool EndsWithDoubleByteChar(std::string_view s);

// Searches that skip both bytes of every double-byte character;
// std::string_view::npos when absent.
size_t FindChar(std::string_view s, char c, size_t from = 0);
size_t FindLastChar(std::string_view s, char c);
size_t FindText(std::string_view s, std::string_view needle, size_t from = 0);

// The longest prefix of at most maxBytes bytes that does not end inside a
// double-byte character.
std::string_view CutOnCharBoundary(std::string_view s, size_t maxBytes);

// CP932 to UTF-8; bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view s);
// UTF-8 to CP932; false (and *out holds what could be converted, with '?'
// for the rest) when a character has no CP932 form or the input is not UTF-8.
bool Utf8ToCp932(std::string_view s, std::string* out);

// ASCII letters lowered; the bytes of double-byte characters are left alone
// (their second byte may lie in 'A'..'Z').
std::string AsciiLower(std::string_view s);
// Equality with ASCII letters compared case-insensitively, double-byte aware
// (as Windows compares section, key, drive and share names).
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace ltb::platform

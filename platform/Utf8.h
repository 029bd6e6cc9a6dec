#pragma once
// The program's text is UTF-8 inside; Windows takes UTF-16 at its wide
// functions. These rules step over, cut and convert UTF-8 without ever
// reading past the end of what they are given or splitting a character.
#include <cstddef>
#include <string>
#include <string_view>

namespace Text {

// U+FFFD, drawn where the input holds bytes that are no UTF-8 character.
constexpr char32_t kReplacementCharacter = 0xFFFD;

// The length in bytes of the character that starts the n bytes at p: 1 to 4
// for a well-formed sequence, 1 for a byte that starts none (a stray
// continuation byte, an overlong or cut-off sequence, a surrogate), 0 for
// n == 0. Never reads beyond p + n.
size_t Utf8CharLength(const char* p, size_t n);

// The start of the character after the one that starts at p, in a
// NUL-terminated text; never passes the terminating NUL.
const char* Utf8Next(const char* p);

// The largest length <= limit at which text may be cut without splitting a
// character (text.size() when it fits).
size_t Utf8CutLength(std::string_view text, size_t limit);

// The number of characters (as Utf8CharLength steps) in text.
size_t Utf8CharCount(std::string_view text);

// How many bytes of text make its first whole characters whose UTF-16 form
// takes at most `units` units (a measure in UTF-16 units taken back to bytes).
size_t Utf8BytesForUnits(std::string_view text, size_t units);

// The width of text in columns, as the window's width estimates count it:
// one for a one-byte (ASCII) character, two for any other (a Chinese
// character is as wide as two letters, as its two bytes counted in the
// Chinese code page the estimates were made for).
size_t Utf8Columns(std::string_view text);

// UTF-8 to UTF-16: every ill-formed sequence becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8: an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace Text

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Loom {

// Where a value reader stopped: ok is false when the text did not hold what
// was asked for (a number without digits, a list cut short); pos is the
// offset of the first character not read.
struct TReadStatus {
    bool ok = true;
    size_t pos = 0;
};

// The value rules of the toolkit's attributes and image strings.
class ValueReaders {
public:
    // Reads count numbers into values: each a signed decimal integer with
    // leading blanks allowed, followed by exactly one skipped character of
    // any kind (the separator). Numbers beyond the 32-bit range are clamped.
    // A number without digits reads as 0; values past the end of the text
    // are 0. Never reads past the terminating NUL.
    static TReadStatus ReadNumberList(const char* text, int* values, int count);
    // One signed decimal number, leading blanks allowed, clamped to 32 bits;
    // 0 without digits. end (optional) receives the offset after it.
    static int ReadInt(const char* text, size_t* end = nullptr);
    // True exactly when the text is "true".
    static bool ReadBool(const char* text);
    // An optional '#' (after leading blanks) and hexadecimal digits, read as
    // a 32-bit 0xAARRGGBB value; more than eight digits saturate at
    // 0xFFFFFFFF, no digits give 0.
    static uint32_t ReadColor(const char* text);
};

}  // namespace Loom

#include "platform/Utf8.h"

namespace Text {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the character at p (n > 0 bytes available); length gets its size.
char32_t Decode(const unsigned char* p, size_t n, size_t& length) {
    const unsigned char c = p[0];
    length = 1;
    if (c < 0x80) return c;
    size_t need;
    char32_t value;
    char32_t least;
    if (c >= 0xC2 && c <= 0xDF) {
        need = 2, value = c & 0x1F, least = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 3, value = c & 0x0F, least = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 4, value = c & 0x07, least = 0x10000;
    } else {
        return kReplacementCharacter;
    }
    if (n < need) return kReplacementCharacter;
    for (size_t i = 1; i < need; ++i) {
        if (!IsContinuation(p[i])) return kReplacementCharacter;
        value = (value << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values above U+10FFFF start no character.
    if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return kReplacementCharacter;
    length = need;
    return value;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

size_t Utf8CharLength(const char* p, size_t n) {
    if (n == 0) return 0;
    size_t length;
    Decode(reinterpret_cast<const unsigned char*>(p), n, length);
    return length;
}

const char* Utf8Next(const char* p) {
    if (*p == '\0') return p;
    // A NUL is no continuation byte, so the decoder stops at it.
    size_t n = 1;
    while (n < 4 && p[n] != '\0') ++n;
    return p + Utf8CharLength(p, n);
}

size_t Utf8CutLength(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    size_t at = 0;
    while (at < limit) {
        const size_t length = Utf8CharLength(text.data() + at, text.size() - at);
        if (at + length > limit) break;
        at += length;
    }
    return at;
}

size_t Utf8CharCount(std::string_view text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); at += Utf8CharLength(text.data() + at, text.size() - at)) ++count;
    return count;
}

size_t Utf8Columns(std::string_view text) {
    size_t columns = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8CharLength(text.data() + at, text.size() - at);
        columns += length == 1 ? 1 : 2;
        at += length;
    }
    return columns;
}

size_t Utf8BytesForUnits(std::string_view text, size_t units) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t at = 0;
    size_t used = 0;
    while (at < text.size()) {
        size_t length;
        const size_t need = Decode(p + at, text.size() - at, length) >= 0x10000 ? 2 : 1;
        if (used + need > units) break;
        used += need;
        at += length;
    }
    return at;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t at = 0;
    while (at < text.size()) {
        size_t length;
        const char32_t c = Decode(p + at, text.size() - at, length);
        at += length;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacementCharacter;
        }
        Append(out, c);
    }
    return out;
}

}  // namespace Text

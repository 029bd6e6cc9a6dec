#include "Loom/Render/ValueReaders.h"

#include <climits>

namespace Loom {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one number; digits tells whether any were found.
int ReadNumber(const char* text, size_t& pos, bool& digits) {
    size_t p = pos;
    while (IsBlank(text[p])) ++p;
    bool negative = false;
    if (text[p] == '+' || text[p] == '-') negative = text[p++] == '-';
    long long value = 0;
    digits = false;
    while (text[p] >= '0' && text[p] <= '9') {
        digits = true;
        // Saturate early so any number of digits is safe.
        if (value <= LLONG_MAX / 10 - 10) value = value * 10 + (text[p] - '0');
        ++p;
    }
    if (!digits) return 0;  // like strtol: nothing consumed
    pos = p;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

TReadStatus ValueReaders::ReadNumberList(const char* text, int* values, int count) {
    TReadStatus status;
    if (text == nullptr) text = "";
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        bool digits = false;
        values[i] = ReadNumber(text, pos, digits);
        if (!digits) status.ok = false;
        // The separator: one character, whatever it is, but never the end.
        if (text[pos] != '\0') ++pos;
    }
    status.pos = pos;
    return status;
}

int ValueReaders::ReadInt(const char* text, size_t* end) {
    if (text == nullptr) text = "";
    size_t pos = 0;
    bool digits = false;
    int value = ReadNumber(text, pos, digits);
    if (end) *end = pos;
    return value;
}

bool ValueReaders::ReadBool(const char* text) { return text != nullptr && std::string(text) == "true"; }

uint32_t ValueReaders::ReadColor(const char* text) {
    if (text == nullptr) return 0;
    while (IsBlank(*text)) ++text;
    if (*text == '#') ++text;
    uint64_t value = 0;
    for (int d = HexDigit(*text); d >= 0; d = HexDigit(*++text)) {
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull) value = 0x100000000ull;  // stays saturated
    }
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

}  // namespace Loom

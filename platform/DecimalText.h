#pragma once
#include <climits>
#include <string>

// Reads a decimal integer as C's atoi does (leading blanks, an optional sign,
// digits up to the first non-digit, no digits = 0), but saturates at the int
// limits instead of overflowing.
inline int ReadLeadingInt(const std::string& text, size_t from = 0) {
    size_t i = from;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // stays saturated
    }
    if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

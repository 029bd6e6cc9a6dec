#pragma once
#include <string>
#include <vector>

#include "radio/RadioSettings.h"

// How a value read back after a write is compared with the value written.
enum class VerifyKind {
    // Plain decimal numbers compare by value: "430.125" holds "430.12500",
    // "7" holds "007". A text that is no plain decimal number (digits with at
    // most one point, blanks around it allowed) holds only the same text.
    Decimal,
    // The same characters; blanks at either end do not count.
    Text,
};

// True when the radio's value `read` holds the value `written`.
bool SameValue(VerifyKind kind, const std::string& written, const std::string& read);

// A field whose value the radio does not hold after a write.
struct VerifyMismatch {
    std::string field;  // its name in the language of the moment
    std::string written;
    std::string read;
};

// The one message listing every mismatch: a heading, then a line per field
// with the value written and the value read.
std::string FormatMismatches(const std::vector<VerifyMismatch>& mismatches, Language language);

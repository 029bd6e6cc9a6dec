#include "radio/RadioTables.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <limits>

#include "platform/DecimalText.h"

namespace RadioTables {

const char* const kProtocolItems[kProtocolCount] = {
    " TRIMTALK", " TRANSMDS", " HUACE", " TRIMMK3", " SOUTH", " HI-TARGET", " BURN-IN", " TRANSEOT", " SATEL",
};
const char* const kPortBaudItems[5] = {" 9600", " 19200", " 38400", " 57600", " 115200"};
const char* const kBandwidthItems[2] = {" 12.5K", " 25.0K"};
const char* const kBandwidthWire[2] = {"12.5", "25.0"};
const char* const kWorkModeWire[3] = {"tx", "duplex", "repeater"};
const char* const kHighPowerItems[3] = {" 35W", " 30W", " 25W"};
const char* const kLowPowerItems[3] = {" 15W", " 10W", " 5W"};

const double DefaultFrequencyTable[10] = {
    431.125, 432.125, 433.125, 434.125, 435.125, 436.125, 437.125, 438.125, 439.125, 440.125,
};

namespace {

template <std::size_t N>
std::vector<std::string> ToList(const char* const (&items)[N]) {
    return std::vector<std::string>(items, items + N);
}

// Which rates each protocol offers over the air, in protocol table order.
enum LinkRates { Rates4800_9600, Rates4800_9600_19200, Rates4800_19200, Rates9600_19200 };
const LinkRates kProtocolLinkRates[kProtocolCount] = {
    Rates4800_9600,        // TRIMTALK
    Rates4800_9600,        // TRANSMDS
    Rates4800_9600_19200,  // HUACE
    Rates4800_19200,       // TRIMMK3
    Rates4800_9600_19200,  // SOUTH
    Rates4800_19200,       // HI-TARGET
    Rates4800_9600,        // BURN-IN
    Rates4800_9600_19200,  // TRANSEOT
    Rates9600_19200,       // SATEL
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(const std::string& text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos;
}

// End of the exponent that starts at `pos` ('e' or 'E'), or `pos` itself when
// no digit follows, in which case the 'e' is not part of the number.
std::size_t ExponentEnd(const std::string& text, std::size_t pos) {
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) return pos;
    std::size_t p = pos + 1;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    std::size_t end = SkipDigits(text, p);
    return end > p ? end : pos;
}

}  // namespace

std::vector<std::string> WorkModeItems(Language language) {
    if (language == Language::Chinese) return {"单发", "收发一体", "中继"};
    return {" TX only", " duplex", " repeater"};
}

std::vector<std::string> CurrentChannelItems(Language language) {
    const char* prefix = language == Language::Chinese ? " 频道" : " Channel";
    std::vector<std::string> items;
    for (int channel = 1; channel <= 8; ++channel) items.push_back(prefix + std::to_string(channel));
    return items;
}

std::vector<std::string> LinkBaudItems(int protocolPosition) {
    if (protocolPosition < 0 || protocolPosition >= kProtocolCount) return {" 4800", " 9600", " 19200"};
    switch (kProtocolLinkRates[protocolPosition]) {
    case Rates4800_9600:
        return {" 4800", " 9600"};
    case Rates4800_19200:
        return {" 4800", " 19200"};
    case Rates9600_19200:
        return {" 9600", " 19200"};
    case Rates4800_9600_19200:
        break;
    }
    return {" 4800", " 9600", " 19200"};
}

std::vector<std::string> ProtocolList() { return ToList(kProtocolItems); }
std::vector<std::string> PortBaudList() { return ToList(kPortBaudItems); }
std::vector<std::string> BandwidthList() { return ToList(kBandwidthItems); }
std::vector<std::string> HighPowerList() { return ToList(kHighPowerItems); }
std::vector<std::string> LowPowerList() { return ToList(kLowPowerItems); }

std::string FormatFrequency(double mhz) {
    // std::to_chars never consults the locale and rounds exactly as printf
    // does; the buffer holds the widest double in fixed notation.
    char digits[400];
    auto result = std::to_chars(digits, digits + sizeof digits, mhz, std::chars_format::fixed, 5);
    std::string text(digits, result.ptr);
    if (!std::isfinite(mhz)) return text.size() < 9 ? std::string(9 - text.size(), ' ') + text : text;
    std::size_t signWidth = text[0] == '-' ? 1 : 0;
    if (text.size() < 9) text.insert(signWidth, 9 - text.size(), '0');
    return text;
}

double ReadFrequency(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::size_t start = pos;
    std::size_t end = SkipDigits(text, pos);
    bool anyDigit = end > start;
    if (end < text.size() && text[end] == '.') {
        std::size_t fractionEnd = SkipDigits(text, end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) return 0.0;
    const std::size_t mantissaEnd = end;
    end = ExponentEnd(text, end);

    double value = 0.0;
    auto result = std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // As strtod: overflow gives an infinite value, underflow zero.
        bool smallExponent = end > mantissaEnd && text.find('-', mantissaEnd) < end;
        value = smallExponent ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::string WireFrequency(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const std::size_t end = text.find_last_not_of(' ') + 1;
    std::size_t pos = SkipDigits(text, first);
    if (pos == first) return std::string();
    if (pos < end && text[pos] == '.') pos = SkipDigits(text, pos + 1);
    if (pos != end) return std::string();
    return text.substr(first, end - first);
}

int LinkBaudWireValue(const std::string& shownRate) {
    int rate = ReadLeadingInt(shownRate);
    switch (rate) {
    case 4800:
        return 1;
    case 9600:
        return 2;
    case 19200:
        return 3;
    default:
        return rate;
    }
}

}  // namespace RadioTables

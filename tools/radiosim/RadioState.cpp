#include "RadioState.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr uint32_t kUnitsPerMhz = 100000;
constexpr uint32_t kLowestUnits = 410 * kUnitsPerMhz;
constexpr uint32_t kHighestUnits = 470 * kUnitsPerMhz;

const char* const kBandwidths[] = {"12.5", "25.0"};
const char* const kWorkModes[] = {"tx", "duplex", "repeater"};

// One state file key: how to print it and how to take a value for it.
struct Key {
    std::string name;
    std::function<std::string(const RadioState&)> print;
    std::function<bool(const std::string&, RadioState&)> take;
};

Key numberKey(const char* name, int RadioState::*field, int min, int max) {
    return {name, [field](const RadioState& s) { return std::to_string(s.*field); },
            [field, min, max](const std::string& v, RadioState& s) {
                return RadioState::parseNumber(v, min, max, s.*field);
            }};
}

Key textKey(const char* name, std::string RadioState::*field, size_t maxLength) {
    return {name, [field](const RadioState& s) { return s.*field; },
            [field, maxLength](const std::string& v, RadioState& s) {
                if (!RadioState::validText(v, maxLength)) return false;
                s.*field = v;
                return true;
            }};
}

Key frequencyKey(bool transmit, int channel) {
    std::string name = (transmit ? "tx" : "rx") + std::to_string(channel);
    auto field = transmit ? &RadioState::txFrequency : &RadioState::rxFrequency;
    int i = channel - 1;
    return {name, [field, i](const RadioState& s) { return RadioState::formatFrequency((s.*field)[i]); },
            [field, i](const std::string& v, RadioState& s) { return RadioState::parseFrequency(v, (s.*field)[i]); }};
}

const std::vector<Key>& keys() {
    static const std::vector<Key> table = [] {
        std::vector<Key> k;
        for (int c = 1; c <= RadioState::kChannels; ++c) k.push_back(frequencyKey(true, c));
        for (int c = 1; c <= RadioState::kChannels; ++c) k.push_back(frequencyKey(false, c));
        k.push_back(numberKey("current_channel", &RadioState::currentChannel, 1, 8));
        k.push_back(numberKey("protocol", &RadioState::protocol, 1, 9));
        k.push_back(numberKey("port_baud", &RadioState::portBaud, 1, 5));
        k.push_back(numberKey("link_baud", &RadioState::linkBaud, 1, 3));
        k.push_back({"bandwidth",
                     [](const RadioState& s) { return std::string(RadioState::bandwidthText(s.bandwidth)); },
                     [](const std::string& v, RadioState& s) {
                         int code = RadioState::bandwidthCode(v);
                         if (code) s.bandwidth = code;
                         return code != 0;
                     }});
        k.push_back({"work_mode", [](const RadioState& s) { return std::string(RadioState::workModeText(s.workMode)); },
                     [](const std::string& v, RadioState& s) {
                         int code = RadioState::workModeCode(v);
                         if (code) s.workMode = code;
                         return code != 0;
                     }});
        k.push_back(numberKey("local_address", &RadioState::localAddress, 0, 254));
        k.push_back(numberKey("destination_address", &RadioState::destinationAddress, 0, 255));
        k.push_back(numberKey("high_power", &RadioState::highPower, 1, 3));
        k.push_back(numberKey("low_power", &RadioState::lowPower, 1, 3));
        k.push_back(textKey("serial_number", &RadioState::serialNumber, RadioState::kSerialMax));
        k.push_back(textKey("hardware", &RadioState::hardware, RadioState::kHardwareMax));
        k.push_back(textKey("firmware", &RadioState::firmware, RadioState::kVersionMax));
        k.push_back(textKey("sub_firmware", &RadioState::subFirmware, RadioState::kVersionMax));
        return k;
    }();
    return table;
}

}  // namespace

RadioState RadioState::factoryDefault() {
    RadioState s;
    for (int i = 0; i < kChannels; ++i) {
        // Channel n transmits on 410.5 + 5n MHz and receives 100 kHz above.
        s.txFrequency[i] = kLowestUnits + 50000 + uint32_t(i + 1) * 5 * kUnitsPerMhz;
        s.rxFrequency[i] = s.txFrequency[i] + 10000;
    }
    s.serialNumber = "VM2300001";
    s.hardware = "H2.1";
    s.firmware = "V3.12";
    s.subFirmware = "S1.05";
    return s;
}

std::string RadioState::toText() const {
    std::string text = "# simulated radio state\n";
    for (const Key& key : keys()) text += key.name + "=" + key.print(*this) + "\n";
    return text;
}

RadioState::LoadResult RadioState::fromText(const std::string& text, RadioState& out) {
    RadioState next = out;
    size_t pos = 0;
    for (int lineNo = 1; pos < text.size(); ++lineNo) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) return {false, lineNo, "expected key=value"};
        std::string name = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        const Key* found = nullptr;
        for (const Key& key : keys())
            if (key.name == name) found = &key;
        if (!found) return {false, lineNo, "unknown key '" + name + "'"};
        if (!found->take(value, next)) return {false, lineNo, "bad value for " + name};
    }
    out = next;
    return {};
}

bool RadioState::parseFrequency(const std::string& text, uint32_t& units) {
    size_t i = 0;
    uint32_t whole = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i < 4) whole = whole * 10 + uint32_t(text[i++] - '0');
    if (i == 0 || whole > 470) return false;
    uint32_t fraction = 0, scale = kUnitsPerMhz;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            if (scale == 1) return false;  // finer than 10 Hz
            scale /= 10;
            fraction += uint32_t(text[i] - '0') * scale;
        }
    }
    if (i != text.size()) return false;
    uint32_t value = whole * kUnitsPerMhz + fraction;
    if (value < kLowestUnits || value > kHighestUnits) return false;
    units = value;
    return true;
}

std::string RadioState::formatFrequency(uint32_t units) {
    char text[24];
    std::snprintf(text, sizeof text, "%03u.%05u", units / kUnitsPerMhz, units % kUnitsPerMhz);
    return text;
}

bool RadioState::parseNumber(const std::string& text, int min, int max, int& value) {
    if (text.empty() || text.size() > 9) return false;
    long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n < min || n > max) return false;
    value = int(n);
    return true;
}

bool RadioState::validText(const std::string& text, size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return false;
    for (char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

const char* RadioState::bandwidthText(int code) { return code == 1 ? kBandwidths[0] : kBandwidths[1]; }

int RadioState::bandwidthCode(const std::string& text) {
    for (int i = 0; i < 2; ++i)
        if (text == kBandwidths[i]) return i + 1;
    return 0;
}

const char* RadioState::workModeText(int code) { return kWorkModes[code >= 1 && code <= 3 ? code - 1 : 1]; }

int RadioState::workModeCode(const std::string& text) {
    for (int i = 0; i < 3; ++i)
        if (text == kWorkModes[i]) return i + 1;
    return 0;
}

bool operator==(const RadioState& a, const RadioState& b) { return a.toText() == b.toText(); }

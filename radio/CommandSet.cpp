#include "radio/CommandSet.h"

#include <cstdio>

#include "radio/RadioTables.h"
#include "platform/DecimalText.h"

namespace CommandSet {
namespace {

std::string Format(const char* format, int value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Join(const char* keyword, const std::string& argument) {
    return std::string(keyword) + ' ' + argument + '\r';
}

bool Contains(const std::string& line, const char* words) { return line.find(words) != std::string::npos; }

// Which table position each protocol name in a reply stands for, in the order
// they are searched: "TRIMA" (a shortened TRIMMK3) and "SOTH" (a misspelt
// SOUTH) come early so that they win over the longer names.
struct ProtocolName {
    const char* name;
    int position;
};
constexpr ProtocolName kProtocolSearch[] = {
    {"TRIMTALK", 0}, {"TRIMA", 3},     {"SOTH", 4},    {"TRANSMDS", 1}, {"HUACE", 2}, {"TRIMMK3", 3},
    {"SOUTH", 4},    {"HI-TARGET", 5}, {"BURN-IN", 6}, {"TRANSEOT", 7}, {"SATEL", 8},
};

constexpr const char* kPortBaudSearch[] = {"9600", "19200", "38400", "57600", "115200"};

}  // namespace

std::string SetChannelTx(int channel, const std::string& text) {
    return Join(Format("cfg_ch_%d", channel).c_str(), text);
}
std::string SetChannelRx(int channel, const std::string& text) {
    return Join(Format("cfg_rx_ch_%d", channel).c_str(), text);
}
std::string SetCurrentChannel(int position) { return Format("cfg_ch_n %d\r", position + 1); }
std::string SetPortBaud(int position) { return Format("cfg_sbau %d\r", position + 1); }
std::string SetLinkBaud(const std::string& shownRate) {
    // The radio refuses a rate of 0, and every setting after it would then be
    // skipped: an entry without a rate is left out instead.
    if (ReadLeadingInt(shownRate) <= 0) return std::string();
    return Format("cfg_baud %d\r", RadioTables::LinkBaudWireValue(shownRate));
}
std::string SetBandwidth(int position) {
    if (position < 0 || position > 1) return std::string();
    return Join("cfg_bw", RadioTables::kBandwidthWire[position]);
}
std::string SetWorkMode(int position) {
    if (position < 0 || position > 2) return std::string();
    return Join("cfg_mode", RadioTables::kWorkModeWire[position]);
}
std::string SetLocalAddress(const std::string& text) { return Join("cfg_srcx", text); }
std::string SetDestinationAddress(const std::string& text) { return Join("cfg_dstx", text); }
std::string SetProtocol(int position) { return Format("cfg_prtl %d\r", position + 1); }
std::string SetHighPower(int position) { return Format("cfg_pwrh %d\r", position + 1); }
std::string SetLowPower(int position) { return Format("cfg_pwrl %d\r", position + 1); }
std::string SetSerialNumber(const std::string& text) { return Join("cfg_sern", text); }
std::string SetHardwareVersion(const std::string& text) { return Join("cfg_hard", text); }

// The channel goes out as one digit, never as a two-digit number.
std::string QueryChannelTx(int channel) { return std::string("cfg_ch_") + char('0' + channel % 10) + '\r'; }
std::string QueryChannelRx(int channel) { return std::string("cfg_rx_ch_") + char('0' + channel % 10) + '\r'; }

bool ParseCurrentChannel(const std::string& line, int& position) {
    if (!Contains(line, "current channel")) return false;
    position = static_cast<unsigned char>(line.back()) - '1';
    return true;
}

int ParseProtocol(const std::string& line) {
    for (const ProtocolName& p : kProtocolSearch)
        if (Contains(line, p.name)) return p.position;
    return -1;
}

int ParsePortBaud(const std::string& line) {
    for (int i = 0; i < 5; ++i)
        if (Contains(line, kPortBaudSearch[i])) return i;
    return -1;
}

std::string ParseLinkBaud(const std::string& line) {
    std::string result;
    if (Contains(line, "4800")) result = " 4800";
    if (Contains(line, "9600")) result = " 9600";
    if (Contains(line, "19200")) result = " 19200";
    return result;
}

int ParsePowerValue(const std::string& line) { return ReadLeadingInt(line); }

bool ParseChannelFrequency(const std::string& line, int channel, std::string& frequencyText) {
    const char key[3] = {char('0' + channel % 10), ' ', '\0'};
    size_t at = line.find(key);
    if (at == std::string::npos) return false;
    frequencyText = line.substr(at + 2);
    return true;
}

int ParseBandwidth(const std::string& line) {
    if (Contains(line, "12.5")) return 0;
    if (Contains(line, "25.0")) return 1;
    return -1;
}

int ParseWorkMode(const std::string& line) {
    if (Contains(line, "tx")) return 0;
    if (Contains(line, "duplex")) return 1;
    if (Contains(line, "repeater")) return 2;
    return -1;
}

}  // namespace CommandSet

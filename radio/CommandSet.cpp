#include "radio/CommandSet.h"

#include <cstdio>

#include "radio/RadioTables.h"
#include "platform/DecimalText.h"

namespace CommandSet {
namespace {

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

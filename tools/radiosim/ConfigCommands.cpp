#include "ConfigCommands.h"

namespace {

const char* const kProtocolNames[] = {"TRIMTALK",  "TRANSMDS", "HUACE",    "TRIMARK3", "SOUTH",
                                      "HI-TARGET", "BURN-IN",  "TRANSEOT", "SATEL"};
const char* const kPortBauds[] = {"9600", "19200", "38400", "57600", "115200"};
const char* const kLinkBauds[] = {"4800", "9600", "19200"};
const int kHighWatts[] = {35, 30, 25};
const int kLowWatts[] = {15, 10, 5};

std::string power(int code, const int* watts) {
    return std::to_string(code) + " " + std::to_string(watts[code - 1]) + "W";
}

}  // namespace

const char* const ConfigCommands::kNotInConfig = "ERROR: not in config mode";
const char* const ConfigCommands::kNoSuchCommand = "ERROR: no such command";
const char* const ConfigCommands::kBadValue = "ERROR: bad value";
const char* const ConfigCommands::kReadOnly = "ERROR: read only";

struct ConfigCommands::Entry {
    const char* keyword;
    std::string (ConfigCommands::*query)() const;
    bool (ConfigCommands::*set)(const std::string&);  // null: read only
};

const ConfigCommands::Entry* ConfigCommands::find(const std::string& keyword) {
    static const Entry entries[] = {
        {"cfg_ch_n", &ConfigCommands::queryChannel, &ConfigCommands::setChannel},
        {"cfg_prtl", &ConfigCommands::queryProtocol, &ConfigCommands::setProtocol},
        {"cfg_sbau", &ConfigCommands::queryPortBaud, &ConfigCommands::setPortBaud},
        {"cfg_baud", &ConfigCommands::queryLinkBaud, &ConfigCommands::setLinkBaud},
        {"cfg_bw", &ConfigCommands::queryBandwidth, &ConfigCommands::setBandwidth},
        {"cfg_mode", &ConfigCommands::queryWorkMode, &ConfigCommands::setWorkMode},
        {"cfg_srcx", &ConfigCommands::queryLocal, &ConfigCommands::setLocal},
        {"cfg_dstx", &ConfigCommands::queryDestination, &ConfigCommands::setDestination},
        {"cfg_pwrh", &ConfigCommands::queryHighPower, &ConfigCommands::setHighPower},
        {"cfg_pwrl", &ConfigCommands::queryLowPower, &ConfigCommands::setLowPower},
        {"cfg_sern", &ConfigCommands::querySerial, &ConfigCommands::setSerial},
        {"cfg_hard", &ConfigCommands::queryHardware, &ConfigCommands::setHardware},
        {"cfg_firm", &ConfigCommands::queryFirmware, nullptr},
        {"SREV", &ConfigCommands::querySubFirmware, nullptr},
    };
    for (const Entry& e : entries)
        if (keyword == e.keyword) return &e;
    return nullptr;
}

std::string ConfigCommands::framed(const std::string& text) { return "\r\n" + text + "\r\n"; }

// The radio closes its acknowledgements with ACK and no line end.
std::string ConfigCommands::accepted() { return "\r\nOK ACK"; }

ConfigCommands::Result ConfigCommands::run(const std::string& line, bool configMode) {
    size_t space = line.find(' ');
    bool hasArg = space != std::string::npos;
    std::string keyword = line.substr(0, space);
    std::string arg = hasArg ? line.substr(space + 1) : "";

    bool transmit = false;
    int channel = 0;
    bool isChannel = channelCommand(keyword, transmit, channel);
    const Entry* entry = isChannel ? nullptr : find(keyword);
    if (keyword == "cfg_baud" && faults_.linkBaud != SimFaults::LinkBaud::Known) return runLinkBaudFault();
    if (!isChannel && !entry) return {framed(kNoSuchCommand)};
    if (!configMode) return {framed(kNotInConfig)};
    // A radio that acknowledges a setting it never takes.
    if (hasArg && faults_.ignoresSetting(keyword)) return {accepted()};
    if (isChannel) return runChannel(transmit, channel, hasArg, arg);
    if (!hasArg) return {framed((this->*entry->query)())};
    if (!entry->set) return {framed(kReadOnly)};
    if (!(this->*entry->set)(arg)) return {framed(kBadValue)};
    return {accepted(), true};
}

// "cfg_ch_1".."cfg_ch_8" and "cfg_rx_ch_1".."cfg_rx_ch_8"; other digits name
// no channel but are still channel commands (answered "bad value").
bool ConfigCommands::channelCommand(const std::string& keyword, bool& transmit, int& channel) const {
    static const std::string tx = "cfg_ch_", rx = "cfg_rx_ch_";
    const std::string* prefix = keyword.compare(0, rx.size(), rx) == 0   ? &rx
                                : keyword.compare(0, tx.size(), tx) == 0 ? &tx
                                                                         : nullptr;
    if (!prefix || keyword.size() != prefix->size() + 1) return false;
    char d = keyword.back();
    if (d < '0' || d > '9') return false;
    transmit = prefix == &tx;
    channel = d - '0';
    return true;
}

ConfigCommands::Result ConfigCommands::runChannel(bool transmit, int channel, bool hasArg, const std::string& arg) {
    if (channel < 1 || channel > RadioState::kChannels) return {framed(kBadValue)};
    auto& table = transmit ? state_.txFrequency : state_.rxFrequency;
    uint32_t& frequency = table[size_t(channel - 1)];
    if (!hasArg) {
        std::string name = (transmit ? "cfg_ch_" : "cfg_rx_ch_") + std::to_string(channel);
        return {framed(name + " " + RadioState::formatFrequency(frequency))};
    }
    if (!RadioState::parseFrequency(arg, frequency)) return {framed(kBadValue)};
    return {accepted(), true};
}

ConfigCommands::Result ConfigCommands::runLinkBaudFault() const {
    switch (faults_.linkBaud) {
    case SimFaults::LinkBaud::Error:
        return {framed(kNoSuchCommand)};
    case SimFaults::LinkBaud::Unknow:
        return {"\r\nUNKNOW"};
    default:
        return {};
    }
}

std::string ConfigCommands::queryChannel() const { return "current channel " + std::to_string(state_.currentChannel); }
std::string ConfigCommands::queryProtocol() const {
    return std::string("protocol ") + (faults_.unknownProtocol ? "UNKNOW" : kProtocolNames[state_.protocol - 1]);
}
std::string ConfigCommands::queryPortBaud() const {
    return std::string("port baud ") + kPortBauds[state_.portBaud - 1];
}
std::string ConfigCommands::queryLinkBaud() const {
    return std::string("link baud ") + kLinkBauds[state_.linkBaud - 1];
}
std::string ConfigCommands::queryBandwidth() const {
    return std::string("bandwidth ") + RadioState::bandwidthText(state_.bandwidth);
}
std::string ConfigCommands::queryWorkMode() const {
    return std::string("work mode ") + RadioState::workModeText(state_.workMode);
}
std::string ConfigCommands::queryLocal() const { return std::to_string(state_.localAddress); }
std::string ConfigCommands::queryDestination() const { return std::to_string(state_.destinationAddress); }
std::string ConfigCommands::queryHighPower() const { return power(state_.highPower, kHighWatts); }
std::string ConfigCommands::queryLowPower() const { return power(state_.lowPower, kLowWatts); }
std::string ConfigCommands::querySerial() const {
    // A radio whose serial number clears the terminal it is shown on.
    if (faults_.serialEscape) return "\x1b[2J" + state_.serialNumber;
    if (!faults_.serial12) return state_.serialNumber;
    // A radio with an over-long serial number: padded to twelve characters.
    std::string serial = state_.serialNumber.substr(0, 12);
    for (char c = 'A'; serial.size() < 12; ++c) serial += c;
    return serial;
}
std::string ConfigCommands::queryHardware() const { return state_.hardware; }
std::string ConfigCommands::queryFirmware() const { return state_.firmware; }
std::string ConfigCommands::querySubFirmware() const { return state_.subFirmware; }

bool ConfigCommands::setChannel(const std::string& arg) {
    return RadioState::parseNumber(arg, 1, 8, state_.currentChannel);
}
bool ConfigCommands::setProtocol(const std::string& arg) { return RadioState::parseNumber(arg, 1, 9, state_.protocol); }
bool ConfigCommands::setPortBaud(const std::string& arg) { return RadioState::parseNumber(arg, 1, 5, state_.portBaud); }
bool ConfigCommands::setLinkBaud(const std::string& arg) { return RadioState::parseNumber(arg, 1, 3, state_.linkBaud); }
bool ConfigCommands::setBandwidth(const std::string& arg) {
    int code = RadioState::bandwidthCode(arg);
    if (code) state_.bandwidth = code;
    return code != 0;
}
bool ConfigCommands::setWorkMode(const std::string& arg) {
    int code = RadioState::workModeCode(arg);
    if (code) state_.workMode = code;
    return code != 0;
}
bool ConfigCommands::setLocal(const std::string& arg) {
    return RadioState::parseNumber(arg, 0, 254, state_.localAddress);
}
bool ConfigCommands::setDestination(const std::string& arg) {
    return RadioState::parseNumber(arg, 0, 255, state_.destinationAddress);
}
bool ConfigCommands::setHighPower(const std::string& arg) {
    return RadioState::parseNumber(arg, 1, 3, state_.highPower);
}
bool ConfigCommands::setLowPower(const std::string& arg) { return RadioState::parseNumber(arg, 1, 3, state_.lowPower); }
bool ConfigCommands::setSerial(const std::string& arg) {
    if (!RadioState::validText(arg, RadioState::kSerialMax)) return false;
    state_.serialNumber = arg;
    return true;
}
bool ConfigCommands::setHardware(const std::string& arg) {
    if (!RadioState::validText(arg, RadioState::kHardwareMax)) return false;
    state_.hardware = arg;
    return true;
}

#pragma once

#include <string>

#include "RadioState.h"
#include "SimFaults.h"

// The parameter commands of the radio: "keyword" queries a parameter,
// "keyword argument" sets it. Knows the replies and the argument rules;
// knows nothing of modes, framing or timing.
class ConfigCommands {
public:
    ConfigCommands(RadioState& state, const SimFaults& faults) : state_(state), faults_(faults) {}

    struct Result {
        std::string reply;     // complete reply bytes; empty for no reply at all
        bool changed = false;  // a parameter was set
    };

    // Runs one command line (without its carriage return). Outside
    // configuration mode every known command gets an error reply.
    Result run(const std::string& line, bool configMode);

    // Reply texts shared with the rest of the radio.
    static std::string framed(const std::string& text);  // CR LF text CR LF
    static std::string accepted();                       // "OK" ending in ACK
    static const char* const kNotInConfig;
    static const char* const kNoSuchCommand;
    static const char* const kBadValue;
    static const char* const kReadOnly;

private:
    struct Entry;
    static const Entry* find(const std::string& keyword);
    bool channelCommand(const std::string& keyword, bool& transmit, int& channel) const;
    Result runChannel(bool transmit, int channel, bool hasArg, const std::string& arg);
    Result runLinkBaudFault() const;

    std::string queryChannel() const;
    std::string queryProtocol() const;
    std::string queryPortBaud() const;
    std::string queryLinkBaud() const;
    std::string queryBandwidth() const;
    std::string queryWorkMode() const;
    std::string queryLocal() const;
    std::string queryDestination() const;
    std::string queryHighPower() const;
    std::string queryLowPower() const;
    std::string querySerial() const;
    std::string queryHardware() const;
    std::string queryFirmware() const;
    std::string querySubFirmware() const;

    bool setChannel(const std::string& arg);
    bool setProtocol(const std::string& arg);
    bool setPortBaud(const std::string& arg);
    bool setLinkBaud(const std::string& arg);
    bool setBandwidth(const std::string& arg);
    bool setWorkMode(const std::string& arg);
    bool setLocal(const std::string& arg);
    bool setDestination(const std::string& arg);
    bool setHighPower(const std::string& arg);
    bool setLowPower(const std::string& arg);
    bool setSerial(const std::string& arg);
    bool setHardware(const std::string& arg);

    RadioState& state_;
    const SimFaults& faults_;
};

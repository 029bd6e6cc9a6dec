#pragma once

#include <array>
#include <cstdint>
#include <string>

// Every parameter the radio keeps across power cycles, with the value rules
// the radio applies to its arguments. Codes are the numbers that go on the
// wire (protocol 1..9, port baud 1..5, link baud 1..3, powers 1..3).
struct RadioState {
    static constexpr int kChannels = 8;

    // Frequencies in units of 10 Hz: the radio keeps five decimals of a MHz.
    std::array<uint32_t, kChannels> txFrequency{};
    std::array<uint32_t, kChannels> rxFrequency{};
    int currentChannel = 1;        // 1..8
    int protocol = 1;              // 1..9
    int portBaud = 1;              // 1..5: 9600 19200 38400 57600 115200
    int linkBaud = 2;              // 1..3: 4800 9600 19200
    int bandwidth = 2;             // 1 = 12.5 kHz, 2 = 25.0 kHz
    int workMode = 2;              // 1 = tx, 2 = duplex, 3 = repeater
    int localAddress = 1;          // 0..254
    int destinationAddress = 255;  // 0..255
    int highPower = 1;             // 1..3: 35 W 30 W 25 W
    int lowPower = 3;              // 1..3: 15 W 10 W 5 W
    std::string serialNumber;      // at most 9 characters
    std::string hardware;          // at most 4 characters
    std::string firmware;          // reported only
    std::string subFirmware;       // reported only

    // The state a new radio leaves the factory with (see README.md).
    static RadioState factoryDefault();

    // The state file text: one "key=value" line per parameter.
    std::string toText() const;

    struct LoadResult {
        bool ok = true;
        int line = 0;  // 1-based line of the first error
        std::string message;
    };
    // Reads a state file text over `out` (keys not named keep their value).
    // On failure `out` is left unchanged.
    static LoadResult fromText(const std::string& text, RadioState& out);

    // Value rules, shared by the command interpreter and the state file.
    // A frequency is 410..470 MHz with at most five decimals ("415.5").
    static bool parseFrequency(const std::string& text, uint32_t& units);
    static std::string formatFrequency(uint32_t units);  // "415.50000"
    // Plain decimal digits (no sign, no blanks) within [min, max].
    static bool parseNumber(const std::string& text, int min, int max, int& value);
    // Printable ASCII (blank included), 1..maxLength characters.
    static bool validText(const std::string& text, size_t maxLength);

    static const char* bandwidthText(int code);         // "12.5" / "25.0"
    static int bandwidthCode(const std::string& text);  // 0 when unknown
    static const char* workModeText(int code);          // "tx" / "duplex" / "repeater"
    static int workModeCode(const std::string& text);

    static constexpr size_t kSerialMax = 9;
    static constexpr size_t kHardwareMax = 4;
    static constexpr size_t kVersionMax = 32;
};

bool operator==(const RadioState& a, const RadioState& b);

#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>

class ISettingsWindow;

// The rules of the remembered settings: "Port", "Baud" and "Chinese", each a
// decimal text in a 256-byte block, and "PortName", the chosen port's name
// ("COM5") in a block of its own. The port is found by its name, so that an
// adapter plugged in before it does not shift the choice; settings of an
// older version, without "PortName", still select by position.

constexpr size_t kSettingsBlockSize = 256;
using SettingsBlock = std::array<char, kSettingsBlockSize>;

constexpr const char* kPortSettingName = "Port";
constexpr const char* kBaudSettingName = "Baud";
constexpr const char* kChineseSettingName = "Chinese";
constexpr const char* kPortNameSettingName = "PortName";

// What a load found that applies to the window; an empty field keeps the
// window's default.
struct RememberedSettings {
    std::optional<int> portPosition;  // within the port box
    std::optional<int> portNumber;    // the port "PortName" names (COMn), listed or not
    std::optional<int> ratePosition;  // within the rate box
    std::optional<bool> chinese;
};

// Takes one stored value into `found`. The name must be "Baud", "Port",
// "Chinese" or "PortName" exactly (case and length); anything else is
// ignored. The data is the text up to the first zero byte, at most `size`
// bytes, read as atoi does. A position counts only when 0 <= position < the
// box's count; "Chinese" is Chinese exactly when the number is 1; "PortName"
// counts when it reads COM (any case) and a number from 1 on.
void ReadSettingsValue(const std::string& name, const char* data, size_t size, int portCount, int rateCount,
                       RememberedSettings& found);

// The language of a first start, when none is stored: Chinese for a
// Chinese Windows display language (a LANGID whose primary language is
// Chinese, in any of its regions), English for any other.
bool ChineseForDisplayLanguage(unsigned short languageId);

// Sets the found positions and language on the window; leaves the rest. A
// named port selects its entry; when it is not listed nothing of the port
// is applied (the position was of that port), and only a setting without a
// name selects by position.
void ApplySettings(const RememberedSettings& found, ISettingsWindow& window);

// Selects the remembered rate again, by the same range rule, after the
// language has been applied and the rate box refilled.
void ApplyRememberedRate(const RememberedSettings& found, ISettingsWindow& window);

// The block a value is stored as: "%d", its terminating zero and zeros up
// to 256 bytes.
SettingsBlock FormatSettingsBlock(int value);

// The block "PortName" is stored as: "COM%d" for a port from 1 on, an empty
// text for none, zero-filled to 256 bytes.
SettingsBlock FormatPortNameBlock(int portNumber);

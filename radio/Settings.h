#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>

class ISettingsWindow;

// The rules of the remembered settings: three values, "Port", "Baud" and
// "Chinese", each a decimal text in a 256-byte block.

constexpr size_t kSettingsBlockSize = 256;
using SettingsBlock = std::array<char, kSettingsBlockSize>;

constexpr const char* kPortSettingName = "Port";
constexpr const char* kBaudSettingName = "Baud";
constexpr const char* kChineseSettingName = "Chinese";

// What a load found that applies to the window; an empty field keeps the
// window's default.
struct RememberedSettings {
    std::optional<int> portPosition;  // within the port box
    std::optional<int> ratePosition;  // within the rate box
    std::optional<bool> chinese;
};

// Takes one stored value into `found`. The name must be "Baud", "Port" or
// "Chinese" exactly (case and length); anything else is ignored. The data is
// the text up to the first zero byte, at most `size` bytes, read as atoi
// does. A position counts only when 0 <= position < the box's count;
// "Chinese" is Chinese exactly when the number is 1.
void ReadSettingsValue(const std::string& name, const char* data, size_t size, int portCount, int rateCount,
                       RememberedSettings& found);

// The language of a first start, when none is stored: Chinese for a
// Chinese Windows display language (a LANGID whose primary language is
// Chinese, in any of its regions), English for any other.
bool ChineseForDisplayLanguage(unsigned short languageId);

// Sets the found positions and language on the window; leaves the rest.
void ApplySettings(const RememberedSettings& found, ISettingsWindow& window);

// Selects the remembered rate again, by the same range rule, after the
// language has been applied and the rate box refilled.
void ApplyRememberedRate(const RememberedSettings& found, ISettingsWindow& window);

// The block a value is stored as: "%d", its terminating zero and zeros up
// to 256 bytes.
SettingsBlock FormatSettingsBlock(int value);

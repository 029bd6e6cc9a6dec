#include "radio/Settings.h"

#include <cstdio>
#include <cstring>

#include "radio/SettingsWindow.h"
#include "platform/DecimalText.h"
#include "serial/PortSelection.h"

namespace {

// The bytes up to the first zero byte, or all `size` of them when the
// registry handed over a text without its terminator.
std::string TextOf(const char* bytes, size_t size) {
    if (bytes == nullptr) return std::string();
    const void* zero = std::memchr(bytes, 0, size);
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

std::optional<int> PositionWithin(int value, int count) {
    if (value >= 0 && value < count) return value;
    return std::nullopt;
}

}  // namespace

void ReadSettingsValue(const std::string& name, const char* data, size_t size, int portCount, int rateCount,
                       RememberedSettings& found) {
    if (name == kPortNameSettingName) {
        if (const int port = ParsePortName(TextOf(data, size)); port > 0) found.portNumber = port;
        return;
    }
    if (name != kBaudSettingName && name != kPortSettingName && name != kChineseSettingName) return;
    int value = ReadLeadingInt(TextOf(data, size));
    if (name == kBaudSettingName) {
        if (auto position = PositionWithin(value, rateCount)) found.ratePosition = position;
    } else if (name == kPortSettingName) {
        if (auto position = PositionWithin(value, portCount)) found.portPosition = position;
    } else {
        found.chinese = value == 1;
    }
}

bool ChineseForDisplayLanguage(unsigned short languageId) {
    constexpr unsigned short kPrimaryMask = 0x3FF;  // the LANGID's primary language bits
    constexpr unsigned short kChinese = 0x04;       // LANG_CHINESE
    return (languageId & kPrimaryMask) == kChinese;
}

void ApplySettings(const RememberedSettings& found, ISettingsWindow& window) {
    if (found.portNumber) {
        for (int i = 0; i < window.GetPortCount(); ++i)
            if (ParsePortNumber(window.GetPortEntry(i)) == *found.portNumber) window.SelectPort(i);
    } else if (found.portPosition) {
        window.SelectPort(*found.portPosition);
    }
    if (found.ratePosition) window.SelectRate(*found.ratePosition);
    if (found.chinese) window.SetChinese(*found.chinese);
}

void ApplyRememberedRate(const RememberedSettings& found, ISettingsWindow& window) {
    if (!found.ratePosition) return;
    if (auto position = PositionWithin(*found.ratePosition, window.GetRateCount())) window.SelectRate(*position);
}

SettingsBlock FormatSettingsBlock(int value) {
    SettingsBlock block{};  // zero-filled: the text's terminator and the padding
    std::snprintf(block.data(), block.size(), "%d", value);
    return block;
}

SettingsBlock FormatPortNameBlock(int portNumber) {
    SettingsBlock block{};
    if (portNumber > 0) std::snprintf(block.data(), block.size(), "COM%d", portNumber);
    return block;
}

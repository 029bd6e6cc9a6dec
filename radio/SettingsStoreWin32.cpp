#include "radio/SettingsStore.h"

#include <cstring>
#include <string>

#include "radio/SettingsWindow.h"
#include "platform/RegistryKey.h"
#include "platform/Wide.h"
#include "serial/PortSelection.h"

namespace {

// The block is ASCII text with its terminator; stored as wide text.
bool WriteBlock(const RegistryKey& key, const char* name, const SettingsBlock& block) {
    const std::wstring text = Text::Widen(std::string_view(block.data(), block.size()));
    return ::RegSetValueExW(key.get(), Text::Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                            static_cast<DWORD>(text.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

RememberedSettings LoadSettings(ISettingsWindow& window, const char* keyPath) {
    RememberedSettings found;
    RegistryKey key;
    if (RegistryKey::Open(HKEY_CURRENT_USER, keyPath, KEY_READ, key) != ERROR_SUCCESS) return found;
    const int portCount = window.GetPortCount();
    const int rateCount = window.GetRateCount();
    RegistryValue value;
    for (DWORD index = 0;; ++index) {
        LONG status = key.EnumValue(index, value, true);
        if (status == ERROR_MORE_DATA) continue;  // too long to be ours: skipped
        if (status != ERROR_SUCCESS) break;       // no more values, or the key is gone
        // The type is checked because a number stored as REG_DWORD (or any
        // binary) would otherwise read as text and select the first entry
        // instead of keeping the default.
        if (value.type != REG_SZ) continue;
        std::string name(value.name, ::strnlen(value.name, value.nameSize));
        ReadSettingsValue(name, value.data, value.dataSize, portCount, rateCount, found);
    }
    ApplySettings(found, window);
    return found;
}

bool SaveSettings(const ISettingsWindow& window, const char* keyPath) {
    RegistryKey key;
    if (RegistryKey::Create(HKEY_CURRENT_USER, keyPath, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key) != ERROR_SUCCESS)
        return false;
    const int portSelection = window.GetPortSelection();
    const int portNumber = portSelection >= 0 ? ParsePortNumber(window.GetPortEntry(portSelection)) : 0;
    bool port = WriteBlock(key, kPortSettingName, FormatSettingsBlock(portSelection));
    bool portName = WriteBlock(key, kPortNameSettingName, FormatPortNameBlock(portNumber));
    bool baud = WriteBlock(key, kBaudSettingName, FormatSettingsBlock(window.GetRateSelection()));
    bool chinese = WriteBlock(key, kChineseSettingName, FormatSettingsBlock(window.IsChinese() ? 1 : 0));
    return port && portName && baud && chinese;
}

#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "platform/Wide.h"

// One value of a key: the name and the data as UTF-8 in 256-byte buffers
// (the registry holds them as wide text). Neither is guaranteed to be
// zero-terminated (data of another type than REG_SZ, or a text stored
// without its terminator), so readers use nameSize and dataSize, which
// never exceed the buffers.
struct RegistryValue {
    static constexpr DWORD kBufferSize = 256;
    char name[kBufferSize];
    DWORD nameSize = 0;
    char data[kBufferSize];
    DWORD dataSize = 0;
    DWORD type = REG_NONE;  // REG_NONE when the type was not asked for
};

// A move-only owner of an opened registry key; NULL is "no key". The
// predefined roots (HKEY_CURRENT_USER and the like) are never owned.
class RegistryKey {
public:
    RegistryKey() = default;
    // Takes a key another call opened (a device's key, from SetupAPI).
    explicit RegistryKey(HKEY h) : key_(h) {}
    RegistryKey(RegistryKey&& o) noexcept : key_(std::exchange(o.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& o) noexcept {
        if (this != &o) {
            reset();
            key_ = std::exchange(o.key_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { reset(); }

    // Opens an existing key; the Win32 status, ERROR_SUCCESS when `key` holds it.
    static LONG Open(HKEY root, const char* path, REGSAM access, RegistryKey& key) {
        HKEY h = nullptr;
        LONG status = ::RegOpenKeyExW(root, Text::Widen(path).c_str(), 0, access, &h);
        key = RegistryKey(status == ERROR_SUCCESS ? h : nullptr);
        return status;
    }
    // Opens the key, creating it (non-volatile) when it is missing.
    static LONG Create(HKEY root, const char* path, REGSAM access, RegistryKey& key) {
        HKEY h = nullptr;
        LONG status = ::RegCreateKeyExW(root, Text::Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                        nullptr, &h, nullptr);
        key = RegistryKey(status == ERROR_SUCCESS ? h : nullptr);
        return status;
    }

    HKEY get() const { return key_; }
    bool valid() const { return key_ != nullptr; }
    explicit operator bool() const { return valid(); }
    void reset() {
        if (key_) ::RegCloseKey(key_);
        key_ = nullptr;
    }

    // Reads the value at `index` into `value`. The type is asked for only
    // when `withType` is set. Returns ERROR_NO_MORE_ITEMS past the last value
    // and ERROR_MORE_DATA when the name or data do not fit (as UTF-8) in 256
    // bytes; the sizes are only meaningful on success. Text data (REG_SZ,
    // REG_EXPAND_SZ) is converted; data of other types is copied as it is.
    LONG EnumValue(DWORD index, RegistryValue& value, bool withType) const {
        wchar_t name[RegistryValue::kBufferSize];
        wchar_t data[RegistryValue::kBufferSize];
        DWORD nameUnits = RegistryValue::kBufferSize;
        DWORD dataBytes = sizeof data;
        DWORD type = REG_NONE;
        value.type = REG_NONE;
        value.nameSize = 0;
        value.dataSize = 0;
        LONG status =
            ::RegEnumValueW(key_, index, name, &nameUnits, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes);
        if (status != ERROR_SUCCESS) return status;
        if (withType) value.type = type;
        // Keep the sizes within the buffers whatever the call left in them.
        if (nameUnits > RegistryValue::kBufferSize) nameUnits = RegistryValue::kBufferSize;
        if (dataBytes > sizeof data) dataBytes = sizeof data;
        const std::string utf8Name = Text::Narrow(std::wstring_view(name, nameUnits));
        std::string utf8Data;
        if (type == REG_SZ || type == REG_EXPAND_SZ)
            utf8Data = Text::Narrow(std::wstring_view(data, dataBytes / sizeof(wchar_t)));
        else
            utf8Data.assign(reinterpret_cast<const char*>(data), dataBytes);
        if (utf8Name.size() > RegistryValue::kBufferSize || utf8Data.size() > RegistryValue::kBufferSize)
            return ERROR_MORE_DATA;
        std::memcpy(value.name, utf8Name.data(), utf8Name.size());
        std::memcpy(value.data, utf8Data.data(), utf8Data.size());
        value.nameSize = static_cast<DWORD>(utf8Name.size());
        value.dataSize = static_cast<DWORD>(utf8Data.size());
        return status;
    }

private:
    HKEY key_ = nullptr;
};

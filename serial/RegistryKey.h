#pragma once
#include <windows.h>

#include <utility>

// One value as RegEnumValueA hands it over: the name and the data in
// 256-byte buffers. Neither is guaranteed to be zero-terminated (data of
// another type than REG_SZ, or a text stored without its terminator), so
// readers use nameSize and dataSize, which never exceed the buffers.
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
        LONG status = ::RegOpenKeyExA(root, path, 0, access, &h);
        key = RegistryKey(status == ERROR_SUCCESS ? h : nullptr);
        return status;
    }
    // Opens the key, creating it (non-volatile) when it is missing.
    static LONG Create(HKEY root, const char* path, REGSAM access, RegistryKey& key) {
        HKEY h = nullptr;
        LONG status = ::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &h, nullptr);
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

    // Reads the value at `index` into `value`, both buffer sizes reset to 256
    // first. The type is asked for only when `withType` is set. Returns
    // ERROR_NO_MORE_ITEMS past the last value and ERROR_MORE_DATA when the
    // name or data do not fit; the sizes are only meaningful on success.
    LONG EnumValue(DWORD index, RegistryValue& value, bool withType) const {
        value.nameSize = RegistryValue::kBufferSize;
        value.dataSize = RegistryValue::kBufferSize;
        value.type = REG_NONE;
        LONG status = ::RegEnumValueA(key_, index, value.name, &value.nameSize, nullptr,
                                      withType ? &value.type : nullptr,
                                      reinterpret_cast<BYTE*>(value.data), &value.dataSize);
        // Keep the sizes within the buffers whatever the call left in them.
        if (value.nameSize > RegistryValue::kBufferSize) value.nameSize = RegistryValue::kBufferSize;
        if (value.dataSize > RegistryValue::kBufferSize) value.dataSize = RegistryValue::kBufferSize;
        return status;
    }

private:
    explicit RegistryKey(HKEY h) : key_(h) {}
    HKEY key_ = nullptr;
};

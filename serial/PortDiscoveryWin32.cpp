#include "serial/PortDiscovery.h"

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "serial/PortList.h"
#include "serial/PortSelection.h"
#include "platform/LateLibrary.h"
#include "platform/RegistryKey.h"
#include "platform/UniqueResource.h"
#include "platform/Wide.h"

bool EnumerateSerialPorts(std::vector<int>& ports, const char* keyPath) {
    RegistryKey key;
    if (RegistryKey::Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ, key) != ERROR_SUCCESS) return false;
    ports.clear();
    RegistryValue value;
    for (DWORD index = 0;; ++index) {
        LONG status = key.EnumValue(index, value, false);
        // A value that does not fit is skipped; any other failure (no more
        // values, the key deleted meanwhile) ends the walk, so it cannot spin.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        AddDeviceValue(ports, value.name, value.nameSize, value.data, value.dataSize);
    }
    std::sort(ports.begin(), ports.end());
    return true;
}

namespace {

// SetupAPI is loaded at the first list: without it (or when it fails) the
// ports keep their plain names.
constexpr char kSetupLibrary[] = "setupapi.dll";
constexpr char kGetClassDevs[] = "SetupDiGetClassDevsW";
constexpr char kEnumDeviceInfo[] = "SetupDiEnumDeviceInfo";
constexpr char kGetProperty[] = "SetupDiGetDeviceRegistryPropertyW";
constexpr char kOpenDevRegKey[] = "SetupDiOpenDevRegKey";
constexpr char kDestroyList[] = "SetupDiDestroyDeviceInfoList";

// The Ports device class ({4D36E978-E325-11CE-BFC1-08002BE10318}).
constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

struct DeviceListPolicy {
    using Type = HDEVINFO;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type list) {
        const auto destroy = LateFunction<decltype(&::SetupDiDestroyDeviceInfoList), kSetupLibrary, kDestroyList>();
        return destroy != nullptr && destroy(list) != FALSE;
    }
};
using DeviceList = UniqueResource<DeviceListPolicy>;

// The port a device's key names ("COM5": 5), 0 for none.
int DevicePort(HKEY key) {
    wchar_t name[32] = {};
    DWORD type = 0, size = sizeof name - sizeof name[0];  // room for the terminator
    if (::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return 0;
    return ParsePortName(Text::Narrow(std::wstring_view(name, ::wcsnlen(name, 31))));
}

}  // namespace

PortDevices ListPortDevices() {
    PortDevices devices;
    const auto getClassDevs = LateFunction<decltype(&::SetupDiGetClassDevsW), kSetupLibrary, kGetClassDevs>();
    const auto enumDevice = LateFunction<decltype(&::SetupDiEnumDeviceInfo), kSetupLibrary, kEnumDeviceInfo>();
    const auto getProperty =
        LateFunction<decltype(&::SetupDiGetDeviceRegistryPropertyW), kSetupLibrary, kGetProperty>();
    const auto openKey = LateFunction<decltype(&::SetupDiOpenDevRegKey), kSetupLibrary, kOpenDevRegKey>();
    if (!getClassDevs || !enumDevice || !getProperty || !openKey) return devices;
    DeviceList list(getClassDevs(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT));
    if (!list) return devices;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    // Bounded, as a list that never ends would otherwise keep the window.
    constexpr DWORD kMostDevices = 1024;
    for (DWORD index = 0; index < kMostDevices && enumDevice(list.get(), index, &device); ++index) {
        HKEY raw = openKey(list.get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (raw == INVALID_HANDLE_VALUE || raw == nullptr) continue;
        RegistryKey key(raw);
        const int port = DevicePort(key.get());
        if (port <= 0) continue;
        // A name longer than the buffer is cut by the call's failure: none.
        wchar_t name[512] = {};
        DWORD type = 0;
        if (!getProperty(list.get(), &device, SPDRP_FRIENDLYNAME, &type, reinterpret_cast<BYTE*>(name),
                         sizeof name - sizeof name[0], nullptr) ||
            type != REG_SZ)
            continue;
        const std::string shown = DeviceNameForEntry(Text::Narrow(std::wstring_view(name, ::wcsnlen(name, 511))), port);
        if (!shown.empty()) devices.emplace(port, shown);
    }
    return devices;
}

std::string PortDeviceName(int port) {
    const PortDevices devices = ListPortDevices();
    const auto device = devices.find(port);
    return device != devices.end() ? device->second : std::string();
}

void FillPortList(IPortListWindow& window, const char* keyPath) {
    std::vector<int> ports;
    EnumerateSerialPorts(ports, keyPath);
    ShowPortList(ports, window, ListPortDevices());
}

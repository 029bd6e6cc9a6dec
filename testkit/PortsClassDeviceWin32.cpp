#include "testkit/PortsClassDevice.h"

#include <windows.h>
#include <setupapi.h>

#include <cstring>

namespace {

constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

}  // namespace

PortsClassDevice::PortsClassDevice(int port, const std::wstring& friendlyName) {
    static_assert(sizeof(SP_DEVINFO_DATA) <= sizeof data_, "room for the device's data");
    HDEVINFO list = ::SetupDiCreateDeviceInfoList(&kPortsClass, nullptr);
    if (list == INVALID_HANDLE_VALUE) return;
    list_ = list;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!::SetupDiCreateDeviceInfoW(list, L"VELMORATESTPORT", &kPortsClass, nullptr, nullptr, DICD_GENERATE_ID,
                                    &device) ||
        !::SetupDiRegisterDeviceInfo(list, &device, 0, nullptr, nullptr, nullptr))
        return;
    std::memcpy(data_, &device, sizeof device);
    const std::wstring portName = L"COM" + std::to_wstring(port);
    HKEY key = ::SetupDiCreateDevRegKeyW(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    if (key == INVALID_HANDLE_VALUE) return;
    const bool named = ::RegSetValueExW(key, L"PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(portName.c_str()),
                                        static_cast<DWORD>((portName.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    made_ = named && ::SetupDiSetDeviceRegistryPropertyW(
                         list, &device, SPDRP_FRIENDLYNAME, reinterpret_cast<const BYTE*>(friendlyName.c_str()),
                         static_cast<DWORD>((friendlyName.size() + 1) * sizeof(wchar_t)));
}

PortsClassDevice::~PortsClassDevice() {
    if (list_ == nullptr) return;
    SP_DEVINFO_DATA device{};
    std::memcpy(&device, data_, sizeof device);
    if (device.cbSize == sizeof device) ::SetupDiRemoveDevice(list_, &device);
    ::SetupDiDestroyDeviceInfoList(list_);
}

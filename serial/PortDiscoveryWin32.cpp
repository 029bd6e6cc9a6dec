#include "serial/PortDiscovery.h"

#include "serial/PortList.h"
#include "platform/RegistryKey.h"

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
    return true;
}

void FillPortList(IPortListWindow& window, const char* keyPath) {
    std::vector<int> ports;
    EnumerateSerialPorts(ports, keyPath);
    ShowPortList(ports, window);
}

#pragma once
#include <vector>

class IPortListWindow;

// The serial device map of the registry: one value per serial port, its data
// "COM" and the port number. Windows (and Wine's mount manager) rebuild it at
// every start, so it lists the ports present now.
constexpr const char* kSerialDeviceMapPath = "Hardware\\DeviceMap\\SerialComm";

// Empties `ports` and appends the number of every port the device map under
// HKEY_LOCAL_MACHINE lists, in the order the registry enumerates them,
// leaving out values whose name contains "Nmserial" and listing a port named
// twice once. A value too long for its 256-byte buffers is skipped. When the key cannot be opened, `ports` is
// left as it was and the result is false. `keyPath` is for tests.
bool EnumerateSerialPorts(std::vector<int>& ports, const char* keyPath = kSerialDeviceMapPath);

// Fills the window's port box from the device map and selects the first
// entry; with no port (or no readable map) the box is emptied and the radio
// buttons disabled. Window thread. `keyPath` is for tests.
void FillPortList(IPortListWindow& window, const char* keyPath = kSerialDeviceMapPath);

#pragma once
#include <vector>

#include "serial/PortDevices.h"

class IPortListWindow;

// The serial device map of the registry: one value per serial port, its data
// "COM" and the port number. Windows (and Wine's mount manager) rebuild it at
// every start, so it lists the ports present now.
constexpr const char* kSerialDeviceMapPath = "Hardware\\DeviceMap\\SerialComm";

// Empties `ports` and appends the number of every port the device map under
// HKEY_LOCAL_MACHINE lists, sorted by number (as users look for a port; the
// registry's own order is that of the drivers' start), leaving out values
// whose name contains "Nmserial" and listing a port named twice once. A value too long for its 256-byte buffers is
// skipped. When the key cannot be opened, `ports` is left as it was and the result is false. `keyPath` is for tests.
bool EnumerateSerialPorts(std::vector<int>& ports, const char* keyPath = kSerialDeviceMapPath);

// The devices of the Ports class that Windows has present, by the port each
// names ("PortName" COMn in its device key), with their friendly names as
// an entry shows them. Empty when SetupAPI is missing or fails: the ports
// are then listed by their plain names.
PortDevices ListPortDevices();
// The name of the device behind one port, empty when Windows knows none.
std::string PortDeviceName(int port);

// Fills the window's port box from the device map, each port with its
// device's name where Windows knows it, and selects the first entry; with no
// port (or no readable map) the box is emptied and the radio buttons
// disabled. Window thread. `keyPath` is for tests.
void FillPortList(IPortListWindow& window, const char* keyPath = kSerialDeviceMapPath);

#pragma once
#include <cstddef>
#include <map>
#include <string>

// What Windows knows of the devices behind the ports: for each port number
// the device's name as the port box shows it beside the port ("USB-SERIAL
// CH340"). A port without a known device is not in the map.
using PortDevices = std::map<int, std::string>;

// The longest device name an entry shows, in bytes of UTF-8.
constexpr size_t kDeviceNameLength = 64;

// A device's friendly name (UTF-8) as an entry shows it: the " (COMn)" of
// its own port that Windows appends dropped, every control character and
// every byte that starts no well-formed character made a blank, blanks
// trimmed at both ends and runs of them made one, and a name longer than
// kDeviceNameLength bytes cut there without splitting a character and
// marked with "...". Empty when nothing is left.
std::string DeviceNameForEntry(const std::string& friendlyName, int port);

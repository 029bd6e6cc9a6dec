#include "serial/PortList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/DecimalText.h"
#include "serial/PortListWindow.h"

namespace {

// The bytes up to the first zero byte, or all `size` of them when the
// registry handed over a text without its terminator.
std::string TextOf(const char* bytes, size_t size) {
    if (bytes == nullptr) return std::string();
    const void* zero = std::memchr(bytes, 0, size);
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}

std::vector<std::string> PortEntries(const std::vector<int>& ports, const PortDevices& devices) {
    std::vector<std::string> entries;
    entries.reserve(ports.size());
    for (int port : ports) entries.push_back(FormatPortEntry(port, devices));
    return entries;
}

}  // namespace

bool IsListedDeviceName(const char* name, size_t size) {
    return TextOf(name, size).find("Nmserial") == std::string::npos;
}

int PortNumberFromDeviceData(const char* data, size_t size) {
    std::string text = TextOf(data, size);
    if (text.size() <= 3) return 0;
    return ReadLeadingInt(text, 3);
}

void AddDeviceValue(std::vector<int>& ports, const char* name, size_t nameSize, const char* data, size_t dataSize) {
    if (!IsListedDeviceName(name, nameSize)) return;
    const int port = PortNumberFromDeviceData(data, dataSize);
    // Two values naming one port are one port to the user: listed once.
    if (std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(port);
}

std::string FormatPortEntry(int portNumber, const PortDevices& devices) {
    char entry[32];
    std::snprintf(entry, sizeof entry, " COM%d", portNumber);
    const auto device = devices.find(portNumber);
    if (device == devices.end() || device->second.empty()) return entry;
    return std::string(entry) + "  " + device->second;
}

void ShowPortList(const std::vector<int>& ports, IPortListWindow& window, const PortDevices& devices) {
    window.ReplacePortEntries(PortEntries(ports, devices));
    if (ports.empty())
        window.DisableRadioButtons();
    else
        window.SelectPort(0);
}

PortChoice RebuildPortList(const std::vector<int>& ports, int chosen, IPortListWindow& window,
                           const PortDevices& devices) {
    window.ReplacePortEntries(PortEntries(ports, devices));
    if (ports.empty()) window.DisableRadioButtons();
    if (chosen <= 0) {
        if (!ports.empty()) window.SelectPort(0);
        return PortChoice::None;
    }
    const auto at = std::find(ports.begin(), ports.end(), chosen);
    if (at == ports.end()) return PortChoice::Gone;
    window.SelectPort(static_cast<int>(at - ports.begin()));
    return PortChoice::Kept;
}

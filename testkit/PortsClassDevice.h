#pragma once
#include <string>

// A device of the Ports class made with SetupAPI in the test prefix, as a
// USB serial adapter's driver makes one: its friendly name and, in its
// device key, the port it is ("PortName" COMn). Removed again when it goes.
class PortsClassDevice {
public:
    PortsClassDevice(int port, const std::wstring& friendlyName);
    ~PortsClassDevice();
    PortsClassDevice(const PortsClassDevice&) = delete;
    PortsClassDevice& operator=(const PortsClassDevice&) = delete;
    // The device was made and named.
    bool Made() const { return made_; }

private:
    void* list_ = nullptr;         // the HDEVINFO holding it
    unsigned char data_[64] = {};  // its SP_DEVINFO_DATA
    bool made_ = false;
};

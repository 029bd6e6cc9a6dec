#include "radio/RadioLink.h"

#include "serial/PortSelection.h"

bool RadioLink::Open(int portNumber, int baudRate, bool firmwareRate) {
    last_.portNumber = portNumber;
    last_.baudRate = firmwareRate ? kFirmwareBaudRate : baudRate;
    if (port_.Open(last_.portNumber, last_.baudRate) && port_.IsLineConfigured() && port_.StartThread()) return true;
    port_.Close();
    return false;
}

bool RadioLink::OpenSelected(const std::string& portText, const std::string& rateText, bool firmwareRate) {
    return Open(ParsePortNumber(portText), ParseBaudRate(rateText), firmwareRate);
}

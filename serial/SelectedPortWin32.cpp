#include "serial/SelectedPort.h"

#include "serial/PortSelection.h"

bool OpenSelectedPort(CSerialPort& port, const std::string& portText, const std::string& rateText, bool firmwareRate,
                      SelectedPort& last) {
    last.portNumber = ParsePortNumber(portText);
    last.baudRate = firmwareRate ? kFirmwareBaudRate : ParseBaudRate(rateText);
    if (!port.Open(last.portNumber, last.baudRate)) return false;
    return port.StartThread();
}

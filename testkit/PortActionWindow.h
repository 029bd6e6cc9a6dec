#pragma once
#include <string>
#include <vector>

#include "radio/RadioActions.h"
#include "radio/RadioExchange.h"
#include "serial/SelectedPort.h"
#include "serial/SerialPort.h"

// The window side of the radio actions over the real COM port, as the main
// window does it: the port and rate boxes hold " COMn" and a rate, the
// outcome is recorded and closes the port.
class PortActionWindow : public IActionWindow, public IPortOwner, public IPortWriter {
public:
    PortActionWindow(int comPort, int baudRate);

    bool OpenSelectedPort(bool firmwareRate) override;
    void ShowResult(bool success, ActionControl control) override;
    void OnPortByte(unsigned char byte) override { exchange.OnPortByte(byte); }
    void Write(const unsigned char* data, uint32_t length) override { port.Write(data, length); }

    struct Result {
        bool success;
        ActionControl control;
        bool portOpenBefore;  // the port was open when the outcome came
    };
    std::string portText;
    std::string rateText;
    SelectedPort last;
    std::vector<Result> results;
    // The exchange is declared first so that the port, and its thread that
    // feeds the exchange, goes first.
    RadioExchange exchange;
    CSerialPort port;
};

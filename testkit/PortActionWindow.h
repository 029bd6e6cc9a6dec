#pragma once
#include <string>
#include <vector>

#include "radio/RadioActions.h"
#include "radio/RadioExchange.h"
#include "radio/RadioLink.h"

// The window side of the radio actions over the real COM port, as the main
// window does it: the port and rate boxes hold " COMn" and a rate, the
// outcome is recorded and closes the port.
class PortActionWindow : public IActionWindow {
public:
    PortActionWindow(int comPort, int baudRate);

    bool OpenSelectedPort(bool firmwareRate) override;
    void ShowResult(bool success, ActionControl control) override;

    struct Result {
        bool success;
        ActionControl control;
        bool portOpenBefore;  // the port was open when the outcome came
    };
    std::string portText;
    std::string rateText;
    std::vector<Result> results;
    RadioLink link;
    RadioExchange& exchange = link.Exchange();
    CSerialPort& port = link.Port();
};

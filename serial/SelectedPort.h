#pragma once
#include <string>

#include "serial/SerialPort.h"

// The port and rate last opened from the window's boxes.
struct SelectedPort {
    int portNumber = 0;
    int baudRate = 0;
};

// Opens the port named by the port box's text (" COM%d") at the rate box's
// rate, or at 115200 for a firmware download, and starts its thread. Stores
// what it used in `last` either way. False when the port cannot be opened or
// its thread cannot be started.
bool OpenSelectedPort(CSerialPort& port, const std::string& portText, const std::string& rateText, bool firmwareRate,
                      SelectedPort& last);

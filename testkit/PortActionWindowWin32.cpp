#include "testkit/PortActionWindow.h"

PortActionWindow::PortActionWindow(int comPort, int baudRate)
    : portText(" COM" + std::to_string(comPort)), rateText(" " + std::to_string(baudRate)) {}

bool PortActionWindow::OpenSelectedPort(bool firmwareRate) {
    return link.OpenSelected(portText, rateText, firmwareRate);
}

void PortActionWindow::ShowResult(bool success, ActionControl control) {
    results.push_back({success, control, port.IsOpen()});
    port.Close();
}

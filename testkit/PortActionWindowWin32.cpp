#include "testkit/PortActionWindow.h"

PortActionWindow::PortActionWindow(int comPort, int baudRate)
    : portText(" COM" + std::to_string(comPort)),
      rateText(" " + std::to_string(baudRate)),
      exchange(*this),
      port(this) {}

bool PortActionWindow::OpenSelectedPort(bool firmwareRate) {
    return ::OpenSelectedPort(port, portText, rateText, firmwareRate, last);
}

void PortActionWindow::ShowResult(bool success, ActionControl control) {
    results.push_back({success, control, port.IsOpen()});
    port.Close();
}

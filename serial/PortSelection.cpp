#include "serial/PortSelection.h"

#include "platform/DecimalText.h"

int ParsePortNumber(const std::string& portText) {
    if (portText.size() <= 4) return 0;
    int n = ReadLeadingInt(portText, 4);
    return n > 0 ? n : 0;
}

int ParseBaudRate(const std::string& rateText) {
    int rate = ReadLeadingInt(rateText);
    return rate > 0 ? rate : 0;
}

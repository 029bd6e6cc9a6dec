#include "serial/PortSelection.h"

#include "platform/DecimalText.h"

int ParsePortNumber(const std::string& portText) {
    if (portText.size() <= 4) return 0;
    int n = ReadLeadingInt(portText, 4);
    return n > 0 ? n : 0;
}

int ParsePortName(const std::string& name) {
    const bool com = name.size() > 3 && (name[0] | 0x20) == 'c' && (name[1] | 0x20) == 'o' && (name[2] | 0x20) == 'm' &&
                     name[3] >= '0' && name[3] <= '9';
    if (!com) return 0;
    const int n = ReadLeadingInt(name, 3);
    return n > 0 ? n : 0;
}

int ParseBaudRate(const std::string& rateText) {
    int rate = ReadLeadingInt(rateText);
    return rate > 0 ? rate : 0;
}

#include "SimFaults.h"

#include "RadioState.h"

#include <algorithm>

namespace {

// Fault counts are plain decimal numbers, read by the radio's own rule.
bool parseCount(const std::string& text, long min, long max, long& value) {
    int n = 0;
    if (!RadioState::parseNumber(text, int(min), int(max), n)) return false;
    value = n;
    return true;
}

}  // namespace

bool SimFaults::add(const std::string& text, std::string& error) {
    size_t eq = text.find('=');
    std::string name = text.substr(0, eq);
    std::string arg = eq == std::string::npos ? "" : text.substr(eq + 1);
    bool hasArg = eq != std::string::npos;
    long n = 0;
    if (!hasArg && name == "silent")
        silent = true;
    else if (!hasArg && name == "noise")
        noise = true;
    else if (!hasArg && name == "unknown-protocol")
        unknownProtocol = true;
    else if (!hasArg && name == "serial12")
        serial12 = true;
    else if (!hasArg && name == "serial-escape")
        serialEscape = true;
    else if (name == "delay" && parseCount(arg, 0, 600000, n))
        delayMs = int(n);
    else if (name == "drop" && parseCount(arg, 1, 999999999, n))
        dropAt.push_back(n);
    else if (name == "burst" && parseCount(arg, 1, 1000000, n))
        burst = n;
    else if (name == "bad-page" && parseCount(arg, 1, 999999999, n))
        badPages.push_back(n);
    else if (name == "hangup" && parseCount(arg, 0, 999999999, n))
        hangupAfter = n;
    else if (name == "ignore" && !arg.empty() && arg.find_first_of(" \r\n") == std::string::npos)
        ignoredSettings.push_back(arg);
    else if (name == "no-link-baud" && (!hasArg || arg == "error"))
        linkBaud = LinkBaud::Error;
    else if (name == "no-link-baud" && arg == "unknow")
        linkBaud = LinkBaud::Unknow;
    else if (name == "no-link-baud" && arg == "silent")
        linkBaud = LinkBaud::Silent;
    else {
        error = "unknown fault '" + text + "'";
        return false;
    }
    return true;
}

bool SimFaults::drops(long command) const { return std::find(dropAt.begin(), dropAt.end(), command) != dropAt.end(); }

std::string SimFaults::burstBytes() const {
    std::string bytes;
    bytes.reserve(size_t(burst));
    for (long i = 0; i < burst; ++i) {
        char c = char((i * 37 + 11) & 0xFF);
        bytes.push_back(c == '\r' || c == '\n' ? '#' : c);
    }
    return bytes;
}

bool SimFaults::refusesPage(long request) const {
    return std::find(badPages.begin(), badPages.end(), request) != badPages.end();
}

bool SimFaults::ignoresSetting(const std::string& keyword) const {
    return std::find(ignoredSettings.begin(), ignoredSettings.end(), keyword) != ignoredSettings.end();
}

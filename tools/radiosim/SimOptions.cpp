#include "SimOptions.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool toSeconds(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (errno || *end || !(v >= 0) || v > 1e6) return false;
    value = v;
    return true;
}

bool toBaud(const std::string& text, long& value) {
    if (text.empty() || text.size() > 8 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < 1) return false;
    value = v;
    return true;
}

}  // namespace

bool SimOptions::parse(int argc, const char* const* argv, std::string& error) {
    static const char* const flags[] = {"--help", "-h", "--echo", "--raw-echo"};
    static const char* const valued[] = {"--link",      "--stop-file", "--state",     "--transcript", "--firmware-out",
                                         "--idle-exit", "--line-rate", "--port-rate", "--fault"};
    auto among = [](const std::string& name, const auto& list) {
        for (const char* n : list)
            if (name == n) return true;
        return false;
    };
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i], value;
        size_t eq = name.find('=');
        bool inlineValue = name.compare(0, 2, "--") == 0 && eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (among(name, flags)) {
            if (inlineValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            setFlag(name);
            continue;
        }
        if (!among(name, valued)) {
            error = "unknown option '" + std::string(argv[i]) + "'";
            return false;
        }
        if (!inlineValue && i + 1 >= argc) {
            error = "option " + name + " needs a value";
            return false;
        }
        if (!inlineValue) value = argv[++i];
        if (!setValue(name, value, error)) return false;
    }
    return true;
}

void SimOptions::setFlag(const std::string& name) {
    if (name == "--echo")
        echo = true;
    else if (name == "--raw-echo")
        rawEcho = true;
    else
        help = true;
}

bool SimOptions::setValue(const std::string& name, const std::string& value, std::string& error) {
    bool ok = true;
    if (name == "--link")
        ok = !(link = value).empty();
    else if (name == "--stop-file")
        stopFile = value;
    else if (name == "--state")
        statePath = value;
    else if (name == "--transcript")
        transcriptPath = value;
    else if (name == "--firmware-out")
        firmwareOut = value;
    else if (name == "--idle-exit")
        ok = toSeconds(value, idleExitSeconds);
    else if (name == "--line-rate")
        ok = toBaud(value, lineRate);
    else if (name == "--port-rate")
        ok = toBaud(value, portRate);
    else
        return faults.add(value, error);
    if (!ok) error = "bad value '" + value + "' for " + name;
    return ok;
}

std::string SimOptions::usage() {
    return "usage: radiosim [options]\n"
           "A simulated radio on a pseudo-terminal. Prints 'ready LINK' once it listens.\n"
           "  --link PATH          symlink to the terminal (default /tmp/velmora-radio)\n"
           "  --stop-file PATH     exit as soon as this file exists\n"
           "  --idle-exit SECONDS  exit after this long without a received byte\n"
           "  --state FILE         parameters, read at start and written on every change\n"
           "  --transcript FILE    append every command and reply as a line\n"
           "  --firmware-out FILE  where a downloaded firmware image is written\n"
           "  --line-rate BAUD     pace both directions at this line rate\n"
           "  --port-rate BAUD     answer only while the terminal is set to this speed\n"
           "  --echo               echo each command before its reply\n"
           "  --raw-echo           echo every byte back and interpret nothing\n"
           "  --fault NAME[=N]     silent, delay=MS, drop=N, noise, unknown-protocol,\n"
           "                       no-link-baud[=error|unknow|silent], bad-page=K,\n"
           "                       hangup=N, serial12, serial-escape, ignore=KEYWORD, burst=N\n"
           "                       (repeatable)\n"
           "SIGINT, SIGTERM and the stop file end it cleanly: link removed, state saved.\n";
}

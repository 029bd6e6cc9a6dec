#include "testkit/SimProcess.h"

#include <cstdlib>
#include <sstream>

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

SimProcess::SimProcess(int comPort, const std::string& options) : port_(comPort) {
    const std::string dir = Env("VELMORA_PORT_DIR");
    if (dir.empty() || comPort <= 0) return;
    // Neither name may start with "com" and a number: Windows takes such a
    // file name, whatever its extension, for the serial device itself.
    std::vector<std::string> all = {"--link",      dir + "/port" + std::to_string(comPort),
                                    "--stop-file", dir + "/stop" + std::to_string(comPort),
                                    "--idle-exit", "120"};
    std::istringstream words(options);
    for (std::string word; words >> word;) all.push_back(word);
    Start(all);
}

std::string SimProcess::OptionValue(const std::vector<std::string>& options, const std::string& name) {
    for (size_t i = 0; i + 1 < options.size(); ++i)
        if (options[i] == name) return options[i + 1];
    return "";
}

int TestComPort(int index) {
    const std::string ports = Env("VELMORA_PORTS");
    int i = 0;
    for (const char* p = ports.c_str(); *p;) {
        char* end = nullptr;
        long n = std::strtol(p, &end, 10);
        if (end == p) break;
        if (i++ == index) return static_cast<int>(n);
        p = *end == ',' ? end + 1 : end;
    }
    return 0;
}

std::string SimProcess::UnixPathFor(int comPort, const std::string& name) {
    return Env("VELMORA_PORT_DIR") + "/sim" + std::to_string(comPort) + "-" + name;
}

std::string SimProcess::WinePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string StateValue(const std::string& state, const std::string& key) {
    std::istringstream in(state);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<missing>";
}

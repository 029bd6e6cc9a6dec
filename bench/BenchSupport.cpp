#include "bench/BenchSupport.h"

#include <windows.h>

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

size_t WireBytes(const std::string& transcript, size_t from) {
    size_t bytes = 0;
    size_t at = from;
    while (at < transcript.size()) {
        size_t end = transcript.find('\n', at);
        if (end == std::string::npos) end = transcript.size();
        const std::string line = transcript.substr(at, end - at);
        at = end + 1;
        if (line.rfind("> ", 0) != 0 && line.rfind("< ", 0) != 0) continue;
        for (size_t i = 2; i < line.size(); ++i, ++bytes) {
            if (line[i] != '\\' || i + 1 >= line.size()) continue;
            i += line[i + 1] == 'x' ? 3 : 1;  // \xHH or \r, \n, \t, \\ .
        }
    }
    return bytes;
}

// Query round trips against the simulated radio over a COM port: paced at
// 9600 baud (compared with the wire time of the bytes) and unpaced.
#include <cstdio>
#include <cstring>
#include <vector>

#include <windows.h>

#include "serial/TrafficLog.h"

#include "bench/BenchSupport.h"
#include "testkit/CountingRadio.h"
#include "testkit/SimProcess.h"

namespace {

struct Result {
    std::vector<double> ms;
    double wireMs = 0;
    int failures = 0;
};

// With `log`, every byte also goes to the traffic log, as in the program.
Result Run(int com, const char* simArgs, int baud, int count, TrafficLog* log = nullptr) {
    Result result;
    SimProcess radio(com, simArgs);
    if (!radio.Started()) {
        std::fprintf(stderr, "exchange: the simulated radio did not start on COM%d\n", com);
        result.failures = count;
        return result;
    }
    CountingRadio r;
    r.port.SetTrafficLog(log);
    if (!r.port.Open(com, baud) || !r.port.StartThread()) {
        std::fprintf(stderr, "exchange: COM%d did not open\n", com);
        result.failures = count;
        return result;
    }
    int replyBytes = 0;
    r.Query("control\r", replyBytes);
    const char* command = "cfg_ch_n\r";
    double wireBytes = 0;
    for (int i = 0; i < count; ++i) {
        double start = NowMs();
        bool ok = r.Query(command, replyBytes);
        double elapsed = NowMs() - start;
        if (!ok) {
            ++result.failures;
            continue;
        }
        result.ms.push_back(elapsed);
        wireBytes = static_cast<double>(std::strlen(command) + static_cast<size_t>(replyBytes));
    }
    result.wireMs = wireBytes * 10.0 * 1000.0 / baud;
    r.port.Close();
    return result;
}

}  // namespace

int main() {
    int com = TestComPort(0);
    if (com <= 0) {
        std::fprintf(stderr, "exchange: VELMORA_PORTS names no COM port\n");
        return 2;
    }
    Result paced = Run(com, "--line-rate 9600", 9600, 300);
    Result unpaced = Run(com, "", 9600, 1000);
    // The same with the traffic log writing to a file of the temporary folder.
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    TrafficLog::Options options;
    options.folder = folder;
    options.baseName = "velmora-bench-traffic";
    TrafficLog log(options);
    Result loggedPaced = Run(com, "--line-rate 9600", 9600, 300, &log);
    Result loggedUnpaced = Run(com, "", 9600, 1000, &log);
    std::printf("paced 9600: %zu ok, %d failed; unpaced: %zu ok, %d failed\n", paced.ms.size(), paced.failures,
                unpaced.ms.size(), unpaced.failures);
    // The "logged_" values are the same runs with the traffic log on.
    std::printf(
        "exchange: paced9600_median_ms=%.2f paced9600_wire_ms=%.2f paced9600_p99_ms=%.2f "
        "unpaced_median_ms=%.2f unpaced_p99_ms=%.2f logged_paced9600_median_ms=%.2f "
        "logged_paced9600_p99_ms=%.2f logged_unpaced_median_ms=%.2f logged_unpaced_p99_ms=%.2f arch=%s\n",
        Percentile(paced.ms, 0.5), paced.wireMs, Percentile(paced.ms, 0.99), Percentile(unpaced.ms, 0.5),
        Percentile(unpaced.ms, 0.99), Percentile(loggedPaced.ms, 0.5), Percentile(loggedPaced.ms, 0.99),
        Percentile(loggedUnpaced.ms, 0.5), Percentile(loggedUnpaced.ms, 0.99), kBenchArch);
    return paced.failures + unpaced.failures + loggedPaced.failures + loggedUnpaced.failures == 0 ? 0 : 1;
}

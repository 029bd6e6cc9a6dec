// A full Read (30 queries) against the simulated radio over a COM port:
// unpaced, and paced at 9600 baud against the wire time of all its bytes.
#include <cstdio>

#include "bench/BenchSupport.h"
#include "radio/RadioConfig.h"
#include "radio/RadioJob.h"
#include "testkit/CountingRadio.h"
#include "testkit/SimProcess.h"

namespace {

struct ReadResult {
    double ms = -1;
    double wireMs = 0;
};

ReadResult RunRead(int com, const char* simArgs) {
    ReadResult result;
    SimProcess sim(com, simArgs);
    if (!sim.Started()) return result;
    CountingRadio radio;
    // Into configuration mode first, outside the measurement.
    if (!radio.Open(com, 9600).Succeeded()) return result;
    int ignored = 0;
    radio.Query("control\r", ignored);
    radio.port.Close();

    JobRequest request;
    request.kind = JobKind::Read;
    request.port = com;
    request.rate = 9600;
    RadioConfig::FillParameterLists(request.settings, Language::English);
    const std::atomic<bool> cancel{false};
    radio.ResetCounts();
    double start = NowMs();
    // As the window's job does it: the Read, then the port closed.
    const JobResult read = RunRadioJob(request, radio, cancel);
    radio.port.Close();
    double elapsed = NowMs() - start;
    if (!read.outcome.Succeeded()) return result;
    result.ms = elapsed;
    result.wireMs = static_cast<double>(radio.BytesSent() + radio.BytesReceived()) * 10.0 * 1000.0 / 9600;
    return result;
}

}  // namespace

int main() {
    int com = TestComPort(0);
    if (com <= 0) return 2;
    const int runs = 5;
    std::vector<double> unpaced, paced;
    double wire = 0;
    for (int i = 0; i < runs; ++i) {
        ReadResult u = RunRead(com, "");
        ReadResult p = RunRead(com, "--line-rate 9600");
        if (u.ms < 0 || p.ms < 0) {
            std::fprintf(stderr, "read: a Read failed\n");
            return 1;
        }
        unpaced.push_back(u.ms);
        paced.push_back(p.ms);
        wire = p.wireMs;
        std::printf("run %d: unpaced %.1f ms, paced %.1f ms (wire %.1f ms)\n", i + 1, u.ms, p.ms, p.wireMs);
    }
    std::printf("read: unpaced_ms=%.1f paced9600_ms=%.1f paced9600_wire_ms=%.1f arch=%s\n", Percentile(unpaced, 0.5),
                Percentile(paced, 0.5), wire, kBenchArch);
    return 0;
}

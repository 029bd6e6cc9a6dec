// The console program against simulated radios paced at 38400 baud, each
// programmed with --write --verify from one profile: one radio, then four
// at once from one command, beside the process start alone (--help) and the
// floor of the radio work: the wire time of every byte the radios received
// and sent, plus the one pause of the session that the port itself takes
// when it closes (DTR dropped and the line purged before the handle goes).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/UniqueHandle.h"
#include "platform/Wide.h"
#include "testkit/SimProcess.h"

namespace {

constexpr int kLineRate = 38400;
constexpr double kClosePauseMs = 300;  // the port's own pause at its close, once per session
constexpr int kRadios = 4;
constexpr int kRepeats = 3;

// Runs the console program with `args`, its output discarded; the
// milliseconds from the start to its end, -1 when it fails or takes a minute.
double RunProgram(const std::string& args, DWORD& exitCode) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    UniqueHandle nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                   OPEN_EXISTING, 0, nullptr));
    std::wstring line = Text::Widen("\"" + SimProcess::WinePath(VELMORA_CONSOLE_PROGRAM) + "\" " + args);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul.get();
    PROCESS_INFORMATION info{};
    const double start = NowMs();
    if (!::CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &info)) return -1;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    if (::WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0) {
        ::TerminateProcess(info.hProcess, 99);
        return -1;
    }
    const double elapsed = NowMs() - start;
    ::GetExitCodeProcess(info.hProcess, &exitCode);
    return elapsed;
}

double WireMs(size_t bytes) { return static_cast<double>(bytes) * 10.0 * 1000.0 / kLineRate; }

struct Radio {
    std::unique_ptr<SimProcess> sim;
    std::string transcript;  // Unix path
    std::string Port() const { return "COM" + std::to_string(sim->Port()); }
};

}  // namespace

int main() {
    std::vector<Radio> radios(kRadios);
    for (int i = 0; i < kRadios; ++i) {
        const int com = TestComPort(i);
        if (com == 0) {
            std::fprintf(stderr, "VELMORA_PORTS must name %d ports\n", kRadios);
            return 1;
        }
        const std::string state = SimProcess::UnixPathFor(com, "bench-workshop-state.txt");
        radios[i].transcript = SimProcess::UnixPathFor(com, "bench-workshop-transcript.txt");
        SimProcess::WriteFile(radios[i].transcript, "");
        // Radios of one fleet have serial numbers of their own.
        SimProcess::WriteFile(state, "serial_number=VMBENCH" + std::to_string(i) + "\n");
        radios[i].sim = std::make_unique<SimProcess>(com, "--line-rate " + std::to_string(kLineRate) + " --state " +
                                                              state + " --transcript " + radios[i].transcript);
        if (!radios[i].sim->Started()) {
            std::fprintf(stderr, "radio %d did not start\n", i);
            return 1;
        }
    }
    // The profile, read from the first radio (also the warm-up of the program).
    const std::string profile = SimProcess::WinePath(SimProcess::UnixPathFor(TestComPort(0), "bench-workshop.cfg"));
    DWORD code = 0;
    if (RunProgram("--port " + radios[0].Port() + " --read " + profile, code) < 0 || code != 0) {
        std::fprintf(stderr, "the profile could not be read (exit code %lu)\n", code);
        return 1;
    }

    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) starts.push_back(RunProgram("--help", code));
    const double startMs = Percentile(starts, 0.5);

    // One run of `ports` radios; its time and each radio's floor.
    auto runWrite = [&](int ports, double& floorMs, double& wireMs) {
        std::vector<size_t> before(ports);
        std::string list;
        for (int i = 0; i < ports; ++i) {
            before[i] = SimProcess::ReadFile(radios[i].transcript).size();
            list += (i ? "," : "") + radios[i].Port();
        }
        const double ms = RunProgram("--port " + list + " --write " + profile + " --verify", code);
        if (ms < 0 || code != 0) return -1.0;
        floorMs = 0;
        for (int i = 0; i < ports; ++i) {
            // Each radio's floor: they run side by side, so the run's floor
            // is the largest.
            wireMs = WireMs(WireBytes(SimProcess::ReadFile(radios[i].transcript), before[i]));
            floorMs = std::max(floorMs, wireMs + kClosePauseMs);
        }
        return ms;
    };
    std::vector<double> one, four;
    double floorOne = 0, floorFour = 0, wireOne = 0, wireFour = 0;
    for (int r = 0; r < kRepeats; ++r) {
        one.push_back(runWrite(1, floorOne, wireOne));
        four.push_back(runWrite(kRadios, floorFour, wireFour));
    }
    for (double ms : one)
        if (ms < 0) return std::fprintf(stderr, "a write to one radio failed\n"), 1;
    for (double ms : four)
        if (ms < 0) return std::fprintf(stderr, "a write to four radios failed\n"), 1;
    const double oneMs = Percentile(one, 0.5), fourMs = Percentile(four, 0.5);
    const double workMs = oneMs - startMs;
    std::printf("process start (--help): %.0f ms\n", startMs);
    std::printf("one radio: %.0f ms, radio work %.0f ms, floor %.0f ms (wire %.0f ms + close pause %.0f ms)\n", oneMs,
                workMs, floorOne, wireOne, kClosePauseMs);
    std::printf("four radios from one command: %.0f ms, floor %.0f ms\n", fourMs, floorFour);
    std::printf(
        "workshop: start_ms=%.0f n1_ms=%.0f n1_work_ms=%.0f n1_floor_ms=%.0f n1_work_over_floor=%.2f "
        "n4_ms=%.0f n4_over_n1=%.2f s_per_radio_n1=%.2f s_per_radio_n4=%.2f arch=%s\n",
        startMs, oneMs, workMs, floorOne, workMs / floorOne, fourMs, fourMs / oneMs, oneMs / 1000.0,
        fourMs / 1000.0 / kRadios, kBenchArch);
    return 0;
}

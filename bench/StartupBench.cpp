// Start-up benchmark: from process start to the first paint of a program's
// window, and the program's peak memory by then, against a bare Win32
// window measured in the same run.
//
//     bench_startup APP.exe BARE.exe [RUNS]
//
// Each run starts the program, polls (every millisecond) for a visible
// top-level window of it with a client area and nothing left to paint, reads
// the process's peak working set, and ends the process. The two programs
// take turns after one unmeasured start each. The last line gives the best
// time of each (the start least disturbed by other work on the machine; the
// medians and 90th percentiles are printed above it) and the median peak:
//     startup: app_ms=A bare_ms=B ratio=R app_peak_mib=M
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "serial/UniqueHandle.h"

namespace {

constexpr double kTimeoutMs = 20000;
constexpr DWORD kSettleMs = 500;

struct Sample {
    double ms = -1;  // negative: the program never painted in time
    double peakMib = 0;
};

struct Search {
    DWORD processId;
    bool painted;
};

// A window of the process that is shown, has a size and has painted all of
// it: BeginPaint/EndPaint emptied the update region the showing created.
BOOL CALLBACK FindPainted(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != search->processId || !::IsWindowVisible(wnd)) return TRUE;
    RECT client{};
    if (!::GetClientRect(wnd, &client) || client.right <= 0 || client.bottom <= 0) return TRUE;
    if (::GetUpdateRect(wnd, nullptr, FALSE)) return TRUE;
    search->painted = true;
    return FALSE;
}

// Windows paths for CreateProcess: a Unix path is reached through drive Z:.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

Sample Measure(const std::string& program) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Sample sample;
    const double start = NowMs();
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), ::GetLastError());
        return sample;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    Search search{info.dwProcessId, false};
    while (NowMs() - start < kTimeoutMs) {
        ::EnumWindows(&FindPainted, reinterpret_cast<LPARAM>(&search));
        if (search.painted) break;
        if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) break;  // ended without a window
    }
    if (search.painted) sample.ms = NowMs() - start;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
        sample.peakMib = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }
    // Ended at once rather than closed: the window's own closing would add
    // the window system's time to the next run.
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 10000);
    // The window system goes on tearing the window down after the process
    // has ended; the next start should not pay for that.
    ::Sleep(kSettleMs);
    return sample;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup APP.exe BARE.exe [RUNS]\n");
        return 2;
    }
    const std::string app = WindowsPath(argv[1]);
    const std::string bare = WindowsPath(argv[2]);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 11;

    Measure(app);  // the first start also loads the libraries into the cache
    Measure(bare);
    std::vector<double> appMs, bareMs, appPeak, barePeak;
    for (int i = 0; i < runs; ++i) {
        const Sample a = Measure(app);
        const Sample b = Measure(bare);
        if (a.ms < 0 || b.ms < 0) {
            std::fprintf(stderr, "run %d: a program did not paint within %.0f ms\n", i, kTimeoutMs);
            return 1;
        }
        appMs.push_back(a.ms);
        bareMs.push_back(b.ms);
        appPeak.push_back(a.peakMib);
        barePeak.push_back(b.peakMib);
        std::printf("run %d: app %.1f ms %.1f MiB, bare %.1f ms %.1f MiB\n", i, a.ms, a.peakMib, b.ms, b.peakMib);
    }
    const double appBest = Percentile(appMs, 0);
    const double bareBest = Percentile(bareMs, 0);
    std::printf("app: %s\nbare: %s\n", app.c_str(), bare.c_str());
    std::printf("median: app %.1f ms, bare %.1f ms; p90: app %.1f ms, bare %.1f ms; bare peak %.1f MiB\n",
                Percentile(appMs, 0.5), Percentile(bareMs, 0.5), Percentile(appMs, 0.9), Percentile(bareMs, 0.9),
                Percentile(barePeak, 0.5));
    std::printf("startup: app_ms=%.1f bare_ms=%.1f ratio=%.2f app_peak_mib=%.1f\n", appBest, bareBest,
                bareBest > 0 ? appBest / bareBest : 0.0, Percentile(appPeak, 0.5));
    return 0;
}

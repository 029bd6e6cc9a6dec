// Start-up benchmark: from process start to the first paint of a program's
// window, and the program's peak memory by then, against a bare Win32
// window measured in the same run.
//
//     bench_startup APP.exe BARE.exe [RUNS]
//
// Each run starts the program, polls (every millisecond) for the window it
// shows: a visible, unowned top-level window of it with a client area and
// nothing left to paint, whose thread has gone back to its message loop since
// (BeginPaint empties the update region before anything is drawn; a message
// sent to the window is answered only after the painting returns). It then
// reads the process's peak working set and ends the process. The two
// programs take turns after one unmeasured start each.
//
// The medians, 90th percentiles and best times are printed, with the ratio
// of each. The last line gives the best time of each: on a shared machine
// other work only ever adds to a start, so the least disturbed start is the
// steadiest measure of the program's own cost, and both programs get theirs.
// Its memory figure is the median peak:
//     startup: app_ms=A bare_ms=B ratio=R app_peak_mib=M
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/UniqueHandle.h"

namespace {

constexpr double kTimeoutMs = 20000;
constexpr DWORD kSettleMs = 500;

struct Sample {
    double ms = -1;  // negative: the program never painted in time
    double peakMib = 0;
};

struct Search {
    DWORD processId;
    HWND found;
};

// The window the program shows, painted as far as the system can tell: shown,
// not owned by another window (a tooltip or drop-down is not it), with a size,
// and with nothing left in its update region.
BOOL CALLBACK FindPainted(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != search->processId || !::IsWindowVisible(wnd)) return TRUE;
    if (::GetWindow(wnd, GW_OWNER) != nullptr) return TRUE;
    RECT client{};
    if (!::GetClientRect(wnd, &client) || client.right <= 0 || client.bottom <= 0) return TRUE;
    if (::GetUpdateRect(wnd, nullptr, FALSE)) return TRUE;
    search->found = wnd;
    return FALSE;
}

// True once the window found has finished painting: its thread answers a
// message only from its message loop, after the paint that emptied the
// update region has returned, and that paint left nothing to paint again.
bool PaintFinished(HWND wnd) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer)) return false;
    return ::IsWindowVisible(wnd) && !::GetUpdateRect(wnd, nullptr, FALSE);
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
    bool painted = false;
    while (!painted && NowMs() - start < kTimeoutMs) {
        Search search{info.dwProcessId, nullptr};
        ::EnumWindows(&FindPainted, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && PaintFinished(search.found)) {
            painted = true;
            break;
        }
        if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) break;  // ended without a window
    }
    if (painted) sample.ms = NowMs() - start;
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
    const double appBest = Percentile(appMs, 0), bareBest = Percentile(bareMs, 0);
    const double appMedian = Percentile(appMs, 0.5), bareMedian = Percentile(bareMs, 0.5);
    std::printf("app: %s\nbare: %s\n", app.c_str(), bare.c_str());
    std::printf("median: app %.1f ms, bare %.1f ms, ratio %.2f; p90: app %.1f ms, bare %.1f ms\n", appMedian,
                bareMedian, bareMedian > 0 ? appMedian / bareMedian : 0.0, Percentile(appMs, 0.9),
                Percentile(bareMs, 0.9));
    std::printf("best: app %.1f ms, bare %.1f ms, ratio %.2f; median peak: app %.1f MiB, bare %.1f MiB\n", appBest,
                bareBest, bareBest > 0 ? appBest / bareBest : 0.0, Percentile(appPeak, 0.5), Percentile(barePeak, 0.5));
    std::printf("the last line gives the best runs: other work on the machine only ever adds to a start\n");
    std::printf("startup: app_ms=%.1f bare_ms=%.1f ratio=%.2f app_peak_mib=%.1f arch=%s\n", appBest, bareBest,
                bareBest > 0 ? appBest / bareBest : 0.0, Percentile(appPeak, 0.5), kBenchArch);
    return 0;
}

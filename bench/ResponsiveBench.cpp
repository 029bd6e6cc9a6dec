// The main window during a Read against a simulated radio that answers every
// command 300 ms late, paced at 38400 baud: how long the window thread keeps
// a message waiting (WM_NULL sent from another thread every 20 ms, as a
// user's click or Windows' "Not Responding" check waits), and the Read's
// duration, from the click to its outcome on the strip, against its floor:
// the radio's delay before each of its 30 replies, the wire time of every
// byte both ways, and the port's own pause as it closes (DTR dropped and the
// line purged before the handle goes), after which the outcome shows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "app/DlgMain.h"
#include "bench/BenchSupport.h"
#include "radio/Parameters.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/SimProcess.h"
#include "testkit/WindowPinger.h"

namespace {

constexpr const char* kPortMapKey = "Software\\VelmoraBench\\ResponsiveSerialMap";
constexpr const char* kSettingsKey = "Software\\VelmoraBench\\ResponsiveSettings";
constexpr int kDelayMs = 300;
constexpr int kLineRate = 38400;
constexpr double kClosePauseMs = 300;

bool WritePortMap(int com) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPortMapKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const std::string port = "COM" + std::to_string(com);
    const LONG written =
        ::RegSetValueExA(key, "\\Device\\Serial0", 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                         static_cast<DWORD>(port.size() + 1));
    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    return written == ERROR_SUCCESS;
}

// Runs a window action and pumps until its outcome is shown; the
// milliseconds from the click to then, -1 when it failed.
double RunAction(DlgMain& window, Loom::CControlUI* button, OutcomeAction action) {
    const double start = NowMs();
    window.GetPaintManager().SendNotify(button, "click");
    const bool shown = LoomTest::TestWindow::PumpUntil(
        [&] { return window.LastOutcome() && window.LastOutcome()->action == action && !window.IsRunningJob(); },
        60000);
    const double elapsed = NowMs() - start;
    if (!shown || !window.LastOutcome()->Succeeded()) return -1;
    return elapsed;
}

}  // namespace

int main() {
    const int com = TestComPort(0);
    if (com <= 0 || !WritePortMap(com)) return 2;
    const std::string transcript = SimProcess::UnixPathFor(com, "bench-responsive-transcript.txt");
    SimProcess::WriteFile(transcript, "");
    SimProcess sim(com, "--fault delay=" + std::to_string(kDelayMs) + " --line-rate " + std::to_string(kLineRate) +
                            " --transcript " + transcript);
    if (!sim.Started()) return 1;
    auto window = std::make_unique<DlgMain>(MainWindowPlaces{kPortMapKey, kSettingsKey});
    if (window->Create(nullptr, "main", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0x00060000, 0, 0, 670, 444) == nullptr) {
        std::fprintf(stderr, "responsive: no main window\n");
        return 1;
    }
    window->SwitchLanguage();  // English
    MainWindowControls& c = window->Controls();
    if (RunAction(*window, c.connectButton, OutcomeAction::Connect) < 0) {
        std::fprintf(stderr, "responsive: Connect failed\n");
        return 1;
    }
    LoomTest::TestWindow::PumpUntil([&] { return !window->IsRunningJob(); }, 5000);
    const size_t before = SimProcess::ReadFile(transcript).size();
    WindowPinger pinger(window->GetHWND(), 30000);
    const double readMs = RunAction(*window, c.readButton, OutcomeAction::Read);
    pinger.Stop();
    if (readMs < 0 || pinger.Unanswered() > 0) {
        std::fprintf(stderr, "responsive: the Read failed or a message went unanswered\n");
        return 1;
    }
    const double wireMs =
        static_cast<double>(WireBytes(SimProcess::ReadFile(transcript), before)) * 10.0 * 1000.0 / kLineRate;
    const double floorMs = ReadCommandCount() * kDelayMs + wireMs + kClosePauseMs;
    std::printf("read %.0f ms, floor %.0f ms (%d replies %d ms late, wire %.0f ms, close %.0f ms); %d messages sent\n",
                readMs, floorMs, ReadCommandCount(), kDelayMs, wireMs, kClosePauseMs, pinger.Asked());
    std::printf("responsive: longest_wait_ms=%.1f read_ms=%.0f floor_ms=%.0f read_over_floor=%.3f arch=%s\n",
                pinger.LongestMs(), readMs, floorMs, readMs / floorMs, kBenchArch);
    ::DestroyWindow(window->GetHWND());
    window.reset();
    return 0;
}

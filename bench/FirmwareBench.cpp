// A 256 KiB firmware image downloaded to the simulated radio paced at
// 115200 baud, against its floor: per page the 50 ms the download must wait,
// plus the wire time of every byte of the dialogue in both directions, plus
// the 100 ms pause after "ISP finish".
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "testkit/CountingRadio.h"
#include "radio/Firmware.h"
#include "testkit/FirmwareImage.h"
#include "testkit/SimProcess.h"

namespace {

class BenchWindow : public Firmware::IFirmwareEvents, public Firmware::IFirmwareChooser {
public:
    explicit BenchWindow(std::string path) : path_(std::move(path)) {}
    void Busy(bool) override {}
    void Progress(int) override {}
    void Ended(const Outcome& outcome) override {
        ok = outcome.Succeeded();
        end = NowMs();
        radio.port.Close();
    }
    bool ChooseFirmwareFile(std::string& path) override {
        path = path_;
        return true;
    }
    CountingRadio radio;
    bool ok = false;
    double end = 0;

private:
    std::string path_;
};

}  // namespace

int main() {
    int com = TestComPort(0);
    if (com <= 0) return 2;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "velmora-bench.dwn";
    const uint64_t length = 256 * 1024;
    {
        const std::string image = MakeImage(length);
        HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (f == INVALID_HANDLE_VALUE || !::WriteFile(f, image.data(), static_cast<DWORD>(length), &written, nullptr))
            return 1;
        ::CloseHandle(f);
    }
    SimProcess sim(com, "--line-rate 115200");
    if (!sim.Started()) return 1;
    BenchWindow window(path);
    Firmware::Download download(window, window, window.radio, com);
    double start = NowMs();
    download.downloadFirmware();
    ::DeleteFileA(path.c_str());
    if (!window.ok) {
        std::fprintf(stderr, "firmware: the download failed\n");
        return 1;
    }
    uint64_t pages = Firmware::PageCount(length);
    double seconds = (window.end - start) / 1000.0;
    double wire = static_cast<double>(window.radio.BytesSent() + window.radio.BytesReceived()) * 10.0 / 115200;
    double floor = static_cast<double>(pages) * download.pagePauseMs / 1000.0 + wire + download.finishPauseMs / 1000.0;
    std::printf("firmware: pages=%llu seconds=%.2f floor_seconds=%.2f overhead_pct=%.1f arch=%s\n",
                static_cast<unsigned long long>(pages), seconds, floor, 100.0 * (seconds - floor) / floor, kBenchArch);
    return 0;
}

// A firmware download over the real port to the simulated radio, driven by
// the worker thread and reported to a real window through the window's own
// message.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/FirmwareWindow.h"
#include "app/UiEvents.h"
#include "platform/Wide.h"
#include "radio/Firmware.h"
#include "radio/FirmwareWorker.h"
#include "testkit/FirmwareImage.h"
#include "radio/RadioLink.h"
#include "testkit/SimProcess.h"
#include "testkit/Transcript.h"

namespace {

using Strings = std::vector<std::string>;

// A window that records the download's messages.
class RecordingWindow {
public:
    RecordingWindow() {
        // The process's display DC is made here, outside any window call:
        // 32-bit Wine was seen to hang when the first one was made inside
        // the creation of a window (loading the class's default icon).
        ::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED);
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RecordingWindow::Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelmoraFirmwareTestWindow";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, wc.hInstance, this);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { ::DestroyWindow(hwnd); }

    // Pumps messages until busy goes off again, or the time-out.
    bool WaitForEnd(DWORD timeoutMs) {
        return PumpUntil([this] { return ended; }, timeoutMs);
    }
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
        DWORD start = ::GetTickCount();
        while (!done() && ::GetTickCount() - start < timeoutMs) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT | QS_SENDMESSAGE);
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        }
        return done();
    }

    HWND hwnd = nullptr;
    Strings log;
    std::vector<int> progress;
    OutcomeSlot slot;  // where the download leaves its outcome
    Outcome outcome;
    bool ended = false;
    DWORD senderThread = 0;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg != kWmAppUiEvent || !self) return ::DefWindowProcW(h, msg, w, l);
        self->senderThread = ::GetCurrentThreadId();
        switch (l) {
        case kUiBusy:
            self->log.push_back(w == 1 ? "busy on" : "busy off");
            self->ended = w != 1;
            break;
        case kUiProgress:
            self->progress.push_back(static_cast<int>(w));
            break;
        case kUiFirmwareEnded:
            if (self->slot.Take(self->outcome)) self->log.push_back(CauseWord(self->outcome.kind));
            break;
        }
        return 0;
    }
};

// The real port, counting its opens and the rate of the last.
struct CountingLine : IRadioLine {
    RadioLink link;
    int opens = 0;
    int rate = 0;
    Outcome Open(int port, int baudRate) override {
        ++opens;
        rate = baudRate;
        return link.Open(port, baudRate);
    }
    RadioExchange& Exchange() override { return link.Exchange(); }
    bool Lost() const override { return link.Lost(); }
};

struct PathChooser : Firmware::IFirmwareChooser {
    std::string path;
    bool ChooseFirmwareFile(std::string& chosen) override {
        chosen = path;
        return true;
    }
};

class FirmwareOverComPort : public ::testing::Test {
protected:
    std::string Unix(const std::string& name) const { return SimProcess::UnixPathFor(TestComPort(0), name); }
    // Writes an image of `length` bytes and downloads it through the worker.
    void Download(size_t length, const std::string& faults = "", int pagePauseMs = 50) {
        WriteImage(length);
        if (HasFatalFailure()) return;
        SimProcess radio(TestComPort(0), "--transcript " + Unix("fw-transcript") + " --firmware-out " +
                                             Unix("received.bin") + " " + faults);
        ASSERT_TRUE(radio.Started());
        CountingLine line;
        WindowFirmwareEvents events(recorder.hwnd, &line.link, &recorder.slot);
        Firmware::Download download = DownloadOver(line, events, pagePauseMs);
        FirmwareWorker worker([&] { download.downloadFirmware(); });
        worker.Start();
        worker.firmwarePending = true;
        finished = recorder.WaitForEnd(600000);
        worker.Stop();
        baud = line.rate;
        portOpenAfter = line.link.IsOpen();
        radio.Stop();
        ReadResults();
    }
    // The written image's download over the port, reported to the recording
    // window; the events close the port before busy off.
    Firmware::Download DownloadOver(CountingLine& line, WindowFirmwareEvents& events, int pagePauseMs) {
        chooser.path = SimProcess::WinePath(imagePath);
        Firmware::Download download(chooser, events, line, TestComPort(0));
        download.pagePauseMs = pagePauseMs;
        return download;
    }
    void WriteImage(size_t length) {
        image = MakeImage(length);
        imagePath = Unix("image.dwn");
        HANDLE f = ::CreateFileW(Text::WidePath(SimProcess::WinePath(imagePath)).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(f, image.data(), static_cast<DWORD>(image.size()), &written, nullptr));
        ::CloseHandle(f);
        // A run stopped midway leaves the radio's files behind.
        for (const char* file : {"received.bin", "fw-transcript"})
            ::DeleteFileW(Text::WidePath(SimProcess::WinePath(Unix(file))).c_str());
    }
    // What the radio logged and saved; the files are removed.
    void ReadResults() {
        transcript = SimProcess::ReadFile(Unix("fw-transcript"));
        received = SimProcess::ReadFile(Unix("received.bin"));
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(Unix("fw-transcript"))).c_str());
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(imagePath)).c_str());
    }
    // What the radio must have received: the first page, then whole pages from 4096.
    std::string PagesOf(const std::string& bytes) {
        std::string pages = bytes.substr(0, 256);
        for (size_t at = 4096; at + 256 <= bytes.size(); at += 256) pages += bytes.substr(at, 256);
        return pages;
    }

    RecordingWindow recorder;
    PathChooser chooser;
    std::string image, imagePath, transcript, received;
    bool finished = false;
    bool portOpenAfter = true;
    int baud = 0;
};

TEST_F(FirmwareOverComPort, FileOf4096Bytes_RefusedBeforeThePortOpens) {
    Download(4096);
    ASSERT_TRUE(finished);
    EXPECT_EQ(recorder.log, (Strings{"busy on", "file-error", "busy off"}));
    EXPECT_EQ(ReceivedCommands(transcript), Strings{});
    EXPECT_EQ(baud, 0);  // the port was never asked for
}

TEST_F(FirmwareOverComPort, FileOf4352Bytes_TwoPagesAt115200) {
    Download(4352);
    ASSERT_TRUE(finished);
    EXPECT_EQ(recorder.log, (Strings{"busy on", "success", "busy off"}));
    EXPECT_NE(recorder.senderThread, 0u);
    EXPECT_EQ(recorder.progress, std::vector<int>{10000});
    EXPECT_EQ(baud, 115200);
    EXPECT_FALSE(portOpenAfter);
    EXPECT_EQ(received, PagesOf(image));
    EXPECT_NE(transcript.find("checksum ok"), std::string::npos);
}

TEST_F(FirmwareOverComPort, FileOf4400Bytes_LastPartialPageNotSent) {
    Download(4400);
    ASSERT_TRUE(finished);
    EXPECT_EQ(recorder.progress, std::vector<int>{9142});
    EXPECT_EQ(received.size(), 512u);
    EXPECT_EQ(received, PagesOf(image));
}

TEST_F(FirmwareOverComPort, FileOf4608Bytes_ThreePages) {
    Download(4608);
    ASSERT_TRUE(finished);
    EXPECT_EQ(recorder.progress, (std::vector<int>{6666, 10000}));
    EXPECT_EQ(received, PagesOf(image));
}

TEST_F(FirmwareOverComPort, OneMebibyte_ProgressRisesSteadilyToTheEnd) {
    Download(1 << 20, "", 0);  // without the 50 ms pause a page, to keep the test short
    ASSERT_TRUE(finished);
    ASSERT_EQ(recorder.progress.size(), Firmware::PageCount(1 << 20) - 1);
    EXPECT_TRUE(std::is_sorted(recorder.progress.begin(), recorder.progress.end()));
    EXPECT_EQ(recorder.progress.back(), 10000);
    EXPECT_EQ(received, PagesOf(image));
}

TEST_F(FirmwareOverComPort, WrongAnswerAtPageThree_FailsWithoutFinish) {
    Download(4096 + 5 * 256, "--fault bad-page=3");
    ASSERT_TRUE(finished);
    EXPECT_EQ(recorder.log, (Strings{"busy on", "unexpected-answer", "busy off"}));
    EXPECT_TRUE(recorder.outcome.inBootLoader) << "the radio waits in its boot loader";
    EXPECT_EQ(recorder.outcome.command, "write page");
    EXPECT_EQ(recorder.progress, std::vector<int>{Firmware::Progress(512, 4096 + 5 * 256)});
    EXPECT_EQ(transcript.find("ISP finish"), std::string::npos);
    EXPECT_TRUE(received.empty());  // the radio never finished an image
    EXPECT_FALSE(portOpenAfter);
}

// The window closing mid-download: its thread stops the worker while the
// worker waits for it to handle the download's next event.
TEST_F(FirmwareOverComPort, StopFromTheWindowThreadMidDownload_EndsAtTheNextPageWithoutDeadlock) {
    WriteImage(1 << 20);
    if (HasFatalFailure()) return;
    SimProcess radio(TestComPort(0), "--transcript " + Unix("fw-transcript"));
    ASSERT_TRUE(radio.Started());
    CountingLine line;
    WindowFirmwareEvents events(recorder.hwnd, &line.link, &recorder.slot);
    Firmware::Download download = DownloadOver(line, events, 0);
    FirmwareWorker worker([&] { download.downloadFirmware(); }, [&] { download.ReportFailure(); });
    download.cancel = &worker.cancelRequested;
    worker.Start();
    worker.firmwarePending = true;
    const bool midway = recorder.PumpUntil([&] { return recorder.progress.size() >= 3; }, 60000);
    // The worker is now sending the next event and waits for this thread.
    const size_t progressAtStop = recorder.progress.size();
    DWORD start = ::GetTickCount();
    worker.Stop(AnswerSentMessages);
    DWORD took = ::GetTickCount() - start;
    ASSERT_TRUE(midway);
    EXPECT_LT(took, 3000u);  // one page's two exchanges at most
    EXPECT_EQ(recorder.log, (Strings{"busy on", "cancelled", "busy off"}));
    EXPECT_LE(recorder.progress.size(), progressAtStop + 1);
    EXPECT_FALSE(line.link.IsOpen());
    radio.Stop();
    ReadResults();
    size_t pages = 0;
    for (const std::string& c : ReceivedCommands(transcript)) pages += c.rfind("page ", 0) == 0;
    EXPECT_LE(pages, progressAtStop + 2);  // the first page, one per progress value, one in flight
    EXPECT_EQ(transcript.find("ISP finish"), std::string::npos);
}

}  // namespace

// The radio actions and the firmware download over a real COM port under
// Wine, against the simulated radio.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "radio/Firmware.h"
#include "radio/FirmwareWindow.h"
#include "radio/FirmwareWorker.h"
#include "radio/RadioActions.h"
#include "radio/RadioConfig.h"
#include "radio/UiEvents.h"
#include "testkit/FakeConfigView.h"
#include "testkit/PortActionWindow.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

using Strings = std::vector<std::string>;

// The commands the radio received, in order, from its transcript.
Strings ReceivedCommands(const std::string& transcript) {
    Strings commands;
    std::istringstream in(transcript);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("> ", 0) == 0) commands.push_back(line.substr(2));
    return commands;
}

bool Contains(const Strings& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// One simulated radio with a transcript and a state file, the recording fake
// of the window's rows, and the actions over the real port.
class RadioOverComPort : public ::testing::Test {
protected:
    void StartRadio(const std::string& extra = "") {
        com = TestComPort(0);
        ASSERT_GT(com, 0);
        // A run stopped midway leaves its files behind: this radio starts afresh.
        for (const std::string& file : {Transcript(), State()})
            ::DeleteFileW(Text::WidePath(SimProcess::WinePath(file)).c_str());
        radio.reset(new SimProcess(com, "--transcript " + Transcript() + " --state " + State() + " " + extra));
        ASSERT_TRUE(radio->Started());
        window.reset(new PortActionWindow(com, 9600));
        actions.reset(new RadioActions(view, config, window->exchange, *window));
    }
    void TearDown() override {
        actions.reset();
        window.reset();
        if (radio) radio->Stop();
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(Transcript())).c_str());
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(State())).c_str());
    }
    std::string Transcript() const { return Unix("transcript"); }
    std::string State() const { return Unix("state"); }
    std::string Unix(const std::string& name) const { return SimProcess::UnixPathFor(TestComPort(0), name); }
    Strings Received() { return ReceivedCommands(SimProcess::ReadFile(Transcript())); }
    const PortActionWindow::Result& OnlyResult() {
        EXPECT_EQ(window->results.size(), 1u);
        return window->results.at(0);
    }

    RadioOverComPort() : config(view) {
        view.config = &config;
        config.FillParameterLists();
    }

    int com = 0;
    FakeConfigView view;
    RadioConfig config;
    std::unique_ptr<SimProcess> radio;
    std::unique_ptr<PortActionWindow> window;
    std::unique_ptr<RadioActions> actions;
};

TEST_F(RadioOverComPort, ConnectReadDisconnect_FillsEveryFieldFromTheRadio) {
    StartRadio();
    actions->EnterConfigMode();
    actions->ReadFromRadio();
    actions->ExitConfigMode();
    ASSERT_EQ(window->results.size(), 3u);
    for (const auto& r : window->results) EXPECT_TRUE(r.success);
    EXPECT_EQ(window->results[1].control, ActionControl::Read);
    EXPECT_FALSE(window->port.IsOpen());
    // The radio's factory state.
    EXPECT_EQ(view.GetSelection(ListField::CurrentChannel), 0);
    EXPECT_EQ(view.GetSelection(ListField::Protocol), 0);
    EXPECT_EQ(view.GetSelection(ListField::PortBaudRate), 0);
    EXPECT_EQ(view.GetShownText(ListField::LinkBaudRate), " 9600");
    EXPECT_EQ(view.GetSelection(ListField::HighPower), 0);
    EXPECT_EQ(view.GetSelection(ListField::LowPower), 2);
    EXPECT_EQ(view.GetSelection(ListField::Bandwidth), 1);
    EXPECT_EQ(view.GetSelection(ListField::WorkMode), 1);
    EXPECT_EQ(view.field(TextField::SerialNumber), "VM2300001");
    EXPECT_EQ(view.field(TextField::HardwareVersion), "H2.1");
    EXPECT_EQ(view.field(TextField::FirmwareVersion), "V3.12");
    EXPECT_EQ(view.field(TextField::SubFirmwareVersion), "S1.05");
    EXPECT_EQ(view.field(TextField::Src), "1");
    EXPECT_EQ(view.field(TextField::Dst), "255");
    EXPECT_EQ(view.tx[1], "415.50000");
    EXPECT_EQ(view.tx[8], "450.50000");
    EXPECT_EQ(view.rx[3], "425.60000");
    EXPECT_EQ(Received().size(), 32u);  // control, 30 queries, exitcnt
}

TEST_F(RadioOverComPort, ReadOutsideConfigurationMode_Fails) {
    StartRadio();
    actions->ReadFromRadio();
    EXPECT_FALSE(OnlyResult().success);
    EXPECT_FALSE(window->port.IsOpen());
}

TEST_F(RadioOverComPort, Write_RadioKeepsTheValuesInItsState) {
    StartRadio();
    for (int row = 1; row <= 8; ++row) {
        view.tx[row] = "46" + std::to_string(row) + ".12500";
        view.rx[row] = "42" + std::to_string(row) + ".00000";
    }
    view.SelectItem(ListField::Protocol, 8);   // SATEL
    view.SelectItem(ListField::Bandwidth, 0);  // 12.5 kHz: link rate locked at 9600
    view.SelectItem(ListField::CurrentChannel, 5);
    view.SelectItem(ListField::PortBaudRate, 3);
    view.SelectItem(ListField::WorkMode, 2);
    view.SelectItem(ListField::HighPower, 1);
    view.SelectItem(ListField::LowPower, 0);
    view.field(TextField::Src) = "";
    view.field(TextField::Dst) = "300";
    actions->EnterConfigMode();
    actions->WriteToRadio();
    ASSERT_EQ(window->results.size(), 2u);
    EXPECT_TRUE(window->results[1].success);
    EXPECT_FALSE(window->port.IsOpen());
    radio->Stop();  // the radio saves its state as it ends
    std::string state = SimProcess::ReadFile(State());
    EXPECT_EQ(StateValue(state, "tx1"), "461.12500");
    EXPECT_EQ(StateValue(state, "rx8"), "428.00000");
    EXPECT_EQ(StateValue(state, "protocol"), "9");
    EXPECT_EQ(StateValue(state, "link_baud"), "2");
    EXPECT_EQ(StateValue(state, "bandwidth"), "12.5");
    EXPECT_EQ(StateValue(state, "current_channel"), "6");
    EXPECT_EQ(StateValue(state, "port_baud"), "4");
    EXPECT_EQ(StateValue(state, "work_mode"), "repeater");
    EXPECT_EQ(StateValue(state, "high_power"), "2");
    EXPECT_EQ(StateValue(state, "low_power"), "1");
    EXPECT_EQ(StateValue(state, "local_address"), "0");
    EXPECT_EQ(StateValue(state, "destination_address"), "255");
    Strings received = Received();
    EXPECT_TRUE(Contains(received, "cfg_srcx 0\\r"));
    EXPECT_TRUE(Contains(received, "cfg_dstx 255\\r"));
    for (const std::string& c : received) EXPECT_EQ(c.find("cfg_sern"), std::string::npos);
}

TEST_F(RadioOverComPort, WriteWithUnlockedSerialNumber_SendsIt) {
    StartRadio();
    for (int row = 1; row <= 8; ++row) view.tx[row] = view.rx[row] = "440.00000";
    for (ListField l : {ListField::Protocol, ListField::CurrentChannel, ListField::PortBaudRate, ListField::Bandwidth,
                        ListField::WorkMode, ListField::HighPower, ListField::LowPower})
        view.SelectItem(l, 0);
    config.UnlockSerialNumber();
    view.field(TextField::SerialNumber) = "VM9";
    actions->EnterConfigMode();
    actions->WriteToRadio();
    EXPECT_TRUE(window->results.at(1).success);
    radio->Stop();  // the radio saves its state as it ends
    EXPECT_EQ(StateValue(SimProcess::ReadFile(State()), "serial_number"), "VM9");
    EXPECT_FALSE(config.serialUnlocked);
}

TEST_F(RadioOverComPort, WriteWithAnInvalidFrequency_OpensNoPort) {
    StartRadio();
    view.tx[2] = "409.99999";
    actions->WriteToRadio();
    EXPECT_FALSE(OnlyResult().success);
    EXPECT_FALSE(OnlyResult().portOpenBefore);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(view.errors, Strings{"Channel1: Invalid!"});
}

TEST_F(RadioOverComPort, WriteOfAFrequencyCarryingASecondCommand_SendsNothing) {
    StartRadio();
    for (int row = 1; row <= 8; ++row) view.tx[row] = view.rx[row] = "440.00000";
    for (ListField l : {ListField::Protocol, ListField::CurrentChannel, ListField::PortBaudRate, ListField::Bandwidth,
                        ListField::WorkMode, ListField::HighPower, ListField::LowPower})
        view.SelectItem(l, 0);
    view.tx[1] = "415.5\rcfg_prtl 9";  // as an imported file can bring it
    actions->EnterConfigMode();
    actions->WriteToRadio();
    ASSERT_EQ(window->results.size(), 2u);
    EXPECT_FALSE(window->results[1].success);
    EXPECT_EQ(view.errors, Strings{"Channel1: Invalid!"});
    EXPECT_EQ(Received(), Strings{"control\\r"});
    radio->Stop();  // the radio saves its state as it ends
    EXPECT_EQ(StateValue(SimProcess::ReadFile(State()), "protocol"), "1");
}

TEST_F(RadioOverComPort, SilentRadio_ReadFallsBackThenFails) {
    StartRadio("--fault silent");
    actions->ReadFromRadio();
    EXPECT_FALSE(OnlyResult().success);
    EXPECT_TRUE(OnlyResult().portOpenBefore);
    EXPECT_EQ(Received(), (Strings{"cfg_ch_n\\r", "cfg_pwrh\\r"}));
    EXPECT_EQ(view.list(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_FALSE(window->port.IsOpen());
}

TEST_F(RadioOverComPort, UnknownProtocol_ShowsUnknowAndReadsOn) {
    StartRadio("--fault unknown-protocol");
    actions->EnterConfigMode();
    actions->ReadFromRadio();
    EXPECT_TRUE(window->results.at(1).success);
    EXPECT_EQ(view.GetShownText(ListField::Protocol), " UNKNOW");
    Strings received = Received();
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received[3], "cfg_sbau\\r");
}

TEST_F(RadioOverComPort, RadioWithoutLinkRateCommand_StillReadsToTheEnd) {
    StartRadio("--fault no-link-baud=unknow");
    actions->EnterConfigMode();
    actions->ReadFromRadio();
    EXPECT_TRUE(window->results.at(1).success);
    EXPECT_EQ(view.list(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_EQ(view.GetSelection(ListField::LinkBaudRate), 0);
}

TEST_F(RadioOverComPort, TwelveCharacterSerialNumber_KeepsNine) {
    StartRadio("--fault serial12");
    actions->EnterConfigMode();
    actions->ReadFromRadio();
    EXPECT_EQ(view.field(TextField::SerialNumber), "VM2300001");
}

TEST_F(RadioOverComPort, NoiseAndEchoAroundReplies_ReadSucceeds) {
    StartRadio("--fault noise --echo");
    actions->EnterConfigMode();
    actions->ReadFromRadio();
    EXPECT_TRUE(window->results.at(1).success);
    EXPECT_EQ(view.tx[5], "435.50000");
}

TEST_F(RadioOverComPort, RadioUnpluggedMidRead_FailsWithinTheBound) {
    StartRadio("--fault hangup=5");
    actions->EnterConfigMode();
    DWORD start = ::GetTickCount();
    actions->ReadFromRadio();
    DWORD took = ::GetTickCount() - start;
    EXPECT_FALSE(window->results.at(1).success);
    EXPECT_LT(took, 3000u);  // a couple of unanswered commands, then the end
    EXPECT_FALSE(window->port.IsOpen());
}

TEST_F(RadioOverComPort, PortThatDoesNotOpen_EveryActionFailsAndLeavesItClosed) {
    StartRadio();
    window->portText = " COM99";
    actions->EnterConfigMode();
    actions->ReadFromRadio();
    actions->ExitConfigMode();
    ASSERT_EQ(window->results.size(), 3u);
    for (const auto& r : window->results) {
        EXPECT_FALSE(r.success);
        EXPECT_FALSE(r.portOpenBefore);
    }
    EXPECT_TRUE(Received().empty());
}

// ---------------------------------------------------------------------------
// Firmware download over the port, driven by the worker thread and reported
// to a real window.

// A window that records the download's messages.
class RecordingWindow {
public:
    RecordingWindow() {
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
    PortActionWindow* port = nullptr;  // closed by the outcome, as the window does
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
        case kUiSuccess:
        case kUiFailure:
            self->log.push_back(std::string(l == kUiSuccess ? "success" : "failure") + " " + std::to_string(w));
            if (self->port) self->port->ShowResult(l == kUiSuccess, ActionControl::Firmware);
            break;
        }
        return 0;
    }
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
        PortActionWindow port(TestComPort(0), 9600);
        recorder.port = &port;
        chooser.path = SimProcess::WinePath(imagePath);
        WindowFirmwareEvents events(recorder.hwnd, 77);
        Firmware::Download download(chooser, events, port, port.exchange, port);
        download.pagePauseMs = pagePauseMs;
        FirmwareWorker worker([&] { download.downloadFirmware(); });
        worker.Start();
        worker.firmwarePending = true;
        finished = recorder.WaitForEnd(600000);
        worker.Stop();
        baud = port.last.baudRate;
        portOpenAfter = port.port.IsOpen();
        radio.Stop();
        ReadResults();
    }
    void WriteImage(size_t length) {
        image.assign(length, '\0');
        for (size_t i = 0; i < length; ++i) image[i] = static_cast<char>((i * 31 + i / 256) & 0xFF);
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
    EXPECT_EQ(recorder.log, (Strings{"busy on", "failure 77", "busy off"}));
    EXPECT_EQ(ReceivedCommands(transcript), Strings{});
    EXPECT_EQ(baud, 0);  // the port was never asked for
}

TEST_F(FirmwareOverComPort, FileOf4352Bytes_TwoPagesAt115200) {
    Download(4352);
    ASSERT_TRUE(finished);
    EXPECT_EQ(recorder.log, (Strings{"busy on", "success 77", "busy off"}));
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
    EXPECT_EQ(recorder.log, (Strings{"busy on", "failure 77", "busy off"}));
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
    PortActionWindow port(TestComPort(0), 9600);
    recorder.port = &port;
    chooser.path = SimProcess::WinePath(imagePath);
    WindowFirmwareEvents events(recorder.hwnd, 77);
    Firmware::Download download(chooser, events, port, port.exchange, port);
    download.pagePauseMs = 0;
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
    EXPECT_EQ(recorder.log, (Strings{"busy on", "failure 77", "busy off"}));
    EXPECT_LE(recorder.progress.size(), progressAtStop + 1);
    EXPECT_FALSE(port.port.IsOpen());
    radio.Stop();
    ReadResults();
    size_t pages = 0;
    for (const std::string& c : ReceivedCommands(transcript)) pages += c.rfind("page ", 0) == 0;
    EXPECT_LE(pages, progressAtStop + 2);  // the first page, one per progress value, one in flight
    EXPECT_EQ(transcript.find("ISP finish"), std::string::npos);
}

}  // namespace

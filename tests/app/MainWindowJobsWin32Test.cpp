// The main window's radio actions against the simulated radio answering
// every command 300 ms late: the window answers while they run, a Cancel
// stops them between two commands, and every outcome says why.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <string>
#include <vector>

#include "app/DlgMain.h"
#include "platform/Wide.h"
#include "radio/RadioConfig.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/SimProcess.h"
#include "serial/PortSelection.h"
#include "testkit/Transcript.h"
#include "testkit/WindowPinger.h"
#include "tests/app/MainWindowTestSupport.h"

using namespace Loom;
using LoomTest::TestWindow;

namespace {

constexpr const char* kPortMapKey = "Software\\VelmoraTest\\MainJobsSerialMap";
constexpr const char* kSettingsKey = "Software\\VelmoraTest\\MainJobsSettings";

class MainWindowJobsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        transcript = SimProcess::UnixPathFor(TestComPort(0), "jobs-transcript");
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(transcript)).c_str());
        radio = std::make_unique<SimProcess>(TestComPort(0), "--fault delay=300 --transcript " + transcript);
        ASSERT_TRUE(radio->Started());
        window = OpenTestMainWindow(kPortMapKey, kSettingsKey, TestComPort(0));
        ASSERT_NE(nullptr, window);
        window->View().SetMessageSink(
            [this](const std::string& text, const std::string&) { messages.push_back(text); });
        Run(C().connectButton);
        ASSERT_TRUE(window->LastOutcome() && window->LastOutcome()->Succeeded());
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        radio.reset();
    }
    void Click(CControlUI* control) { window->GetPaintManager().SendNotify(control, "click"); }
    // Starts the action and pumps until it has ended and freed the port.
    void Run(CControlUI* button) {
        Click(button);
        EXPECT_TRUE(TestWindow::PumpUntil([this] { return !window->IsRunningJob(); }, 30000));
    }
    // The commands the radio has taken in so far.
    size_t Commands() const { return ReceivedCommands(SimProcess::ReadFile(transcript)).size(); }
    bool PumpUntilCommands(size_t count) {
        return TestWindow::PumpUntil([&] { return Commands() >= count; }, 30000);
    }
    // Settings a Write takes: every channel, every list.
    RadioSettings Writable() {
        RadioSettings s = window->Settings();
        RadioConfig::fillDefaultFrequencies(s, Group::Transmit);
        RadioConfig::fillDefaultFrequencies(s, Group::Receive);
        for (ListField list : {ListField::Protocol, ListField::Bandwidth, ListField::CurrentChannel,
                               ListField::PortBaudRate, ListField::WorkMode, ListField::HighPower, ListField::LowPower})
            RadioConfig::Select(s, list, 0);
        return s;
    }

    std::string transcript;
    std::unique_ptr<SimProcess> radio;
    std::vector<std::string> messages;
};

// The window thread answers every message while the Read runs, and the
// strip counts the commands as they go; the Read's values arrive at its end,
// in the language switched to meanwhile.
TEST_F(MainWindowJobsTest, SlowRead_TheWindowAnswersThroughoutAndShowsItsProgress) {
    std::vector<std::string> shown;
    {
        // Unanswered for 5 s, Windows marks a window "Not Responding"; a Read
        // on the window's thread would keep it about 9 s.
        WindowPinger pinger(window->GetHWND(), 5000);
        Click(C().readButton);
        ASSERT_TRUE(PumpUntilCommands(Commands() + 2));
        window->SwitchLanguage();
        EXPECT_TRUE(TestWindow::PumpUntil(
            [&] {
                const std::string text = C().statusLabel->GetText();
                if (shown.empty() || shown.back() != text) shown.push_back(text);
                return !window->IsRunningJob();
            },
            30000));
        pinger.Stop();
        EXPECT_GT(pinger.Asked(), 100) << "a Read of 30 commands 300 ms late";
        EXPECT_EQ(0, pinger.Unanswered());
    }
    EXPECT_GT(shown.size(), 20u) << "the strip followed the commands";
    EXPECT_EQ("Reading 30/30", shown[shown.size() - 2]);
    EXPECT_EQ("Read Success", C().statusLabel->GetText());
    EXPECT_EQ("", C().causeLabel->GetText());
    EXPECT_FALSE(C().txChannelRow[1]->GetEdit()->GetText().empty());
    EXPECT_EQ(" duplex", C().workModeRow->GetCombo()->GetText());
    EXPECT_TRUE(C().readButton->IsEnabled());
}

// A port plugged in during a Read changes nothing the Read uses: the list is
// built again when the Read has ended, the chosen port still chosen.
TEST_F(MainWindowJobsTest, PortArrivingDuringARead_IsListedWhenTheReadHasEnded) {
    Click(C().readButton);
    ASSERT_TRUE(PumpUntilCommands(Commands() + 2));
    MappedPort arrived(kPortMapKey, "\\Device\\Serial0", 5);
    ::SendMessageW(window->GetHWND(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    ASSERT_TRUE(PumpUntilCommands(Commands() + 1));
    EXPECT_EQ(1, C().portRow->GetCombo()->GetCount());
    Click(C().cancelButton);
    ASSERT_TRUE(TestWindow::PumpUntil([this] { return !window->IsRunningJob(); }, 10000));
    EXPECT_EQ(2, C().portRow->GetCombo()->GetCount());
    EXPECT_EQ(TestComPort(0), ParsePortNumber(C().portRow->GetCombo()->GetText()));
}

// Cancel (pressed twice) stops the Read before its next command; nothing it
// read is shown. Switched to English meanwhile, the outcome is in English.
TEST_F(MainWindowJobsTest, CancelMidRead_LeavesTheFieldsAsTheyWereAndSaysSoInTheNewLanguage) {
    const size_t start = Commands();
    Click(C().readButton);
    ASSERT_TRUE(PumpUntilCommands(start + 3));
    window->SwitchLanguage();
    // What the fields hold now: the language refilled the lists.
    const RadioSettings before = window->Settings();
    EXPECT_EQ(0u, C().statusLabel->GetText().find("Reading ")) << C().statusLabel->GetText();
    Click(C().cancelButton);
    Click(C().cancelButton);
    const size_t atCancel = Commands();
    ASSERT_TRUE(TestWindow::PumpUntil([this] { return !window->IsRunningJob(); }, 10000));
    EXPECT_LE(Commands(), atCancel + 1) << "the command in flight, and nothing after it";
    ASSERT_TRUE(window->LastOutcome());
    EXPECT_EQ(OutcomeKind::Cancelled, window->LastOutcome()->kind);
    EXPECT_TRUE(before == window->Settings());
    EXPECT_EQ("Read Failure", C().statusLabel->GetText());
    EXPECT_EQ(0u, C().causeLabel->GetText().find("Cancelled after ")) << C().causeLabel->GetText();
    EXPECT_FALSE(C().cancelButton->IsVisible());
}

// A Write cancelled midway has sent only the settings the radio took, and
// says how many and that a new Write is needed.
TEST_F(MainWindowJobsTest, CancelMidWrite_SendsNothingAfterTheCommandInFlightAndSaysHowMuchWasTaken) {
    window->ApplySettings(Writable());
    const size_t start = Commands();
    Click(C().writeButton);
    ASSERT_TRUE(PumpUntilCommands(start + 4));
    Click(C().cancelButton);
    ASSERT_TRUE(TestWindow::PumpUntil([this] { return !window->IsRunningJob(); }, 10000));
    ASSERT_TRUE(window->LastOutcome());
    const Outcome outcome = *window->LastOutcome();
    EXPECT_EQ(OutcomeKind::Cancelled, outcome.kind);
    EXPECT_EQ(static_cast<size_t>(outcome.done), Commands() - start) << "every setting sent was taken";
    EXPECT_LT(outcome.done, outcome.total);
    const std::string said = C().causeLabel->GetText();
    EXPECT_NE(said.find("已接受 " + std::to_string(outcome.done) + "/" + std::to_string(outcome.total)),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("需要重新写入"), std::string::npos) << said;
}

// Closing the window during a Write cancels it; the window waits for the
// job as it goes, and nothing is sent after the command in flight.
TEST_F(MainWindowJobsTest, WindowClosedDuringAWrite_TheJobStopsAndNothingFollows) {
    window->ApplySettings(Writable());
    const size_t start = Commands();
    Click(C().writeButton);
    ASSERT_TRUE(PumpUntilCommands(start + 2));
    ::SendMessageW(window->GetHWND(), WM_CLOSE, 0, 0);
    const size_t atClose = Commands();
    ::DestroyWindow(window->GetHWND());
    window.reset();  // waits for the job
    EXPECT_LE(Commands(), atClose + 1);
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program was told to end";
}

// The radio gone midway (its terminal closed): the Read ends on the next
// command, with the port or the radio named, and the fields as they were.
TEST_F(MainWindowJobsTest, RadioGoneMidRead_EndsWithItsCauseAndTheFieldsUnchanged) {
    const RadioSettings before = window->Settings();
    const size_t start = Commands();
    Click(C().readButton);
    ASSERT_TRUE(PumpUntilCommands(start + 3));
    radio->Stop();
    ASSERT_TRUE(TestWindow::PumpUntil([this] { return !window->IsRunningJob(); }, 30000));
    ASSERT_TRUE(window->LastOutcome());
    const OutcomeKind kind = window->LastOutcome()->kind;
    EXPECT_TRUE(kind == OutcomeKind::PortLost || kind == OutcomeKind::NoAnswer) << CauseWord(kind);
    EXPECT_TRUE(before == window->Settings());
    EXPECT_NE(C().causeLabel->GetText().find("COM" + std::to_string(TestComPort(0))), std::string::npos);
}

}  // namespace

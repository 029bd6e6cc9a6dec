// The radio jobs over a real COM port under Wine, against the simulated
// radio.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "radio/RadioConfig.h"
#include "radio/RadioJob.h"
#include "radio/RadioLink.h"
#include "testkit/SimProcess.h"
#include "testkit/Transcript.h"
#include "platform/Wide.h"

namespace {

using Strings = std::vector<std::string>;

bool Contains(const Strings& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// One simulated radio with a transcript and a state file, the settings, and
// the jobs over the real port as the window's job thread runs them.
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
        port = com;
    }
    void TearDown() override {
        link.Close();
        if (radio) radio->Stop();
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(Transcript())).c_str());
        ::DeleteFileW(Text::WidePath(SimProcess::WinePath(State())).c_str());
    }
    std::string Transcript() const { return Unix("transcript"); }
    std::string State() const { return Unix("state"); }
    std::string Unix(const std::string& name) const { return SimProcess::UnixPathFor(TestComPort(0), name); }
    Strings Received() { return ReceivedCommands(SimProcess::ReadFile(Transcript())); }

    RadioOverComPort() { RadioConfig::FillParameterLists(settings, Language::English); }

    // A job at 9600 baud; the line it leaves open is closed after it.
    JobResult Run(JobKind kind) {
        JobRequest request;
        request.kind = kind;
        request.port = port;
        request.rate = 9600;
        request.settings = settings;
        JobResult result = RunRadioJob(request, link, cancel);
        openAfterJob = link.IsOpen();
        link.Close();
        return result;
    }
    // Success, or why not, as the command line says it.
    static ::testing::AssertionResult Ok(const Outcome& o) {
        if (o.Succeeded()) return ::testing::AssertionSuccess();
        const OutcomeText text = DescribeOutcome(o, Language::English, OutcomeReader::CommandLine);
        return ::testing::AssertionFailure() << CauseWord(o.kind) << ": " << text.cause << " (command " << o.command
                                             << ", reply '" << o.reply << "')";
    }
    // A Read as the window takes it: its settings only when it read them all.
    Outcome Read() {
        const JobResult result = Run(JobKind::Read);
        read = result.settings;
        if (result.outcome.Succeeded()) settings = result.settings;
        return result.outcome;
    }
    // A Write as the window makes it: the checks first, no job when they
    // fail, and disarmed afterwards whatever the outcome.
    Outcome Write() {
        messages = RadioConfig::PrepareWrite(settings, Language::English).messages;
        Outcome outcome;
        outcome.kind = OutcomeKind::CheckFailed;
        if (messages.empty()) outcome = Run(JobKind::Write).outcome;
        RadioConfig::RelockAfterWrite(settings);
        return outcome;
    }
    // Every channel row valid and every list chosen.
    void FillValidRecord() {
        for (int row = 1; row <= 8; ++row) settings.tx[row] = settings.rx[row] = "440.00000";
        for (ListField l : {ListField::Protocol, ListField::CurrentChannel, ListField::PortBaudRate,
                            ListField::Bandwidth, ListField::WorkMode, ListField::HighPower, ListField::LowPower})
            RadioConfig::Select(settings, l, 0);
    }

    int com = 0;
    int port = 0;  // the port the jobs use
    RadioSettings settings;
    RadioSettings read;  // what the last Read gave, whether it succeeded or not
    Strings messages;    // what the last Write's checks said
    bool openAfterJob = false;
    std::atomic<bool> cancel{false};
    std::unique_ptr<SimProcess> radio;
    RadioLink link;
};

TEST_F(RadioOverComPort, ConnectReadDisconnect_FillsEveryFieldFromTheRadio) {
    StartRadio();
    EXPECT_TRUE(Ok(Run(JobKind::Connect).outcome));
    const Outcome read = Read();
    EXPECT_TRUE(Ok(read));
    EXPECT_EQ(read.action, OutcomeAction::Read);
    EXPECT_TRUE(Ok(Run(JobKind::Disconnect).outcome));
    EXPECT_FALSE(link.IsOpen());
    // The radio's factory state.
    const RadioSettings& s = settings;
    EXPECT_EQ(s.Selection(ListField::CurrentChannel), 0);
    EXPECT_EQ(s.Selection(ListField::Protocol), 0);
    EXPECT_EQ(s.Selection(ListField::PortBaudRate), 0);
    EXPECT_EQ(s.List(ListField::LinkBaudRate).ShownText(), " 9600");
    EXPECT_EQ(s.Selection(ListField::HighPower), 0);
    EXPECT_EQ(s.Selection(ListField::LowPower), 2);
    EXPECT_EQ(s.Selection(ListField::Bandwidth), 1);
    EXPECT_EQ(s.Selection(ListField::WorkMode), 1);
    EXPECT_EQ(s.Text(TextField::SerialNumber), "VM2300001");
    EXPECT_EQ(s.Text(TextField::HardwareVersion), "H2.1");
    EXPECT_EQ(s.Text(TextField::FirmwareVersion), "V3.12");
    EXPECT_EQ(s.Text(TextField::SubFirmwareVersion), "S1.05");
    EXPECT_EQ(s.Text(TextField::Src), "1");
    EXPECT_EQ(s.Text(TextField::Dst), "255");
    EXPECT_EQ(s.tx[1], "415.50000");
    EXPECT_EQ(s.tx[8], "450.50000");
    EXPECT_EQ(s.rx[3], "425.60000");
    EXPECT_EQ(Received().size(), 32u);  // control, 30 queries, exitcnt
}

TEST_F(RadioOverComPort, ReadOutsideConfigurationMode_FailsAndChangesNothing) {
    StartRadio();
    const RadioSettings before = settings;
    EXPECT_FALSE(Read().Succeeded());
    EXPECT_EQ(settings, before);
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(RadioOverComPort, Write_RadioKeepsTheValuesInItsState) {
    StartRadio();
    for (int row = 1; row <= 8; ++row) {
        settings.tx[row] = "46" + std::to_string(row) + ".12500";
        settings.rx[row] = "42" + std::to_string(row) + ".00000";
    }
    RadioConfig::Select(settings, ListField::Protocol, 8);   // SATEL
    RadioConfig::Select(settings, ListField::Bandwidth, 0);  // 12.5 kHz: link rate locked at 9600
    RadioConfig::Select(settings, ListField::CurrentChannel, 5);
    RadioConfig::Select(settings, ListField::PortBaudRate, 3);
    RadioConfig::Select(settings, ListField::WorkMode, 2);
    RadioConfig::Select(settings, ListField::HighPower, 1);
    RadioConfig::Select(settings, ListField::LowPower, 0);
    settings.Text(TextField::Src) = "";
    settings.Text(TextField::Dst) = "300";
    EXPECT_TRUE(Ok(Run(JobKind::Connect).outcome));
    const Outcome write = Write();
    EXPECT_TRUE(Ok(write));
    EXPECT_EQ(write.action, OutcomeAction::Write);
    EXPECT_FALSE(link.IsOpen());
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
    FillValidRecord();
    RadioConfig::UnlockSerialNumber(settings);
    settings.Text(TextField::SerialNumber) = "VM9";
    EXPECT_TRUE(Ok(Run(JobKind::Connect).outcome));
    EXPECT_TRUE(Ok(Write()));
    radio->Stop();  // the radio saves its state as it ends
    EXPECT_EQ(StateValue(SimProcess::ReadFile(State()), "serial_number"), "VM9");
    EXPECT_FALSE(settings.serialUnlocked);
}

TEST_F(RadioOverComPort, WriteWithAnInvalidFrequency_OpensNoPort) {
    StartRadio();
    settings.tx[2] = "409.99999";
    EXPECT_EQ(Write().kind, OutcomeKind::CheckFailed);
    EXPECT_EQ(messages, Strings{"Channel1: Invalid!"});
    EXPECT_TRUE(Received().empty());
}

TEST_F(RadioOverComPort, WriteOfAFrequencyCarryingASecondCommand_SendsNothing) {
    StartRadio();
    FillValidRecord();
    settings.tx[1] = "415.5\rcfg_prtl 9";  // as an imported file can bring it
    EXPECT_TRUE(Ok(Run(JobKind::Connect).outcome));
    EXPECT_EQ(Write().kind, OutcomeKind::CheckFailed);
    EXPECT_EQ(messages, Strings{"Channel1: Invalid!"});
    EXPECT_EQ(Received(), Strings{"control\\r"});
    radio->Stop();  // the radio saves its state as it ends
    EXPECT_EQ(StateValue(SimProcess::ReadFile(State()), "protocol"), "1");
}

TEST_F(RadioOverComPort, SilentRadio_ReadFallsBackThenFails) {
    StartRadio("--fault silent");
    const Outcome o = Read();
    EXPECT_EQ(o.kind, OutcomeKind::NoAnswer);
    EXPECT_TRUE(openAfterJob);
    EXPECT_EQ(Received(), (Strings{"cfg_ch_n\\r", "cfg_pwrh\\r"}));
    EXPECT_EQ(read.List(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(RadioOverComPort, UnknownProtocol_ShowsUnknowAndReadsOn) {
    StartRadio("--fault unknown-protocol");
    Run(JobKind::Connect);
    EXPECT_TRUE(Ok(Read()));
    EXPECT_EQ(settings.List(ListField::Protocol).ShownText(), " UNKNOW");
    Strings received = Received();
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received[3], "cfg_sbau\\r");
}

TEST_F(RadioOverComPort, RadioWithoutLinkRateCommand_StillReadsToTheEnd) {
    StartRadio("--fault no-link-baud=unknow");
    Run(JobKind::Connect);
    EXPECT_TRUE(Ok(Read()));
    EXPECT_EQ(settings.List(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_EQ(settings.Selection(ListField::LinkBaudRate), 0);
}

TEST_F(RadioOverComPort, TwelveCharacterSerialNumber_KeepsNine) {
    StartRadio("--fault serial12");
    ASSERT_TRUE(Ok(Run(JobKind::Connect).outcome));
    const Outcome outcome = Read();
    ASSERT_TRUE(Ok(outcome));
    EXPECT_EQ(read.Text(TextField::SerialNumber), "VM2300001");
}

TEST_F(RadioOverComPort, NoiseAndEchoAroundReplies_ReadSucceeds) {
    StartRadio("--fault noise --echo");
    Run(JobKind::Connect);
    EXPECT_TRUE(Ok(Read()));
    EXPECT_EQ(settings.tx[5], "435.50000");
}

TEST_F(RadioOverComPort, RadioUnpluggedMidRead_FailsWithinTheBound) {
    StartRadio("--fault hangup=5");
    Run(JobKind::Connect);
    DWORD start = ::GetTickCount();
    const Outcome o = Read();
    DWORD took = ::GetTickCount() - start;
    EXPECT_FALSE(o.Succeeded());
    EXPECT_LT(took, 3000u);  // a couple of unanswered commands, then the end
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(RadioOverComPort, PortThatDoesNotOpen_EveryJobFailsAndLeavesItClosed) {
    StartRadio();
    port = 99;
    for (JobKind kind : {JobKind::Connect, JobKind::Read, JobKind::Disconnect}) {
        const Outcome o = Run(kind).outcome;
        EXPECT_EQ(o.kind, OutcomeKind::PortAbsent) << ActionName(o.action);
        EXPECT_EQ(o.port, 99);
        EXPECT_FALSE(openAfterJob);
    }
    EXPECT_TRUE(Received().empty());
}

}  // namespace

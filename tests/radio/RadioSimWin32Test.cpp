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
#include "radio/RadioActions.h"
#include "radio/RadioConfig.h"
#include "testkit/FakeConfigView.h"
#include "testkit/PortActionWindow.h"
#include "testkit/SimProcess.h"
#include "testkit/Transcript.h"
#include "platform/Wide.h"

namespace {

using Strings = std::vector<std::string>;

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

}  // namespace

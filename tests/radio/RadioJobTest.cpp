#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "radio/RadioConfig.h"
#include "radio/RadioJob.h"
#include "testkit/ScriptedLine.h"

namespace {

using Strings = std::vector<std::string>;

std::string Line(const std::string& text) { return "\r\n" + text + "\r\n"; }

struct RecordedSteps : IJobProgress {
    std::vector<std::pair<int, int>> steps;
    void Step(int command, int total) override { steps.push_back({command, total}); }
};

// The jobs over the real exchange and a scripted line, on COM3 at 9600.
class RadioJobTest : public ::testing::Test {
protected:
    RadioJobTest() { RadioConfig::FillParameterLists(settings, Language::English); }

    JobResult Run(JobKind kind, IJobProgress* progress = nullptr) {
        JobRequest request;
        request.kind = kind;
        request.port = 3;
        request.rate = 9600;
        request.settings = settings;
        return RunRadioJob(request, line, cancel, progress);
    }

    void Reply(const std::string& text) { line.Link().Reply(Line(text)); }

    void ScriptFullRead(const std::string& serial = "SN0012345") {
        for (const char* reply :
             {"current channel 3", "protocol SATEL", "rate 115200", "link 19200", "2", "3", "FW 2.07"})
            Reply(reply);
        Reply("HW01");
        Reply(serial);
        Reply("SUB 1.3");
        for (int c = 1; c <= 8; ++c) Reply("cfg_ch_" + std::to_string(c) + " 43" + std::to_string(c) + ".12500");
        for (int c = 1; c <= 8; ++c) Reply("cfg_rx_ch_" + std::to_string(c) + " 44" + std::to_string(c) + ".50000");
        for (const char* reply : {"bandwidth 25.0", "mode duplex", "12", "200"}) Reply(reply);
    }

    // What PrepareWrite passes: every channel, every list, both addresses.
    void FillValidRecord() {
        for (int row = 1; row <= 8; ++row) {
            settings.tx[row] = "43" + std::to_string(row) + ".00000";
            settings.rx[row] = "44" + std::to_string(row) + ".00000";
        }
        Select(ListField::Protocol, 2);   // HUACE
        Select(ListField::Bandwidth, 1);  // 25.0 kHz: HUACE leaves the link rate free
        Select(ListField::LinkBaudRate, 2);
        Select(ListField::CurrentChannel, 4);
        Select(ListField::PortBaudRate, 1);
        Select(ListField::WorkMode, 2);
        Select(ListField::HighPower, 0);
        Select(ListField::LowPower, 2);
        settings.Text(TextField::Src) = "7";
        settings.Text(TextField::Dst) = "9";
    }

    void Select(ListField list, int position) { RadioConfig::Select(settings, list, position); }
    void ReplyOkTimes(int n) {
        for (int i = 0; i < n; ++i) Reply("OK");
    }
    // Sets the cancel flag as the job's nth command is written.
    void CancelAtCommand(int n) {
        line.Link().onWrite = [this, n, count = 0](const std::string&) mutable {
            if (++count == n) cancel = true;
        };
    }
    Strings Written() const { return line.Written(); }

    RadioSettings settings;
    ScriptedLine line;
    std::atomic<bool> cancel{false};
};

// ---- Connect and Disconnect ---------------------------------------------------

TEST_F(RadioJobTest, Connect_RadioAnswersIntoConfig_Succeeds) {
    Reply("into config mode");
    const Outcome o = Run(JobKind::Connect).outcome;
    EXPECT_EQ(Written(), Strings{"control\r"});
    EXPECT_EQ(o.kind, OutcomeKind::Success);
    EXPECT_EQ(o.action, OutcomeAction::Connect);
    EXPECT_EQ(o.port, 3);
    EXPECT_EQ(o.rate, 9600);
    EXPECT_EQ(line.opens, 1);
    EXPECT_EQ(line.lastPort, 3);
    EXPECT_EQ(line.lastRate, 9600);
}

TEST_F(RadioJobTest, Disconnect_WrongAnswer_IsAnUnexpectedAnswerToExitcnt) {
    Reply("into config");
    const Outcome o = Run(JobKind::Disconnect).outcome;
    EXPECT_EQ(Written(), Strings{"exitcnt\r"});
    EXPECT_EQ(o.kind, OutcomeKind::UnexpectedAnswer);
    EXPECT_EQ(o.action, OutcomeAction::Disconnect);
    EXPECT_EQ(o.command, "exitcnt");
    EXPECT_EQ(o.reply, "into config");
}

// ---- Why a job failed -----------------------------------------------------------

TEST_F(RadioJobTest, PortThatDoesNotOpen_ItsFailureIsTheOutcomeAndNothingIsSent) {
    line.openOutcome = PortOutcome(OutcomeKind::PortInUse, 3, 9600, 5);
    for (JobKind kind : {JobKind::Connect, JobKind::Read}) {
        const Outcome o = Run(kind).outcome;
        EXPECT_EQ(o.kind, OutcomeKind::PortInUse);
        EXPECT_EQ(o.systemError, 5u);
        EXPECT_EQ(o.action, ActionOf(kind));
        EXPECT_EQ(o.port, 3);
    }
    EXPECT_TRUE(Written().empty());  // Read's link-rate fallback sends nothing either
}

TEST_F(RadioJobTest, PortLostDuringACommand_IsPortLostNotASilentRadio) {
    line.lost = true;
    line.Link().NoReply();
    const Outcome o = Run(JobKind::Connect).outcome;
    EXPECT_EQ(o.kind, OutcomeKind::PortLost);
    EXPECT_EQ(o.command, "control");
}

TEST_F(RadioJobTest, UnexpectedAnswer_KeepsTheReplyPrintableAndShort) {
    line.Link().Reply("\r\x01\x02\x1b[2J\x7f\xfe\t\r");
    Outcome o = Run(JobKind::Connect).outcome;
    EXPECT_EQ(o.kind, OutcomeKind::UnexpectedAnswer);
    EXPECT_EQ(o.reply, "...[2J...");

    Reply(std::string(3000, 'x'));
    o = Run(JobKind::Connect).outcome;
    EXPECT_EQ(o.kind, OutcomeKind::UnexpectedAnswer);
    EXPECT_EQ(o.reply, std::string(kOutcomeReplyLength, 'x') + "...");
}

// ---- Read -----------------------------------------------------------------------

TEST_F(RadioJobTest, FullRead_FillsEveryField) {
    ScriptFullRead();
    const JobResult r = Run(JobKind::Read);
    const RadioSettings& s = r.settings;
    EXPECT_EQ(r.outcome.kind, OutcomeKind::Success);
    EXPECT_EQ(r.outcome.action, OutcomeAction::Read);
    EXPECT_EQ(Written().size(), 30u);
    EXPECT_EQ(s.Selection(ListField::CurrentChannel), 2);
    EXPECT_EQ(s.Selection(ListField::Protocol), 8);
    EXPECT_EQ(s.Selection(ListField::PortBaudRate), 4);
    // SATEL's list is 9600, 19200; the bandwidth read at the end then locks
    // it on the second rate at 25.0 kHz.
    EXPECT_EQ(s.SelectedText(ListField::LinkBaudRate), " 19200");
    EXPECT_EQ(s.Selection(ListField::HighPower), 1);
    EXPECT_EQ(s.Selection(ListField::LowPower), 2);
    EXPECT_EQ(s.Text(TextField::FirmwareVersion), "FW 2.07");
    EXPECT_EQ(s.Text(TextField::HardwareVersion), "HW01");
    EXPECT_EQ(s.Text(TextField::SerialNumber), "SN0012345");
    EXPECT_EQ(s.Text(TextField::SubFirmwareVersion), "SUB 1.3");
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(s.tx[c], "43" + std::to_string(c) + ".12500");
        EXPECT_EQ(s.rx[c], "44" + std::to_string(c) + ".50000");
    }
    EXPECT_EQ(s.tx[0], "");
    EXPECT_EQ(s.tx[9], "");
    EXPECT_EQ(s.Selection(ListField::Bandwidth), 1);
    EXPECT_EQ(s.Selection(ListField::WorkMode), 1);
    EXPECT_EQ(s.Text(TextField::Src), "12");
    EXPECT_EQ(s.Text(TextField::Dst), "200");
}

TEST_F(RadioJobTest, Read_QueriesInTheFixedOrderAndTellsEachStep) {
    ScriptFullRead();
    RecordedSteps progress;
    Run(JobKind::Read, &progress);
    Strings expected = {"cfg_ch_n\r", "cfg_prtl\r", "cfg_sbau\r", "cfg_baud\r", "cfg_pwrh\r",
                        "cfg_pwrl\r", "cfg_firm\r", "cfg_hard\r", "cfg_sern\r", "SREV\r"};
    for (int c = 1; c <= 8; ++c) expected.push_back("cfg_ch_" + std::to_string(c) + "\r");
    for (int c = 1; c <= 8; ++c) expected.push_back("cfg_rx_ch_" + std::to_string(c) + "\r");
    for (const char* q : {"cfg_bw\r", "cfg_mode\r", "cfg_srcx\r", "cfg_dstx\r"}) expected.push_back(q);
    EXPECT_EQ(Written(), expected);
    std::vector<std::pair<int, int>> steps;
    for (int n = 1; n <= 30; ++n) steps.push_back({n, 30});
    EXPECT_EQ(progress.steps, steps);
}

TEST_F(RadioJobTest, Read_TwelveCharacterSerialNumber_KeepsNine) {
    ScriptFullRead("ABCDEFGHIJKL");
    EXPECT_EQ(Run(JobKind::Read).settings.Text(TextField::SerialNumber), "ABCDEFGHI");
}

// The Read goes on past the link rate whatever came before it, so a silent
// radio is asked twice; the outcome names the first command it left
// unanswered.
TEST_F(RadioJobTest, Read_SilentRadio_FallsBackForTheLinkRateThenFailsWithNoAnswer) {
    const JobResult r = Run(JobKind::Read);  // nothing scripted: every command times out
    EXPECT_EQ(Written(), (Strings{"cfg_ch_n\r", "cfg_pwrh\r"}));
    EXPECT_EQ(r.settings.List(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_EQ(r.outcome.kind, OutcomeKind::NoAnswer);
    EXPECT_EQ(r.outcome.command, "cfg_ch_n");
    EXPECT_EQ(r.outcome.port, 3);
    EXPECT_EQ(r.outcome.rate, 9600);
}

TEST_F(RadioJobTest, Read_UnknownProtocol_ShowsUnknowAndGoesOn) {
    Reply("current channel 1");
    Reply("protocol UNKNOW");
    Reply("9600");
    line.Link().NoReply();  // cfg_baud
    const RadioSettings s = Run(JobKind::Read).settings;
    Strings written = Written();
    ASSERT_GE(written.size(), 3u);
    EXPECT_EQ(written[2], "cfg_sbau\r");
    EXPECT_EQ(s.List(ListField::Protocol).ShownText(), " UNKNOW");
    EXPECT_EQ(s.Selection(ListField::Protocol), -1);
}

TEST_F(RadioJobTest, Read_LinkRateUnknownToTheRadio_SelectsTheUnknowEntry) {
    Reply("current channel 1");
    Reply("TRIMTALK");
    Reply("9600");
    // No complete reply, but the radio's partial answer says UNKNOW.
    line.Link().Reply("\r\ncommand UNKNOW");
    Reply("9");  // cfg_pwrh: out of range ends the read
    const JobResult r = Run(JobKind::Read);
    EXPECT_EQ(r.settings.List(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_EQ(r.settings.Selection(ListField::LinkBaudRate), 0);
    EXPECT_EQ(r.settings.Selection(ListField::HighPower), 2);  // clamped to the last entry
    EXPECT_EQ(r.outcome.kind, OutcomeKind::UnexpectedAnswer);
    EXPECT_EQ(r.outcome.command, "cfg_pwrh");
    EXPECT_EQ(r.outcome.reply, "9");
}

TEST_F(RadioJobTest, Read_LinkRateAnsweredWithoutARate_FailsTheRead) {
    Reply("current channel 1");
    Reply("TRIMTALK");
    Reply("9600");
    Reply("command UNKNOW");
    const JobResult r = Run(JobKind::Read);
    EXPECT_EQ(Written().back(), "cfg_baud\r");
    EXPECT_EQ(r.settings.List(ListField::LinkBaudRate).ShownText(), " 9600");  // the last position tried
    EXPECT_EQ(r.outcome.kind, OutcomeKind::UnexpectedAnswer);
    EXPECT_EQ(r.outcome.command, "cfg_baud");
}

TEST_F(RadioJobTest, Read_PortBaudWithoutMatch_ClearsTheSelectionAndFails) {
    Select(ListField::PortBaudRate, 2);
    Reply("current channel 1");
    Reply("TRIMTALK");
    Reply("baud 4800");
    line.Link().NoReply();
    line.Link().NoReply();
    const JobResult r = Run(JobKind::Read);
    EXPECT_EQ(r.settings.Selection(ListField::PortBaudRate), -1);
    EXPECT_FALSE(r.outcome.Succeeded());
}

TEST_F(RadioJobTest, Read_ChannelReplyWithoutTheDigit_StopsTheRead) {
    for (const char* reply : {"current channel 3", "SATEL", "9600", "9600", "1", "1", "F", "H", "S", "R"}) Reply(reply);
    Reply("cfg_ch_1 430.00000");
    Reply("cfg_ch_x 431.00000");
    const JobResult r = Run(JobKind::Read);
    EXPECT_EQ(r.settings.tx[1], "430.00000");
    EXPECT_EQ(r.settings.tx[2], "");
    EXPECT_EQ(Written().back(), "cfg_ch_2\r");
    EXPECT_EQ(r.outcome.kind, OutcomeKind::UnexpectedAnswer);
}

// ---- Write ----------------------------------------------------------------------

TEST_F(RadioJobTest, Write_SendsEverySettingInOrder) {
    FillValidRecord();
    ReplyOkTimes(26);
    const Outcome o = Run(JobKind::Write).outcome;
    Strings expected;
    for (int c = 1; c <= 8; ++c)
        expected.push_back("cfg_ch_" + std::to_string(c) + " 43" + std::to_string(c) + ".00000\r");
    for (int c = 1; c <= 8; ++c)
        expected.push_back("cfg_rx_ch_" + std::to_string(c) + " 44" + std::to_string(c) + ".00000\r");
    for (const char* s : {"cfg_ch_n 5\r", "cfg_sbau 2\r", "cfg_baud 3\r", "cfg_bw 25.0\r", "cfg_mode repeater\r",
                          "cfg_srcx 7\r", "cfg_dstx 9\r", "cfg_prtl 3\r", "cfg_pwrh 1\r", "cfg_pwrl 3\r"})
        expected.push_back(s);
    EXPECT_EQ(Written(), expected);
    EXPECT_EQ(o.kind, OutcomeKind::Success);
    EXPECT_EQ(o.action, OutcomeAction::Write);
    EXPECT_EQ(o.done, 26);
    EXPECT_EQ(WriteCommandCount(settings), 26);
}

TEST_F(RadioJobTest, Write_LinkRateListOfAnUnknownRate_LeavesTheLinkRateOutAndWritesTheRest) {
    FillValidRecord();
    // What a read leaves behind for a radio without the link rate command.
    settings.List(ListField::LinkBaudRate).Fill({"UNKNOW"});
    Select(ListField::LinkBaudRate, 0);
    ReplyOkTimes(25);
    const Outcome o = Run(JobKind::Write).outcome;
    Strings written = Written();
    ASSERT_EQ(written.size(), 25u);
    for (const std::string& w : written) EXPECT_EQ(w.rfind("cfg_baud", 0), std::string::npos) << w;
    EXPECT_EQ(written.back(), "cfg_pwrl 3\r");
    EXPECT_EQ(o.kind, OutcomeKind::Success);
}

TEST_F(RadioJobTest, Write_BlanksAroundAFrequencyStayOffTheWire) {
    FillValidRecord();
    settings.tx[3] = " 433.5 ";
    ReplyOkTimes(26);
    const Outcome o = Run(JobKind::Write).outcome;
    Strings written = Written();
    ASSERT_GE(written.size(), 3u);
    EXPECT_EQ(written[2], "cfg_ch_3 433.5\r");
    EXPECT_EQ(o.kind, OutcomeKind::Success);
}

// A Write given a frequency that is no plain number (the window checks it
// first) leaves that channel out rather than put more than a number on the wire.
TEST_F(RadioJobTest, Write_FrequencyCarryingASecondCommand_IsLeftOut) {
    FillValidRecord();
    settings.tx[1] = "415.5\rcfg_prtl 9";
    ReplyOkTimes(25);
    Run(JobKind::Write);
    const Strings written = Written();
    ASSERT_EQ(written.size(), 25u);
    EXPECT_EQ(written[0], "cfg_ch_2 432.00000\r");
}

TEST_F(RadioJobTest, Write_UnlockedRowsAreSentLast) {
    FillValidRecord();
    RadioConfig::UnlockSerialNumber(settings);
    RadioConfig::UnlockHardware(settings);
    settings.Text(TextField::SerialNumber) = "SN1";
    settings.Text(TextField::HardwareVersion) = "H2";
    ReplyOkTimes(28);
    Run(JobKind::Write);
    Strings written = Written();
    ASSERT_EQ(written.size(), 28u);
    EXPECT_EQ(written[26], "cfg_sern SN1\r");
    EXPECT_EQ(written[27], "cfg_hard H2\r");
}

TEST_F(RadioJobTest, Write_WithoutUnlock_NeverSendsTheSerialNumber) {
    FillValidRecord();
    settings.Text(TextField::SerialNumber) = "SN1";
    ReplyOkTimes(28);
    Run(JobKind::Write);
    for (const std::string& w : Written()) EXPECT_EQ(w.find("cfg_sern"), std::string::npos);
}

TEST_F(RadioJobTest, Write_FirstRefusedSettingStopsTheRestAndIsNamed) {
    FillValidRecord();
    ReplyOkTimes(3);
    Reply("ERROR");
    const Outcome o = Run(JobKind::Write).outcome;
    EXPECT_EQ(Written().size(), 4u);
    EXPECT_EQ(o.kind, OutcomeKind::ValueRefused);
    EXPECT_EQ(o.command, "cfg_ch_4 434.00000");
    EXPECT_EQ(o.reply, "ERROR");
    EXPECT_EQ(o.done, 3);
    EXPECT_EQ(o.total, 26);
}

// Every setting read back: the one the radio does not hold is named with
// both values, and only that one.
TEST_F(RadioJobTest, WriteAndVerify_NamesTheSettingTheRadioDoesNotHold) {
    FillValidRecord();
    ReplyOkTimes(26);
    for (int c = 1; c <= 8; ++c) Reply("cfg_ch_" + std::to_string(c) + " 43" + std::to_string(c) + ".000");
    for (int c = 1; c <= 8; ++c) Reply("cfg_rx_ch_" + std::to_string(c) + " 44" + std::to_string(c) + ".00000");
    for (const char* reply :
         {"current channel 5", "19200", "link 19200", "25.0", "repeater", "7", "255", "HUACE", "1", "3"})
        Reply(reply);
    const Outcome o = Run(JobKind::WriteAndVerify).outcome;
    const Strings written = Written();
    ASSERT_EQ(written.size(), 52u);
    EXPECT_EQ(written[26], "cfg_ch_1\r");
    EXPECT_EQ(written[51], "cfg_pwrl\r");
    EXPECT_EQ(o.kind, OutcomeKind::VerifyMismatch);
    EXPECT_EQ(o.action, OutcomeAction::WriteAndVerify);
    ASSERT_EQ(o.mismatches.size(), 1u);
    EXPECT_EQ(o.mismatches[0].field, "destinetion");
    EXPECT_EQ(o.mismatches[0].written, "9");
    EXPECT_EQ(o.mismatches[0].read, "255");
}

// ---- Cancel ---------------------------------------------------------------------

TEST_F(RadioJobTest, CancelBeforeTheStart_OpensNothingAndSendsNothing) {
    cancel = true;
    const Outcome o = Run(JobKind::Read).outcome;
    EXPECT_EQ(o.kind, OutcomeKind::Cancelled);
    EXPECT_EQ(o.action, OutcomeAction::Read);
    EXPECT_EQ(line.opens, 0);
    EXPECT_TRUE(Written().empty());
}

TEST_F(RadioJobTest, CancelDuringARead_NothingSentAfterTheCommandInFlight) {
    ScriptFullRead();
    CancelAtCommand(5);
    const Outcome o = Run(JobKind::Read).outcome;
    EXPECT_EQ(Written().size(), 5u);
    EXPECT_EQ(Written().back(), "cfg_pwrh\r");
    EXPECT_EQ(o.kind, OutcomeKind::Cancelled);
    EXPECT_EQ(o.done, 5);
    EXPECT_EQ(o.total, 30);
}

TEST_F(RadioJobTest, CancelDuringAWrite_CountsTheSettingsTaken) {
    FillValidRecord();
    ReplyOkTimes(26);
    CancelAtCommand(4);
    const Outcome o = Run(JobKind::Write).outcome;
    EXPECT_EQ(Written().size(), 4u);
    EXPECT_EQ(o.kind, OutcomeKind::Cancelled);
    EXPECT_EQ(o.action, OutcomeAction::Write);
    EXPECT_EQ(o.done, 4);
    EXPECT_EQ(o.total, 26);
}

// The radio may have gone into configuration mode: it is taken out again.
TEST_F(RadioJobTest, CancelDuringConnect_TakesTheRadioOutOfConfigurationMode) {
    Reply("into config");
    Reply("exit config");
    line.Link().onWrite = [this](const std::string& block) {
        if (block == "control\r") cancel = true;
    };
    const Outcome o = Run(JobKind::Connect).outcome;
    EXPECT_EQ(Written(), (Strings{"control\r", "exitcnt\r"}));
    EXPECT_EQ(o.kind, OutcomeKind::Cancelled);
    EXPECT_EQ(o.action, OutcomeAction::Connect);
}

}  // namespace

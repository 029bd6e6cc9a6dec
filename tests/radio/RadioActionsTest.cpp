#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "radio/RadioActions.h"
#include "radio/RadioConfig.h"
#include "testkit/FakeActionWindow.h"
#include "testkit/FakeConfigView.h"
#include "testkit/ScriptedLink.h"

namespace {

using Strings = std::vector<std::string>;

std::string Line(const std::string& text) { return "\r\n" + text + "\r\n"; }

// The actions over a scripted line, a recording window and the fake rows.
class RadioActionsTest : public ::testing::Test {
protected:
    struct Forward : IPortWriter {
        ScriptedLink* link = nullptr;
        void Write(const unsigned char* d, uint32_t n) override { link->Write(d, n); }
    };

    RadioActionsTest() : config(view), exchange(forward), link(exchange), actions(view, config, exchange, window) {
        forward.link = &link;
        view.config = &config;
        config.FillParameterLists();
    }

    void ScriptFullRead(const std::string& serial = "SN0012345") {
        for (const char* reply :
             {"current channel 3", "protocol SATEL", "rate 115200", "link 19200", "2", "3", "FW 2.07"})
            link.Reply(Line(reply));
        link.Reply(Line("HW01"));
        link.Reply(Line(serial));
        link.Reply(Line("SUB 1.3"));
        for (int c = 1; c <= 8; ++c)
            link.Reply(Line("cfg_ch_" + std::to_string(c) + " 43" + std::to_string(c) + ".12500"));
        for (int c = 1; c <= 8; ++c)
            link.Reply(Line("cfg_rx_ch_" + std::to_string(c) + " 44" + std::to_string(c) + ".50000"));
        link.Reply(Line("bandwidth 25.0"));
        link.Reply(Line("mode duplex"));
        link.Reply(Line("12"));
        link.Reply(Line("200"));
    }

    void FillValidRecord() {
        for (int row = 1; row <= 8; ++row) {
            view.tx[row] = "43" + std::to_string(row) + ".00000";
            view.rx[row] = "44" + std::to_string(row) + ".00000";
        }
        view.SelectItem(ListField::Protocol, 2);   // HUACE
        view.SelectItem(ListField::Bandwidth, 1);  // 25.0 kHz: HUACE leaves the link rate free
        view.SelectItem(ListField::LinkBaudRate, 2);
        view.SelectItem(ListField::CurrentChannel, 4);
        view.SelectItem(ListField::PortBaudRate, 1);
        view.SelectItem(ListField::WorkMode, 2);
        view.SelectItem(ListField::HighPower, 0);
        view.SelectItem(ListField::LowPower, 2);
        view.field(TextField::Src) = "7";
        view.field(TextField::Dst) = "9";
        view.ClearRecords();
    }

    void ReplyOkTimes(int n) {
        for (int i = 0; i < n; ++i) link.Reply(Line("OK"));
    }

    FakeConfigView view;
    RadioConfig config;
    FakeActionWindow window;
    Forward forward;
    RadioExchange exchange;
    ScriptedLink link;
    RadioActions actions;
};

TEST(ResultText, CaptionAndSuffixByLanguage) {
    EXPECT_EQ(ComposeResultText("Read", true, Language::English), "Read Success");
    EXPECT_EQ(ComposeResultText("Write", false, Language::English), "Write Failure");
    EXPECT_EQ(ComposeResultText("读取", true, Language::Chinese), "读取成功");
    EXPECT_EQ(ComposeResultText("写入", false, Language::Chinese), "写入失败");
}

TEST_F(RadioActionsTest, Connect_RadioAnswersIntoConfig_Succeeds) {
    link.Reply(Line("into config mode"));
    actions.EnterConfigMode();
    EXPECT_EQ(link.Written(), Strings{"control\r"});
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_TRUE(window.results[0].success);
    EXPECT_EQ(window.results[0].control, ActionControl::Connect);
    EXPECT_FALSE(window.portOpen);
}

TEST_F(RadioActionsTest, Disconnect_WrongAnswer_Fails) {
    link.Reply(Line("into config"));
    actions.ExitConfigMode();
    EXPECT_EQ(link.Written(), Strings{"exitcnt\r"});
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_FALSE(window.results[0].success);
    EXPECT_EQ(window.results[0].control, ActionControl::Disconnect);
}

TEST_F(RadioActionsTest, PortThatDoesNotOpen_SendsNothingAndFails) {
    window.portOpens = false;
    actions.EnterConfigMode();
    actions.ReadFromRadio();
    EXPECT_TRUE(link.Written().size() <= 1u);  // Read's link-rate fallback sends nothing either
    for (const auto& r : window.results) EXPECT_FALSE(r.success);
    EXPECT_EQ(window.results.size(), 2u);
}

TEST_F(RadioActionsTest, FullRead_FillsEveryField) {
    ScriptFullRead();
    actions.ReadFromRadio();
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_TRUE(window.results[0].success);
    EXPECT_EQ(window.results[0].control, ActionControl::Read);
    EXPECT_EQ(link.Written().size(), 30u);
    EXPECT_EQ(view.GetSelection(ListField::CurrentChannel), 2);
    EXPECT_EQ(view.GetSelection(ListField::Protocol), 8);
    EXPECT_EQ(view.GetSelection(ListField::PortBaudRate), 4);
    // SATEL's list is 9600, 19200; the bandwidth read at the end then locks
    // it on the second rate at 25.0 kHz.
    EXPECT_EQ(view.GetItemText(ListField::LinkBaudRate, view.GetSelection(ListField::LinkBaudRate)), " 19200");
    EXPECT_EQ(view.GetSelection(ListField::HighPower), 1);
    EXPECT_EQ(view.GetSelection(ListField::LowPower), 2);
    EXPECT_EQ(view.field(TextField::FirmwareVersion), "FW 2.07");
    EXPECT_EQ(view.field(TextField::HardwareVersion), "HW01");
    EXPECT_EQ(view.field(TextField::SerialNumber), "SN0012345");
    EXPECT_EQ(view.field(TextField::SubFirmwareVersion), "SUB 1.3");
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(view.tx[c], "43" + std::to_string(c) + ".12500");
        EXPECT_EQ(view.rx[c], "44" + std::to_string(c) + ".50000");
    }
    EXPECT_EQ(view.tx[0], "");
    EXPECT_EQ(view.tx[9], "");
    EXPECT_EQ(view.GetSelection(ListField::Bandwidth), 1);
    EXPECT_EQ(view.GetSelection(ListField::WorkMode), 1);
    EXPECT_EQ(view.field(TextField::Src), "12");
    EXPECT_EQ(view.field(TextField::Dst), "200");
}

TEST_F(RadioActionsTest, Read_QueriesInTheFixedOrder) {
    ScriptFullRead();
    actions.ReadFromRadio();
    Strings expected = {"cfg_ch_n\r", "cfg_prtl\r", "cfg_sbau\r", "cfg_baud\r", "cfg_pwrh\r",
                        "cfg_pwrl\r", "cfg_firm\r", "cfg_hard\r", "cfg_sern\r", "SREV\r"};
    for (int c = 1; c <= 8; ++c) expected.push_back("cfg_ch_" + std::to_string(c) + "\r");
    for (int c = 1; c <= 8; ++c) expected.push_back("cfg_rx_ch_" + std::to_string(c) + "\r");
    for (const char* q : {"cfg_bw\r", "cfg_mode\r", "cfg_srcx\r", "cfg_dstx\r"}) expected.push_back(q);
    EXPECT_EQ(link.Written(), expected);
}

TEST_F(RadioActionsTest, Read_TwelveCharacterSerialNumber_KeepsNine) {
    ScriptFullRead("ABCDEFGHIJKL");
    actions.ReadFromRadio();
    EXPECT_EQ(view.field(TextField::SerialNumber), "ABCDEFGHI");
}

TEST_F(RadioActionsTest, Read_SilentRadio_FallsBackForTheLinkRateThenFails) {
    actions.ReadFromRadio();  // nothing scripted: every command times out
    EXPECT_EQ(link.Written(), (Strings{"cfg_ch_n\r", "cfg_pwrh\r"}));
    EXPECT_EQ(view.list(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_FALSE(window.results[0].success);
    EXPECT_FALSE(window.portOpen);
}

TEST_F(RadioActionsTest, Read_UnknownProtocol_ShowsUnknowAndGoesOn) {
    link.Reply(Line("current channel 1"));
    link.Reply(Line("protocol UNKNOW"));
    link.Reply(Line("9600"));
    link.NoReply();  // cfg_baud
    actions.ReadFromRadio();
    Strings written = link.Written();
    ASSERT_GE(written.size(), 3u);
    EXPECT_EQ(written[2], "cfg_sbau\r");
    EXPECT_EQ(view.GetShownText(ListField::Protocol), " UNKNOW");
    EXPECT_EQ(view.GetSelection(ListField::Protocol), -1);
}

TEST_F(RadioActionsTest, Read_LinkRateUnknownToTheRadio_SelectsTheUnknowEntry) {
    link.Reply(Line("current channel 1"));
    link.Reply(Line("TRIMTALK"));
    link.Reply(Line("9600"));
    // No complete reply, but the radio's partial answer says UNKNOW.
    link.Reply("\r\ncommand UNKNOW");
    link.Reply(Line("9"));  // cfg_pwrh: out of range ends the read
    actions.ReadFromRadio();
    EXPECT_EQ(view.list(ListField::LinkBaudRate).items, Strings{"UNKNOW"});
    EXPECT_EQ(view.GetSelection(ListField::LinkBaudRate), 0);
    EXPECT_EQ(view.GetSelection(ListField::HighPower), 2);  // clamped to the last entry
    EXPECT_FALSE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Read_LinkRateAnsweredWithoutARate_FailsTheRead) {
    link.Reply(Line("current channel 1"));
    link.Reply(Line("TRIMTALK"));
    link.Reply(Line("9600"));
    link.Reply(Line("command UNKNOW"));
    actions.ReadFromRadio();
    EXPECT_EQ(link.Written().back(), "cfg_baud\r");
    EXPECT_EQ(view.GetShownText(ListField::LinkBaudRate), " 9600");  // the last position tried
    EXPECT_FALSE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Read_PortBaudWithoutMatch_ClearsTheSelectionAndFails) {
    view.SelectItem(ListField::PortBaudRate, 2);
    link.Reply(Line("current channel 1"));
    link.Reply(Line("TRIMTALK"));
    link.Reply(Line("baud 4800"));
    link.NoReply();
    link.NoReply();
    actions.ReadFromRadio();
    EXPECT_EQ(view.GetSelection(ListField::PortBaudRate), -1);
    EXPECT_FALSE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Read_ChannelReplyWithoutTheDigit_StopsTheRead) {
    for (const char* reply : {"current channel 3", "SATEL", "9600", "9600", "1", "1", "F", "H", "S", "R"})
        link.Reply(Line(reply));
    link.Reply(Line("cfg_ch_1 430.00000"));
    link.Reply(Line("cfg_ch_x 431.00000"));
    actions.ReadFromRadio();
    EXPECT_EQ(view.tx[1], "430.00000");
    EXPECT_EQ(view.tx[2], "");
    EXPECT_EQ(link.Written().back(), "cfg_ch_2\r");
    EXPECT_FALSE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Write_SendsEverySettingInOrder) {
    FillValidRecord();
    ReplyOkTimes(26);
    actions.WriteToRadio();
    Strings expected;
    for (int c = 1; c <= 8; ++c)
        expected.push_back("cfg_ch_" + std::to_string(c) + " 43" + std::to_string(c) + ".00000\r");
    for (int c = 1; c <= 8; ++c)
        expected.push_back("cfg_rx_ch_" + std::to_string(c) + " 44" + std::to_string(c) + ".00000\r");
    for (const char* s : {"cfg_ch_n 5\r", "cfg_sbau 2\r", "cfg_baud 3\r", "cfg_bw 25.0\r", "cfg_mode repeater\r",
                          "cfg_srcx 7\r", "cfg_dstx 9\r", "cfg_prtl 3\r", "cfg_pwrh 1\r", "cfg_pwrl 3\r"})
        expected.push_back(s);
    EXPECT_EQ(link.Written(), expected);
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_TRUE(window.results[0].success);
    EXPECT_EQ(window.results[0].control, ActionControl::Write);
}

TEST_F(RadioActionsTest, Write_LinkRateListOfAnUnknownRate_LeavesTheLinkRateOutAndWritesTheRest) {
    FillValidRecord();
    // What a read leaves behind for a radio without the link rate command.
    view.FillList(ListField::LinkBaudRate, {"UNKNOW"});
    view.SelectItem(ListField::LinkBaudRate, 0);
    ReplyOkTimes(25);
    actions.WriteToRadio();
    Strings written = link.Written();
    ASSERT_EQ(written.size(), 25u);
    for (const std::string& w : written) EXPECT_EQ(w.rfind("cfg_baud", 0), std::string::npos) << w;
    EXPECT_EQ(written.back(), "cfg_pwrl 3\r");
    EXPECT_TRUE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Write_BlanksAroundAFrequencyStayOffTheWire) {
    FillValidRecord();
    view.tx[3] = " 433.5 ";
    ReplyOkTimes(26);
    actions.WriteToRadio();
    Strings written = link.Written();
    ASSERT_GE(written.size(), 3u);
    EXPECT_EQ(written[2], "cfg_ch_3 433.5\r");
    EXPECT_TRUE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Write_AddressesAreNormalisedBeforeSending) {
    FillValidRecord();
    view.field(TextField::Src) = "";
    view.field(TextField::Dst) = "300";
    ReplyOkTimes(28);
    actions.WriteToRadio();
    Strings written = link.Written();
    EXPECT_NE(std::find(written.begin(), written.end(), "cfg_srcx 0\r"), written.end());
    EXPECT_NE(std::find(written.begin(), written.end(), "cfg_dstx 255\r"), written.end());
}

TEST_F(RadioActionsTest, Write_UnlockedRowsAreSentLastAndRelocked) {
    FillValidRecord();
    config.UnlockSerialNumber();
    config.UnlockHardware();
    view.field(TextField::SerialNumber) = "SN1";
    view.field(TextField::HardwareVersion) = "H2";
    ReplyOkTimes(28);
    actions.WriteToRadio();
    Strings written = link.Written();
    ASSERT_EQ(written.size(), 28u);
    EXPECT_EQ(written[26], "cfg_sern SN1\r");
    EXPECT_EQ(written[27], "cfg_hard H2\r");
    EXPECT_FALSE(config.serialUnlocked);
    EXPECT_FALSE(config.hardwareUnlocked);
    EXPECT_FALSE(view.editable[static_cast<int>(TextField::SerialNumber)]);
}

TEST_F(RadioActionsTest, Write_WithoutUnlock_NeverSendsTheSerialNumber) {
    FillValidRecord();
    view.field(TextField::SerialNumber) = "SN1";
    ReplyOkTimes(28);
    actions.WriteToRadio();
    for (const std::string& w : link.Written()) EXPECT_EQ(w.find("cfg_sern"), std::string::npos);
}

TEST_F(RadioActionsTest, Write_InvalidFrequency_OpensNoPortAndRelocks) {
    FillValidRecord();
    config.UnlockSerialNumber();
    view.tx[4] = "500";
    view.field(TextField::Src) = "";
    actions.WriteToRadio();
    EXPECT_EQ(window.opens, 0);
    EXPECT_TRUE(link.Written().empty());
    EXPECT_EQ(view.errors, Strings{"Channel4: Invalid!"});
    EXPECT_EQ(view.field(TextField::Src), "0");  // normalised all the same
    EXPECT_FALSE(config.serialUnlocked);
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_FALSE(window.results[0].success);
}

TEST_F(RadioActionsTest, Write_FirstRefusedSettingStopsTheRest) {
    FillValidRecord();
    ReplyOkTimes(3);
    link.Reply(Line("ERROR"));
    actions.WriteToRadio();
    EXPECT_EQ(link.Written().size(), 4u);
    EXPECT_FALSE(window.results.at(0).success);
}

TEST_F(RadioActionsTest, Write_ListsWithoutSelectionAreSkipped) {
    FillValidRecord();
    // A link-rate list that lost its selection (e.g. after a language switch)
    // fails the check before anything is sent.
    view.FillList(ListField::LinkBaudRate, {" 4800"});
    actions.WriteToRadio();
    EXPECT_EQ(window.opens, 0);
    EXPECT_EQ(view.errors, Strings{"Link BaudRate:Invalid!"});
}

}  // namespace

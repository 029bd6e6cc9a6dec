#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RadioSim.h"
#include "SimHarness.h"
#include "radio/CommandSet.h"

namespace {

namespace tool = ::CommandSet;

class ConfigMode : public ::testing::Test {
protected:
    RadioSim sim{RadioState::factoryDefault(), SimFaults{}, false};
    void SetUp() override { ASSERT_NE(lineOf(sim, "control\r").find("into config"), std::string::npos); }
    std::string line(const std::string& command) { return lineOf(sim, command); }
};

bool has(const std::string& text, const std::string& word) { return text.find(word) != std::string::npos; }

}  // namespace

TEST(Modes, ParameterCommandsOutsideConfigMode_ErrorWithoutOk) {
    RadioSim sim(RadioState::factoryDefault(), SimFaults{}, false);
    for (const char* command : {"cfg_prtl\r", "cfg_sbau 2\r", "cfg_ch_1 420\r", "SREV\r", "cfg_firm\r"}) {
        ToolReply f = toolReplyOf(replyTo(sim, command));
        EXPECT_TRUE(f.complete) << command;
        EXPECT_FALSE(has(f.line, "OK")) << command;
        EXPECT_TRUE(has(f.line, "ERROR")) << command;
    }
    EXPECT_FALSE(sim.takeStateChanged());
    EXPECT_EQ(sim.state().portBaud, 1);
}

TEST(Modes, ControlEntersAndExitcntLeaves) {
    RadioSim sim(RadioState::factoryDefault(), SimFaults{}, false);
    EXPECT_TRUE(has(lineOf(sim, "control\r"), "into config"));
    EXPECT_EQ(sim.mode(), RadioSim::Mode::Config);
    EXPECT_TRUE(has(lineOf(sim, "cfg_sbau 4\r"), "OK"));
    EXPECT_TRUE(has(lineOf(sim, "exitcnt\r"), "exit config"));
    EXPECT_EQ(sim.mode(), RadioSim::Mode::Normal);
    EXPECT_FALSE(has(lineOf(sim, "cfg_sbau 2\r"), "OK"));
    EXPECT_EQ(sim.state().portBaud, 4);
}

TEST(Modes, UnknownKeywordInEitherMode_ErrorWithoutOk) {
    RadioSim sim(RadioState::factoryDefault(), SimFaults{}, false);
    EXPECT_EQ(lineOf(sim, "hello\r"), "ERROR: no such command");
    lineOf(sim, "control\r");
    EXPECT_EQ(lineOf(sim, "cfg_xyz 1\r"), "ERROR: no such command");
    EXPECT_EQ(lineOf(sim, "CONTROL\r"), "ERROR: no such command");
}

TEST_F(ConfigMode, CurrentChannel_LastCharacterIsTheChannel) {
    for (int c = 1; c <= 8; ++c) {
        ASSERT_TRUE(has(line("cfg_ch_n " + std::to_string(c) + "\r"), "OK"));
        int position = -1;
        EXPECT_TRUE(tool::ParseCurrentChannel(line("cfg_ch_n\r"), position));
        EXPECT_EQ(position, c - 1);
    }
}

TEST_F(ConfigMode, EveryProtocol_FoundByTheToolAtItsPosition) {
    for (int p = 1; p <= 9; ++p) {
        ASSERT_TRUE(has(line("cfg_prtl " + std::to_string(p) + "\r"), "OK"));
        EXPECT_EQ(tool::ParseProtocol(line("cfg_prtl\r")), p - 1) << p;
    }
}

TEST_F(ConfigMode, EveryPortBaud_FirstMatchIsTheRate) {
    for (int b = 1; b <= 5; ++b) {
        ASSERT_TRUE(has(line("cfg_sbau " + std::to_string(b) + "\r"), "OK"));
        EXPECT_EQ(tool::ParsePortBaud(line("cfg_sbau\r")), b - 1) << b;
    }
}

TEST_F(ConfigMode, EveryLinkBaud_LastMatchIsTheRate) {
    const char* rates[] = {" 4800", " 9600", " 19200"};
    for (int b = 1; b <= 3; ++b) {
        ASSERT_TRUE(has(line("cfg_baud " + std::to_string(b) + "\r"), "OK"));
        EXPECT_EQ(tool::ParseLinkBaud(line("cfg_baud\r")), rates[b - 1]);
    }
}

TEST_F(ConfigMode, Powers_LeadingNumberIsTheCode) {
    for (int p = 1; p <= 3; ++p) {
        ASSERT_TRUE(has(line("cfg_pwrh " + std::to_string(p) + "\r"), "OK"));
        ASSERT_TRUE(has(line("cfg_pwrl " + std::to_string(4 - p) + "\r"), "OK"));
        EXPECT_EQ(tool::ParsePowerValue(line("cfg_pwrh\r")), p);
        EXPECT_EQ(tool::ParsePowerValue(line("cfg_pwrl\r")), 4 - p);
    }
    EXPECT_EQ(line("cfg_pwrh\r"), "3 25W");
    EXPECT_EQ(line("cfg_pwrl\r"), "1 15W");
}

TEST_F(ConfigMode, BandwidthAndWorkMode_FirstMatchInToolOrder) {
    EXPECT_TRUE(has(line("cfg_bw 12.5\r"), "OK"));
    EXPECT_EQ(tool::ParseBandwidth(line("cfg_bw\r")), 0);
    EXPECT_TRUE(has(line("cfg_bw 25.0\r"), "OK"));
    EXPECT_EQ(tool::ParseBandwidth(line("cfg_bw\r")), 1);

    const char* modes[] = {"tx", "duplex", "repeater"};
    for (int m = 0; m < 3; ++m) {
        ASSERT_TRUE(has(line(std::string("cfg_mode ") + modes[m] + "\r"), "OK"));
        EXPECT_EQ(tool::ParseWorkMode(line("cfg_mode\r")), m) << modes[m];
    }
}

TEST_F(ConfigMode, ChannelFrequencies_TextAfterDigitAndSpace) {
    for (int c = 1; c <= 8; ++c) {
        std::string d = std::to_string(c);
        std::string tx = "4" + std::to_string(10 + c) + ".12345";
        std::string rx = "46" + d + ".5";
        ASSERT_TRUE(has(line("cfg_ch_" + d + " " + tx + "\r"), "OK"));
        ASSERT_TRUE(has(line("cfg_rx_ch_" + d + " " + rx + "\r"), "OK"));
        std::string txText, rxText;
        ASSERT_TRUE(tool::ParseChannelFrequency(line("cfg_ch_" + d + "\r"), c, txText));
        ASSERT_TRUE(tool::ParseChannelFrequency(line("cfg_rx_ch_" + d + "\r"), c, rxText));
        EXPECT_EQ(txText, tx);
        EXPECT_EQ(rxText, rx + "0000");
    }
}

TEST_F(ConfigMode, TextQueries_LineIsTheValue) {
    EXPECT_EQ(line("cfg_srcx\r"), "1");
    EXPECT_EQ(line("cfg_dstx\r"), "255");
    EXPECT_EQ(line("cfg_sern\r"), "VM2300001");
    EXPECT_EQ(line("cfg_hard\r"), "H2.1");
    EXPECT_EQ(line("cfg_firm\r"), "V3.12");
    EXPECT_EQ(line("SREV\r"), "S1.05");
    EXPECT_TRUE(has(line("cfg_srcx 254\r"), "OK"));
    EXPECT_TRUE(has(line("cfg_dstx 0\r"), "OK"));
    EXPECT_TRUE(has(line("cfg_sern AB-456789\r"), "OK"));
    EXPECT_TRUE(has(line("cfg_hard H 3\r"), "OK"));
    EXPECT_EQ(line("cfg_srcx\r"), "254");
    EXPECT_EQ(line("cfg_dstx\r"), "0");
    EXPECT_EQ(line("cfg_sern\r"), "AB-456789");
    EXPECT_EQ(line("cfg_hard\r"), "H 3");
}

TEST_F(ConfigMode, SettingReply_EndsInAckWithoutCarriageReturn) {
    std::string bytes = replyTo(sim, "cfg_sbau 2\r");
    EXPECT_EQ(bytes, "\r\nOK ACK");
    EXPECT_TRUE(sim.takeStateChanged());
    replyTo(sim, "cfg_sbau\r");
    EXPECT_FALSE(sim.takeStateChanged());
}

TEST_F(ConfigMode, QueryReply_FramedByCrLf) {
    std::string bytes = replyTo(sim, "cfg_ch_n\r");
    EXPECT_EQ(bytes, "\r\ncurrent channel 1\r\n");
}

TEST_F(ConfigMode, BadArguments_ErrorWithoutOkAndNothingChanged) {
    const std::vector<std::string> bad = {
        "cfg_ch_1 409.99999",  "cfg_ch_1 470.00001", "cfg_ch_1 415.123456",  "cfg_ch_1 abc",  "cfg_ch_1 ",
        "cfg_ch_1  415.5",     "cfg_ch_1 415.5MHz",  "cfg_rx_ch_8 471",      "cfg_ch_1 -415", "cfg_ch_1 .5",
        "cfg_ch_n 0",          "cfg_ch_n 9",         "cfg_ch_n 1x",          "cfg_prtl 0",    "cfg_prtl 10",
        "cfg_sbau 6",          "cfg_baud 0",         "cfg_baud 4",           "cfg_baud 4800", "cfg_bw 12",
        "cfg_bw 25",           "cfg_mode rx",        "cfg_mode TX",          "cfg_srcx 255",  "cfg_srcx -1",
        "cfg_srcx +3",         "cfg_dstx 256",       "cfg_dstx 99999999999", "cfg_pwrh 0",    "cfg_pwrl 4",
        "cfg_sern 1234567890", "cfg_sern ",          "cfg_hard ABCDE",       "cfg_hard \x01", "cfg_sern \xb9\xd8",
    };
    for (const std::string& command : bad) {
        ToolReply f = toolReplyOf(replyTo(sim, command + "\r"));
        EXPECT_TRUE(f.complete) << command;
        EXPECT_FALSE(has(f.line, "OK")) << command;
    }
    EXPECT_FALSE(sim.takeStateChanged());
    EXPECT_TRUE(sim.state() == RadioState::factoryDefault());
}

TEST_F(ConfigMode, RangeEnds_Accepted) {
    for (const char* command : {"cfg_ch_1 410", "cfg_ch_2 470", "cfg_ch_3 470.00000", "cfg_ch_4 0410.5", "cfg_srcx 0",
                                "cfg_dstx 255", "cfg_sern 123456789", "cfg_hard ABCD"})
        EXPECT_TRUE(has(line(std::string(command) + "\r"), "OK")) << command;
    EXPECT_EQ(line("cfg_ch_1\r"), "cfg_ch_1 410.00000");
    EXPECT_EQ(line("cfg_ch_4\r"), "cfg_ch_4 410.50000");
}

TEST_F(ConfigMode, ChannelsOutsideOneToEight_BadValue) {
    EXPECT_EQ(line("cfg_ch_0\r"), "ERROR: bad value");
    EXPECT_EQ(line("cfg_ch_9 420\r"), "ERROR: bad value");
    EXPECT_EQ(line("cfg_rx_ch_9\r"), "ERROR: bad value");
    EXPECT_EQ(line("cfg_ch_10\r"), "ERROR: no such command");
}

TEST_F(ConfigMode, ReadOnlyVersions_RefuseSetting) {
    EXPECT_EQ(line("cfg_firm V9\r"), "ERROR: read only");
    EXPECT_EQ(line("SREV S9\r"), "ERROR: read only");
    EXPECT_EQ(line("cfg_firm\r"), "V3.12");
}

TEST_F(ConfigMode, LineFeedsIgnoredAndEmptyLineUnanswered) {
    EXPECT_EQ(replyTo(sim, "\r"), "");
    EXPECT_EQ(replyTo(sim, "\r\n"), "");
    EXPECT_EQ(lineOf(sim, "\ncfg_srcx\r\n"), "1");
}

TEST_F(ConfigMode, OverlongLine_RefusedWithoutOk) {
    std::string reply = line("cfg_sern " + std::string(300, 'x') + "\r");
    EXPECT_EQ(reply, "ERROR: line too long");
    EXPECT_EQ(line("cfg_sern\r"), "VM2300001");
}

TEST_F(ConfigMode, BytesSplitAcrossCalls_OneCommand) {
    sim.receive("cfg_s");
    EXPECT_TRUE(sim.takeReplies().empty());
    EXPECT_EQ(lineOf(sim, "rcx\r"), "1");
}

TEST(Echo, CommandEchoedBeforeReply_ToolStillFindsTheLine) {
    RadioSim sim(RadioState::factoryDefault(), SimFaults{}, true);
    EXPECT_EQ(replyTo(sim, "control\r"), "control\r\r\ninto config mode\r\n");
    std::string bytes = replyTo(sim, "cfg_ch_n\r");
    EXPECT_EQ(bytes, "cfg_ch_n\r\r\ncurrent channel 1\r\n");
    EXPECT_EQ(toolReplyOf(bytes).line, "current channel 1");
    EXPECT_EQ(lineOf(sim, "cfg_pwrh 2\r"), "OK ACK");
}

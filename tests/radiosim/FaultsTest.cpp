#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BootLoader.h"
#include "RadioSim.h"
#include "SimHarness.h"

namespace {

SimFaults faults(std::initializer_list<const char*> texts) {
    SimFaults f;
    std::string error;
    for (const char* text : texts) EXPECT_TRUE(f.add(text, error)) << text << ": " << error;
    return f;
}

bool has(const std::string& text, const std::string& word) { return text.find(word) != std::string::npos; }

bool transcriptHas(RadioSim& sim, const std::string& line) {
    auto lines = sim.takeTranscript();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string page() {
    std::string data(BootLoader::kPageData, '\x01');
    return data + char(0x01) + char(0x00);  // 256 ones sum to 0x0100
}

}  // namespace

TEST(FaultText, UnknownOrMalformed_Refused) {
    SimFaults f;
    std::string error;
    for (const char* bad :
         {"loud", "delay", "delay=", "delay=x", "drop=0", "drop=-1", "bad-page=0", "hangup=", "silent=1",
          "no-link-baud=maybe", "noise=2", "ignore", "ignore=", "ignore=cfg dadd", "burst=0"}) {
        error.clear();
        EXPECT_FALSE(f.add(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(Faults, Silent_NothingSentButCommandsCarriedOut) {
    RadioSim sim(RadioState::factoryDefault(), faults({"silent"}), false);
    EXPECT_EQ(replyTo(sim, "control\r"), "");
    EXPECT_EQ(replyTo(sim, "cfg_sbau 5\r"), "");
    EXPECT_EQ(sim.state().portBaud, 5);
    EXPECT_TRUE(transcriptHas(sim, "! no reply (silent)"));
}

TEST(Faults, Delay_EveryReplyCarriesIt) {
    RadioSim sim(RadioState::factoryDefault(), faults({"delay=250"}), false);
    sim.receive("control\rcfg_ch_n\r");
    auto replies = sim.takeReplies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].delayMs, 250);
    EXPECT_EQ(replies[1].delayMs, 250);
}

TEST(Faults, Drop_OnlyThoseCommandsUnanswered) {
    RadioSim sim(RadioState::factoryDefault(), faults({"drop=2", "drop=4"}), false);
    EXPECT_NE(replyTo(sim, "control\r"), "");
    EXPECT_EQ(replyTo(sim, "cfg_sbau 3\r"), "");
    EXPECT_EQ(sim.state().portBaud, 3);  // carried out, only the reply lost
    EXPECT_NE(replyTo(sim, "cfg_sbau\r"), "");
    EXPECT_EQ(replyTo(sim, "cfg_sbau\r"), "");
    EXPECT_NE(replyTo(sim, "cfg_sbau\r"), "");
    EXPECT_EQ(replyTo(sim, "\r"), "");  // an empty line is not counted
    EXPECT_EQ(sim.commandCount(), 5);
}

TEST(Faults, Noise_BeforeReplyWithoutLineEnds_ToolIgnoresIt) {
    RadioSim sim(RadioState::factoryDefault(), faults({"noise"}), false);
    std::string bytes = replyTo(sim, "control\r");
    size_t open = bytes.find('\r');
    ASSERT_GT(open, 0u);
    EXPECT_EQ(bytes.substr(0, open).find('\n'), std::string::npos);
    EXPECT_EQ(bytes.substr(open), "\r\ninto config mode\r\n");
    EXPECT_EQ(toolReplyOf(bytes).line, "into config mode");
}

TEST(Faults, Burst_ThatManyBytesWithoutLineEndsBeforeTheReply) {
    RadioSim sim(RadioState::factoryDefault(), faults({"burst=10000"}), false);
    std::string bytes = replyTo(sim, "control\r");
    ASSERT_EQ(bytes.size(), 10000u + std::string("\r\ninto config mode\r\n").size());
    EXPECT_EQ(bytes.substr(10000), "\r\ninto config mode\r\n");
    EXPECT_EQ(bytes.find_first_of("\r\n"), 10000u);
    EXPECT_EQ(bytes[1], char(48));  // (1 * 37 + 11) mod 256
    EXPECT_EQ(bytes[90], '#');      // (90 * 37 + 11) mod 256 is a CR
    EXPECT_EQ(toolReplyOf(bytes).line, "into config mode");
}

TEST(Faults, NoiseWithEcho_NoiseGoesBeforeTheEcho) {
    RadioSim sim(RadioState::factoryDefault(), faults({"noise"}), true);
    std::string bytes = replyTo(sim, "control\r");
    EXPECT_NE(bytes.find("control\r\r\ninto config mode\r\n"), std::string::npos);
    EXPECT_GT(bytes.find("control"), 0u);
    EXPECT_EQ(toolReplyOf(bytes).line, "into config mode");
}

TEST(Faults, UnknownProtocol_QueryAnswersUnknow) {
    RadioSim sim(RadioState::factoryDefault(), faults({"unknown-protocol"}), false);
    lineOf(sim, "control\r");
    std::string reply = lineOf(sim, "cfg_prtl\r");
    EXPECT_TRUE(has(reply, "UNKNOW"));
    EXPECT_FALSE(has(reply, "TRIMTALK"));
    EXPECT_TRUE(has(lineOf(sim, "cfg_prtl 2\r"), "OK"));
}

TEST(Faults, NoLinkBaud_CompleteErrorWithoutRateOrUnknow) {
    RadioSim sim(RadioState::factoryDefault(), faults({"no-link-baud"}), false);
    lineOf(sim, "control\r");
    ToolReply f = toolReplyOf(replyTo(sim, "cfg_baud\r"));
    EXPECT_TRUE(f.complete);
    for (const char* word : {"4800", "9600", "19200", "UNKNOW", "KNOW", "OK"}) EXPECT_FALSE(has(f.line, word)) << word;
    EXPECT_FALSE(has(lineOf(sim, "cfg_baud 1\r"), "OK"));
    EXPECT_EQ(lineOf(sim, "cfg_sbau\r"), "port baud 9600");
}

TEST(Faults, NoLinkBaudUnknow_OpenedNeverCompleted) {
    RadioSim sim(RadioState::factoryDefault(), faults({"no-link-baud=unknow"}), false);
    lineOf(sim, "control\r");
    ToolReply f = toolReplyOf(replyTo(sim, "cfg_baud\r"));
    EXPECT_FALSE(f.complete);
    EXPECT_TRUE(has(f.line, "UNKNOW"));
}

TEST(Faults, NoLinkBaudSilent_NoReply) {
    RadioSim sim(RadioState::factoryDefault(), faults({"no-link-baud=silent"}), false);
    lineOf(sim, "control\r");
    EXPECT_EQ(replyTo(sim, "cfg_baud\r"), "");
    EXPECT_NE(replyTo(sim, "cfg_sbau\r"), "");
}

TEST(Faults, BadPage_KthRequestOfEachDownloadRefused) {
    RadioSim sim(RadioState::factoryDefault(), faults({"bad-page=2"}), false);
    for (int download = 0; download < 2; ++download) {
        lineOf(sim, "boot_start");
        EXPECT_TRUE(has(lineOf(sim, "write page"), "get page"));
        EXPECT_TRUE(has(lineOf(sim, page()), "write OK"));
        std::string refused = lineOf(sim, "write page");
        EXPECT_FALSE(refused.empty());
        EXPECT_FALSE(has(refused, "get page"));
        EXPECT_FALSE(sim.pageInProgress());
        EXPECT_TRUE(has(lineOf(sim, "write page"), "get page"));
        EXPECT_TRUE(has(lineOf(sim, page()), "write OK"));
    }
}

TEST(Faults, Hangup_AfterNCommandsNothingAnsweredOrDone) {
    RadioSim sim(RadioState::factoryDefault(), faults({"hangup=2"}), false);
    EXPECT_NE(replyTo(sim, "control\r"), "");
    EXPECT_NE(replyTo(sim, "cfg_ch_n\r"), "");
    sim.takeTranscript();
    EXPECT_EQ(replyTo(sim, "cfg_sbau 4\r"), "");
    EXPECT_EQ(replyTo(sim, "boot_start"), "");
    EXPECT_EQ(replyTo(sim, "exitcnt\r"), "");
    EXPECT_EQ(sim.state().portBaud, 1);
    EXPECT_EQ(sim.mode(), RadioSim::Mode::Config);
    auto lines = sim.takeTranscript();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "> cfg_sbau 4\\r");  // still logged as received
    EXPECT_EQ(lines[1], "! no reply (hangup)");
}

TEST(Faults, HangupDuringDownload_PageNotKept) {
    RadioSim sim(RadioState::factoryDefault(), faults({"hangup=2"}), false);
    lineOf(sim, "boot_start");
    lineOf(sim, "write page");
    EXPECT_EQ(replyTo(sim, page()), "");
    EXPECT_FALSE(sim.pageInProgress());
}

TEST(Faults, Serial12_TwelveCharactersStartingWithTheSerial) {
    RadioSim sim(RadioState::factoryDefault(), faults({"serial12"}), false);
    lineOf(sim, "control\r");
    std::string reply = lineOf(sim, "cfg_sern\r");
    EXPECT_EQ(reply.size(), 12u);
    EXPECT_EQ(reply.substr(0, 9), "VM2300001");
    lineOf(sim, "cfg_sern X\r");
    EXPECT_EQ(lineOf(sim, "cfg_sern\r"), "XABCDEFGHIJK");
}

TEST(Faults, IgnoreSetting_AcknowledgedButNotStored_OthersAndQueriesUntouched) {
    RadioSim sim(RadioState::factoryDefault(), faults({"ignore=cfg_dstx", "ignore=cfg_ch_3"}), false);
    replyTo(sim, "control\r");
    EXPECT_EQ(replyTo(sim, "cfg_dstx 17\r"), "\r\nOK ACK");
    EXPECT_EQ(replyTo(sim, "cfg_ch_3 430.125\r"), "\r\nOK ACK");
    EXPECT_EQ(replyTo(sim, "cfg_srcx 9\r"), "\r\nOK ACK");
    EXPECT_EQ(lineOf(sim, "cfg_dstx\r"), "255");
    EXPECT_EQ(lineOf(sim, "cfg_ch_3\r"), "cfg_ch_3 425.50000");
    EXPECT_EQ(lineOf(sim, "cfg_srcx\r"), "9");
    // Outside configuration mode the radio still refuses it.
    replyTo(sim, "exitcnt\r");
    EXPECT_NE(lineOf(sim, "cfg_dstx 17\r").find("not in config"), std::string::npos);
}

#include <gtest/gtest.h>

#include <chrono>

#include "radio/RadioExchange.h"
#include "testkit/ScriptedLink.h"

using namespace std::chrono_literals;

namespace {

// The exchange with a scripted line behind it, wired as the window wires its
// port: the line answers each write through OnPortByte.
struct Radio {
    struct Forward : IPortWriter {
        ScriptedLink* link = nullptr;
        void Write(const unsigned char* d, uint32_t n) override { link->Write(d, n); }
    } forward;
    RadioExchange exchange{forward};
    ScriptedLink link{exchange};
    Radio() { forward.link = &link; }
};

TEST(ReplyFraming, CrLfOkCrLf_CompletesAtSecondCarriageReturn) {
    Radio r;
    r.link.Reply("\r\nOK\r\n");
    EXPECT_TRUE(r.exchange.SendCommandExpectOk("cfg_bw 12.5\r"));
    EXPECT_EQ(r.exchange.ReplyBuffer(), "\rOK");
    EXPECT_EQ(r.exchange.ReplyLine(), "OK");
}

TEST(ReplyFraming, EchoThenEmptyLine_TakesTheTextAfterIt) {
    Radio r;
    r.link.Reply("cfg_ch_n\r\r\ncurrent channel 3\r\n");
    ASSERT_TRUE(r.exchange.SendCommand("cfg_ch_n\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), "current channel 3");
}

TEST(ReplyFraming, AckWithoutCarriageReturn_CompletesAtTheK) {
    Radio r;
    r.link.Reply("\r\nOK ACK");
    EXPECT_TRUE(r.exchange.SendCommandExpectOk("cfg_mode tx\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), "OK ACK");
}

TEST(ReplyFraming, AckNeedsAllThreeLetters) {
    Radio r;
    r.link.Reply("\r\nCK");
    EXPECT_FALSE(r.exchange.SendCommand("x\r"));
}

TEST(ReplyFraming, TextWithoutOpeningCarriageReturn_TimesOut) {
    Radio r;
    r.link.Reply("OK\n");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(r.exchange.SendCommand("control\r"));
    auto waited = std::chrono::steady_clock::now() - start;
    // The bound is 31 waits of 15 ms; the call must not return early.
    EXPECT_GE(waited, 460ms);
    EXPECT_EQ(r.exchange.ReplyBuffer(), "");
}

TEST(ReplyFraming, EmptyLinesNeitherOpenNorComplete) {
    Radio r;
    r.link.Reply("\r\r\r\n\rtext\r");
    ASSERT_TRUE(r.exchange.SendCommand("q\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), "text");
}

TEST(ReplyFraming, BytesAfterCompletionAreIgnored) {
    Radio r;
    r.link.Reply("\rfirst\rsecond\r");
    ASSERT_TRUE(r.exchange.SendCommand("q\r"));
    r.link.Drain();
    EXPECT_EQ(r.exchange.ReplyLine(), "first");
}

TEST(ReplyFraming, LineFeedsInsideTheTextAreDropped) {
    Radio r;
    r.link.Reply("\rcurr\nent\r");
    ASSERT_TRUE(r.exchange.SendCommand("q\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), "current");
}

TEST(ReplyFraming, OverlongReplyIsCutAtTheLimit) {
    Radio r;
    r.link.Reply("\r" + std::string(100000, 'x') + "\r");
    ASSERT_TRUE(r.exchange.SendCommand("q\r"));
    EXPECT_EQ(r.exchange.ReplyBuffer().size(), RadioExchange::kMaxReplyLength);
}

TEST(ReplyFraming, BinaryBytesAreKeptAsText) {
    Radio r;
    r.link.Reply(std::string("\r\x01\x00\xff", 4) + "OK\r");
    ASSERT_TRUE(r.exchange.SendCommandExpectOk("q\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), std::string("\x01\x00\xffOK", 5));
}

TEST(SendAndWait, ReplyWithoutOk_FailsExpectOk) {
    Radio r;
    r.link.Reply("\r\nERROR\r\n");
    EXPECT_FALSE(r.exchange.SendCommandExpectOk("cfg_pwrh 9\r"));
    EXPECT_TRUE(r.exchange.IsReplyComplete());
}

TEST(SendAndWait, SendsTheTextWithoutItsTerminator) {
    Radio r;
    r.link.Reply("\rOK\r");
    r.exchange.SendCommand("cfg_ch_n 3\r");
    ASSERT_EQ(r.link.Written().size(), 1u);
    EXPECT_EQ(r.link.Written()[0], "cfg_ch_n 3\r");
}

TEST(SendAndWait, RawBlockWithZeroBytesGoesOutWhole) {
    Radio r;
    r.link.Reply("\rwrite OK\r");
    const unsigned char page[4] = {0, 1, 0, 2};
    EXPECT_TRUE(r.exchange.SendAndWait(page, 4));
    EXPECT_EQ(r.link.Written()[0], std::string("\0\1\0\2", 4));
}

TEST(SendAndWait, WakesAsSoonAsTheReplyCompletes) {
    Radio r;
    r.link.Reply("\rOK\r", 40ms);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(r.exchange.SendCommand("q\r"));
    // Woken by the reply, not by the end of the bound (465 ms, never ended
    // before 460): all the time between is left to a busy machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 460ms);
}

TEST(SendAndWait, ReplyJustInsideTheBound_Succeeds) {
    Radio r;
    // Inside the bound of 465 ms by more than a busy machine's delay.
    r.link.Reply("\rOK\r", 250ms);
    EXPECT_TRUE(r.exchange.SendCommand("q\r"));
}

TEST(SendAndWait, LateReplyIsNotTakenForTheNextCommand) {
    Radio r;
    r.link.NoReply();
    r.link.Reply("\rcurrent channel 2\r", 100ms);
    EXPECT_FALSE(r.exchange.SendCommand("cfg_prtl\r"));
    r.link.Deliver("\rlate answer\r");  // after the first command has given up
    r.link.Drain();                     // the late answer lands in the buffer before the next send
    EXPECT_EQ(r.exchange.ReplyLine(), "late answer");
    ASSERT_TRUE(r.exchange.SendCommand("cfg_ch_n\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), "current channel 2");
}

TEST(SendAndWait, LateBytesBeforeTheNextSendAreCleared) {
    Radio r;
    r.link.NoReply();
    EXPECT_FALSE(r.exchange.SendCommand("a\r"));
    r.link.Deliver("\rstale\r");
    r.link.Drain();
    r.link.Reply("\rfresh\r", 20ms);
    ASSERT_TRUE(r.exchange.SendCommand("b\r"));
    EXPECT_EQ(r.exchange.ReplyLine(), "fresh");
}

}  // namespace

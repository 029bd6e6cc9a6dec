#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "radio/Outcome.h"

namespace {

constexpr int kKinds = static_cast<int>(OutcomeKind::FileError) + 1;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// An outcome on COM7 at 19200 whose command, reply and detail each show
// where a text names them.
Outcome Example(OutcomeKind kind, OutcomeAction action) {
    Outcome o = ReplyOutcome(kind, 7, 19200, "cfg_ch_n\r", "ERR 42");
    o.action = action;
    o.systemError = 1234;
    o.detail = "profile.cfg";
    o.done = 11;
    o.total = 26;
    o.mismatches = {{"local", "7", "8"}, {"destinetion", "9", "255"}, {"Low Power", " 5W", " 10W"}};
    return o;
}

TEST(DescribeOutcome, EveryKindInBothLanguagesSaysWhatItNames) {
    // What each kind's cause must show: P the port, R the rate, C the
    // command, A the reply, E the system error, D the detail, N the count of
    // differences; and nothing else of these.
    const char* const names[kKinds] = {
        "",     // Success
        "P",    // PortAbsent
        "P",    // PortInUse
        "PE",   // PortRefused
        "PRC",  // NoAnswer
        "PC",   // PortLost
        "CA",   // UnexpectedAnswer
        "CA",   // ValueRefused
        "D",    // CheckFailed
        "",     // Cancelled
        "N",    // VerifyMismatch
        "D",    // FileError
    };
    for (Language language : {Language::English, Language::Chinese}) {
        for (int k = 0; k < kKinds; ++k) {
            const OutcomeKind kind = static_cast<OutcomeKind>(k);
            for (OutcomeAction action : {OutcomeAction::Connect, OutcomeAction::Read, OutcomeAction::Write}) {
                SCOPED_TRACE(std::string(CauseWord(kind)) + " of " + ActionName(action) +
                             (language == Language::Chinese ? " in Chinese" : " in English"));
                const OutcomeText text = DescribeOutcome(Example(kind, action), language);
                if (kind == OutcomeKind::Success) {
                    EXPECT_EQ(text.cause, "");
                    EXPECT_EQ(text.next, "");
                    continue;
                }
                EXPECT_NE(text.cause, "");
                // A cancelled Connect or Read leaves nothing to do.
                if (kind != OutcomeKind::Cancelled || action == OutcomeAction::Write) {
                    EXPECT_NE(text.next, "");
                }
                const std::string n = names[k];
                const auto shows = [&n](char c) { return n.find(c) != std::string::npos; };
                EXPECT_EQ(Has(text.cause, "COM7"), shows('P'));
                EXPECT_EQ(Has(text.cause, "19200"), shows('R'));
                EXPECT_EQ(Has(text.cause, "cfg_ch_n"), shows('C'));
                EXPECT_EQ(Has(text.cause, "ERR 42"), shows('A'));
                EXPECT_EQ(Has(text.cause, "1234"), shows('E'));
                EXPECT_EQ(Has(text.cause, "profile.cfg"), shows('D'));
                if (shows('N')) {
                    EXPECT_TRUE(Has(text.cause, "3"));  // three differences
                }
            }
        }
    }
}

TEST(DescribeOutcome, ACancelledWriteSaysWhatTheRadioTookAndThatANewWriteIsNeeded) {
    for (OutcomeAction action : {OutcomeAction::Write, OutcomeAction::WriteAndVerify}) {
        const Outcome o = Example(OutcomeKind::Cancelled, action);
        const OutcomeText en = DescribeOutcome(o, Language::English);
        EXPECT_TRUE(Has(en.cause, "11") && Has(en.cause, "26")) << en.cause;
        EXPECT_TRUE(Has(en.next, "Write")) << en.next;
        const OutcomeText zh = DescribeOutcome(o, Language::Chinese);
        EXPECT_TRUE(Has(zh.cause, "11") && Has(zh.cause, "26")) << zh.cause;
        EXPECT_TRUE(Has(zh.next, "写入")) << zh.next;
    }
    // A cancelled Read changed nothing: it says so rather than asking for more.
    EXPECT_FALSE(
        Has(DescribeOutcome(Example(OutcomeKind::Cancelled, OutcomeAction::Read), Language::English).next, "Write"));
}

TEST(DescribeOutcome, AFirmwareFailureInTheBootLoaderSaysTheRadioWaitsThere) {
    for (OutcomeKind kind : {OutcomeKind::NoAnswer, OutcomeKind::PortLost, OutcomeKind::Cancelled}) {
        Outcome o = Example(kind, OutcomeAction::Firmware);
        const std::string outside = DescribeOutcome(o, Language::English).next;
        o.inBootLoader = true;
        EXPECT_TRUE(Has(DescribeOutcome(o, Language::English).next, "boot loader")) << CauseWord(kind);
        EXPECT_TRUE(Has(DescribeOutcome(o, Language::Chinese).next, "引导程序")) << CauseWord(kind);
        EXPECT_FALSE(Has(outside, "boot loader")) << CauseWord(kind);
    }
}

TEST(CauseWord, OnePerKindAndNoneShared) {
    std::set<std::string> words;
    for (int k = 0; k < kKinds; ++k) {
        const std::string word = CauseWord(static_cast<OutcomeKind>(k));
        EXPECT_NE(word, "") << k;
        EXPECT_TRUE(words.insert(word).second) << word;
    }
}

TEST(ResultText, CaptionAndSuffixByLanguage) {
    EXPECT_EQ(ComposeResultText("Read", true, Language::English), "Read Success");
    EXPECT_EQ(ComposeResultText("Write", false, Language::English), "Write Failure");
    EXPECT_EQ(ComposeResultText("读取", true, Language::Chinese), "读取成功");
    EXPECT_EQ(ComposeResultText("写入", false, Language::Chinese), "写入失败");
}

}  // namespace

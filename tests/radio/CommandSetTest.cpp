#include <gtest/gtest.h>

#include "radio/CommandSet.h"

using namespace CommandSet;

namespace {

TEST(ReplyParsing, CurrentChannelFromTheLastCharacter) {
    int pos = -5;
    ASSERT_TRUE(ParseCurrentChannel("current channel 3", pos));
    EXPECT_EQ(pos, 2);
    ASSERT_TRUE(ParseCurrentChannel("current channel 1", pos));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(ParseCurrentChannel("channel 3", pos));
}

TEST(ReplyParsing, ProtocolSearchOrderDecides) {
    EXPECT_EQ(ParseProtocol("TRIMTALK"), 0);
    EXPECT_EQ(ParseProtocol("protocol TRIMAXYZ"), 3);
    EXPECT_EQ(ParseProtocol("SOTH"), 4);
    EXPECT_EQ(ParseProtocol("TRANSMDS"), 1);
    EXPECT_EQ(ParseProtocol("HUACE"), 2);
    EXPECT_EQ(ParseProtocol("TRIMMK3"), 3);
    EXPECT_EQ(ParseProtocol("SOUTH"), 4);
    EXPECT_EQ(ParseProtocol("HI-TARGET"), 5);
    EXPECT_EQ(ParseProtocol("BURN-IN"), 6);
    EXPECT_EQ(ParseProtocol("TRANSEOT"), 7);
    EXPECT_EQ(ParseProtocol("SATEL"), 8);
    // Two names in one line: the earlier in the search order wins.
    EXPECT_EQ(ParseProtocol("SATEL TRIMTALK"), 0);
    EXPECT_EQ(ParseProtocol("trimtalk"), -1);
    EXPECT_EQ(ParseProtocol("UNKNOW"), -1);
}

TEST(ReplyParsing, PortBaudFirstMatchInOrder) {
    EXPECT_EQ(ParsePortBaud("9600"), 0);
    EXPECT_EQ(ParsePortBaud("baud 115200"), 4);
    EXPECT_EQ(ParsePortBaud("57600"), 3);
    EXPECT_EQ(ParsePortBaud("38400 19200"), 1);
    EXPECT_EQ(ParsePortBaud("4800"), -1);
}

TEST(ReplyParsing, LinkBaudLastFoundWins) {
    EXPECT_EQ(ParseLinkBaud("9600 19200"), " 19200");
    EXPECT_EQ(ParseLinkBaud("19200 4800"), " 19200");
    EXPECT_EQ(ParseLinkBaud("4800 9600"), " 9600");
    EXPECT_EQ(ParseLinkBaud("4800"), " 4800");
    EXPECT_EQ(ParseLinkBaud("UNKNOW"), "");
}

TEST(ReplyParsing, PowerIsALeadingNumberFromOneToThree) {
    EXPECT_EQ(ParsePowerValue(" 2"), 2);
    EXPECT_TRUE(IsValidPower(ParsePowerValue(" 2")));
    EXPECT_EQ(ParsePowerValue("4"), 4);
    EXPECT_FALSE(IsValidPower(4));
    EXPECT_EQ(ParsePowerValue("3W"), 3);
    EXPECT_EQ(ParsePowerValue("W3"), 0);
    EXPECT_FALSE(IsValidPower(0));
    EXPECT_EQ(ParsePowerValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParsePowerValue("-1"), -1);
}

TEST(ReplyParsing, ChannelFrequencyAfterTheDigitAndBlank) {
    std::string f;
    ASSERT_TRUE(ParseChannelFrequency("cfg_ch_3 415.50000", 3, f));
    EXPECT_EQ(f, "415.50000");
    ASSERT_TRUE(ParseChannelFrequency("ch 3 3 430.1", 3, f));
    EXPECT_EQ(f, "3 430.1");  // the first occurrence decides
    EXPECT_FALSE(ParseChannelFrequency("cfg_ch_3:415.5", 3, f));
    ASSERT_TRUE(ParseChannelFrequency("7 ", 7, f));
    EXPECT_EQ(f, "");
}

TEST(ReplyParsing, BandwidthAndWorkMode) {
    EXPECT_EQ(ParseBandwidth("12.5K"), 0);
    EXPECT_EQ(ParseBandwidth("25.0"), 1);
    EXPECT_EQ(ParseBandwidth("25"), -1);
    EXPECT_EQ(ParseWorkMode("mode tx"), 0);
    EXPECT_EQ(ParseWorkMode("duplex"), 1);
    EXPECT_EQ(ParseWorkMode("repeater"), 2);
    EXPECT_EQ(ParseWorkMode("TX"), -1);
}

}  // namespace

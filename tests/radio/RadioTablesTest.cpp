#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "radio/RadioTables.h"
#include "platform/DecimalText.h"

using namespace RadioTables;

namespace {

using Items = std::vector<std::string>;

TEST(FormatFrequency, GivesNineCharactersWithFiveDecimals) {
    EXPECT_EQ(FormatFrequency(415.5), "415.50000");
    EXPECT_EQ(FormatFrequency(410.0), "410.00000");
    EXPECT_EQ(FormatFrequency(470.0), "470.00000");
    EXPECT_EQ(FormatFrequency(433.123456), "433.12346");
    EXPECT_EQ(FormatFrequency(469.999996), "470.00000");
}

TEST(FormatFrequency, PadsSmallValuesWithZerosAfterTheSign) {
    EXPECT_EQ(FormatFrequency(0.0), "000.00000");
    EXPECT_EQ(FormatFrequency(5.25), "005.25000");
    EXPECT_EQ(FormatFrequency(-5.25), "-05.25000");
    EXPECT_EQ(FormatFrequency(12345.5), "12345.50000");
}

TEST(FormatFrequency, MatchesPrintfInTheCLocale) {
    for (double mhz : {410.000005, 415.000015, 433.33333, 455.555555, 469.12344999}) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%09.5f", mhz);
        EXPECT_EQ(FormatFrequency(mhz), expected) << mhz;
    }
}

TEST(ReadFrequency, ReadsTheLongestLeadingNumberAsAtofDoes) {
    EXPECT_DOUBLE_EQ(ReadFrequency("415.5"), 415.5);
    EXPECT_DOUBLE_EQ(ReadFrequency(" \t415.5 "), 415.5);
    EXPECT_DOUBLE_EQ(ReadFrequency("415abc"), 415.0);
    EXPECT_DOUBLE_EQ(ReadFrequency("415.25.5"), 415.25);
    EXPECT_DOUBLE_EQ(ReadFrequency("+420"), 420.0);
    EXPECT_DOUBLE_EQ(ReadFrequency("-420"), -420.0);
    EXPECT_DOUBLE_EQ(ReadFrequency(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadFrequency("415."), 415.0);
    EXPECT_DOUBLE_EQ(ReadFrequency("4.2e2"), 420.0);
    EXPECT_DOUBLE_EQ(ReadFrequency("42E+1x"), 420.0);
}

TEST(ReadFrequency, TextWithoutANumberReadsZero) {
    EXPECT_EQ(ReadFrequency(""), 0.0);
    EXPECT_EQ(ReadFrequency("   "), 0.0);
    EXPECT_EQ(ReadFrequency("abc"), 0.0);
    EXPECT_EQ(ReadFrequency("."), 0.0);
    EXPECT_EQ(ReadFrequency("-"), 0.0);
    EXPECT_EQ(ReadFrequency("- 415"), 0.0);
}

TEST(ReadFrequency, ExponentWithoutDigitsIsNotPartOfTheNumber) {
    EXPECT_DOUBLE_EQ(ReadFrequency("415e"), 415.0);
    EXPECT_DOUBLE_EQ(ReadFrequency("415e+"), 415.0);
    EXPECT_DOUBLE_EQ(ReadFrequency("415E-x"), 415.0);
}

TEST(ReadFrequency, NonNumbersNeverReadAsAValueInRange) {
    // atof would give NaN or infinity for these, or 410 for the hex form;
    // only decimal numbers are read.
    EXPECT_EQ(ReadFrequency("nan"), 0.0);
    EXPECT_EQ(ReadFrequency("inf"), 0.0);
    EXPECT_EQ(ReadFrequency("0x19A"), 0.0);
    EXPECT_TRUE(std::isinf(ReadFrequency("1e999")));
    EXPECT_EQ(ReadFrequency("1e-999"), 0.0);
}

TEST(ReadFrequency, IgnoresACommaDecimalLocale) {
    // ru_RU is among the locales the test machines are set up with.
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "German",
                           "fr_FR.UTF-8", "French",     "ru_RU.UTF-8",         "ru_RU.utf8"};
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* found = nullptr;
    for (const char* name : names) {
        char probe[16] = "";
        if (std::setlocale(LC_NUMERIC, name) && std::snprintf(probe, sizeof probe, "%.1f", 1.5) > 0 &&
            std::strchr(probe, ',')) {
            found = name;
            break;
        }
    }
    if (!found) {
        std::setlocale(LC_NUMERIC, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    }
    const double read = ReadFrequency("415.5");
    const std::string shown = FormatFrequency(415.5);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_DOUBLE_EQ(read, 415.5) << found;
    EXPECT_EQ(shown, "415.50000") << found;
}

TEST(ReadLeadingInt, FollowsAtoiAndSaturates) {
    EXPECT_EQ(ReadLeadingInt(" 42x"), 42);
    EXPECT_EQ(ReadLeadingInt("-5"), -5);
    EXPECT_EQ(ReadLeadingInt("abc"), 0);
    EXPECT_EQ(ReadLeadingInt(""), 0);
    EXPECT_EQ(ReadLeadingInt("2147483647"), 2147483647);
    EXPECT_EQ(ReadLeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadLeadingInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ReadLeadingInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(LinkBaudWireValue, ChosenByTheRateShown) {
    EXPECT_EQ(LinkBaudWireValue(" 4800"), 1);
    EXPECT_EQ(LinkBaudWireValue(" 9600"), 2);
    EXPECT_EQ(LinkBaudWireValue(" 19200"), 3);
    EXPECT_EQ(LinkBaudWireValue(" 2400"), 2400);
    EXPECT_EQ(LinkBaudWireValue("UNKNOW"), 0);
}

TEST(LinkBaudItems, EachProtocolOffersItsRates) {
    const Items all = {" 4800", " 9600", " 19200"};
    const Items low = {" 4800", " 9600"};
    const Items skip = {" 4800", " 19200"};
    const Items high = {" 9600", " 19200"};
    const Items expected[kProtocolCount] = {low, low, all, skip, all, skip, low, all, high};
    for (int p = 0; p < kProtocolCount; ++p) EXPECT_EQ(LinkBaudItems(p), expected[p]) << kProtocolItems[p];
    EXPECT_EQ(LinkBaudItems(-1), all);
    EXPECT_EQ(LinkBaudItems(kProtocolCount), all);
}

TEST(Tables, ItemsInTableOrderWithTheirLeadingSpace) {
    EXPECT_EQ(ProtocolList(), (Items{" TRIMTALK", " TRANSMDS", " HUACE", " TRIMMK3", " SOUTH", " HI-TARGET", " BURN-IN",
                                     " TRANSEOT", " SATEL"}));
    EXPECT_EQ(PortBaudList(), (Items{" 9600", " 19200", " 38400", " 57600", " 115200"}));
    EXPECT_EQ(BandwidthList(), (Items{" 12.5K", " 25.0K"}));
    EXPECT_EQ(HighPowerList(), (Items{" 35W", " 30W", " 25W"}));
    EXPECT_EQ(LowPowerList(), (Items{" 15W", " 10W", " 5W"}));
    EXPECT_EQ(WorkModeItems(Language::English), (Items{" TX only", " duplex", " repeater"}));
    EXPECT_STREQ(kBandwidthWire[1], "25.0");
    EXPECT_STREQ(kWorkModeWire[2], "repeater");
}

TEST(Tables, ChineseItemsAreUtf8) {
    const Items workModes = WorkModeItems(Language::Chinese);
    ASSERT_EQ(workModes.size(), 3u);
    EXPECT_EQ(workModes[0], "\xE5\x8D\x95\xE5\x8F\x91");  // 单发
    EXPECT_EQ(workModes[1], "收发一体");
    EXPECT_EQ(workModes[2], "中继");
    const Items channels = CurrentChannelItems(Language::Chinese);
    ASSERT_EQ(channels.size(), 8u);
    EXPECT_EQ(channels[0], "\x20\xE9\xA2\x91\xE9\x81\x93\x31");  // " 频道1"
    EXPECT_EQ(channels[7], " 频道8");
}

TEST(Tables, CurrentChannelItemsNameChannelsOneToEight) {
    const Items channels = CurrentChannelItems(Language::English);
    ASSERT_EQ(channels.size(), 8u);
    EXPECT_EQ(channels.front(), " Channel1");
    EXPECT_EQ(channels.back(), " Channel8");
}

TEST(Tables, DefaultFrequenciesAreValidAndKeepTheirValueInTextForm) {
    for (double mhz : DefaultFrequencyTable) {
        EXPECT_GE(mhz, kMinFrequency);
        EXPECT_LE(mhz, kMaxFrequency);
        EXPECT_EQ(ReadFrequency(FormatFrequency(mhz)), mhz);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include "platform/DecimalText.h"
#include "serial/PortSelection.h"

namespace {

TEST(PortSelection, PortNumberAfterTheFirstFourCharacters) {
    EXPECT_EQ(ParsePortNumber(" COM7"), 7);
    EXPECT_EQ(ParsePortNumber(" COM12"), 12);
    EXPECT_EQ(ParsePortNumber(" COM"), 0);
    EXPECT_EQ(ParsePortNumber(""), 0);
    EXPECT_EQ(ParsePortNumber("COM7"), 0);  // four characters: no number
    EXPECT_EQ(ParsePortNumber(" COMx"), 0);
    EXPECT_EQ(ParsePortNumber(" COM256"), 256);
    EXPECT_EQ(ParsePortNumber(" COM-3"), 0);
    EXPECT_EQ(ParsePortNumber(" COM99999999999999"), 2147483647);
}

TEST(PortSelection, RateIsTheLeadingNumber) {
    EXPECT_EQ(ParseBaudRate(" 38400"), 38400);
    EXPECT_EQ(ParseBaudRate(" 115200"), 115200);
    EXPECT_EQ(ParseBaudRate(""), 0);
    EXPECT_EQ(ParseBaudRate("-9600"), 0);
    EXPECT_EQ(ParseBaudRate("fast"), 0);
}

TEST(DecimalText, ReadsLikeAtoiButSaturates) {
    EXPECT_EQ(ReadLeadingInt("  42abc"), 42);
    EXPECT_EQ(ReadLeadingInt("-7"), -7);
    EXPECT_EQ(ReadLeadingInt("+7"), 7);
    EXPECT_EQ(ReadLeadingInt(""), 0);
    EXPECT_EQ(ReadLeadingInt("- 7"), 0);
    EXPECT_EQ(ReadLeadingInt("2147483647"), 2147483647);
    EXPECT_EQ(ReadLeadingInt("2147483648"), 2147483647);
    EXPECT_EQ(ReadLeadingInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ReadLeadingInt("-99999999999999999999999"), -2147483647 - 1);
}

}  // namespace

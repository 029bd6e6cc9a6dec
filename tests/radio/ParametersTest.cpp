// The settings a Write sends, built from the parameters' table. The values a
// whole Write shows in its sequence (RadioJobTest) are not repeated here:
// these are the ends of each list and the values that send nothing.
#include <gtest/gtest.h>

#include <string>

#include "radio/Parameters.h"
#include "radio/RadioConfig.h"

namespace {

class ParameterSettingTest : public ::testing::Test {
protected:
    ParameterSettingTest() { RadioConfig::FillParameterLists(s, Language::English); }

    // What a Write sends for the list at `position`; empty when nothing.
    std::string SettingAt(ListField list, int position) {
        s.List(list).selection = position;
        const Parameter& row = ParameterOf(list);
        return row.Setting(0, row.wire(row, s, 0));
    }
    std::string SettingOf(TextField field, const std::string& text) {
        s.Text(field) = text;
        const Parameter& row = ParameterOf(field);
        return row.Setting(0, row.wire(row, s, 0));
    }

    RadioSettings s;
};

TEST_F(ParameterSettingTest, PositionsGoOutPlusOne) {
    EXPECT_EQ(SettingAt(ListField::CurrentChannel, 0), "cfg_ch_n 1\r");
    EXPECT_EQ(SettingAt(ListField::CurrentChannel, 7), "cfg_ch_n 8\r");
    EXPECT_EQ(SettingAt(ListField::PortBaudRate, 0), "cfg_sbau 1\r");
    EXPECT_EQ(SettingAt(ListField::PortBaudRate, 4), "cfg_sbau 5\r");
    EXPECT_EQ(SettingAt(ListField::Protocol, 0), "cfg_prtl 1\r");
    EXPECT_EQ(SettingAt(ListField::Protocol, 8), "cfg_prtl 9\r");
    EXPECT_EQ(SettingAt(ListField::HighPower, 2), "cfg_pwrh 3\r");
    EXPECT_EQ(SettingAt(ListField::LowPower, 0), "cfg_pwrl 1\r");
    EXPECT_EQ(SettingAt(ListField::HighPower, -1), "");
}

TEST_F(ParameterSettingTest, LinkBaudGoesOutByTheRateShown) {
    s.List(ListField::LinkBaudRate).Fill({" 4800", " 9600", " 38400"});
    EXPECT_EQ(SettingAt(ListField::LinkBaudRate, 0), "cfg_baud 1\r");
    EXPECT_EQ(SettingAt(ListField::LinkBaudRate, 1), "cfg_baud 2\r");
    EXPECT_EQ(SettingAt(ListField::LinkBaudRate, 2), "cfg_baud 38400\r");
    EXPECT_EQ(SettingAt(ListField::LinkBaudRate, -1), "");
}

TEST_F(ParameterSettingTest, BandwidthAndWorkModeAsTextAndNothingPastTheirTables) {
    EXPECT_EQ(SettingAt(ListField::Bandwidth, 0), "cfg_bw 12.5\r");
    EXPECT_EQ(SettingAt(ListField::Bandwidth, -1), "");
    EXPECT_EQ(SettingAt(ListField::Bandwidth, 2), "");
    EXPECT_EQ(SettingAt(ListField::WorkMode, 0), "cfg_mode tx\r");
    EXPECT_EQ(SettingAt(ListField::WorkMode, 1), "cfg_mode duplex\r");
    EXPECT_EQ(SettingAt(ListField::WorkMode, 3), "");
}

TEST_F(ParameterSettingTest, AddressesAsTheirText) {
    EXPECT_EQ(SettingOf(TextField::Src, "0"), "cfg_srcx 0\r");
    EXPECT_EQ(SettingOf(TextField::Dst, "255"), "cfg_dstx 255\r");
}

// Every field has its own row: a field without one would be read, written
// and stored as another.
TEST(ParameterTable, EveryFieldHasItsRow) {
    for (size_t i = 0; i < kListFieldCount; ++i) {
        const ListField list = static_cast<ListField>(i);
        EXPECT_EQ(ParameterOf(list).kind, ParameterKind::List) << i;
        EXPECT_EQ(ParameterOf(list).list, list) << i;
    }
    for (size_t i = 0; i < kTextFieldCount; ++i) {
        const TextField field = static_cast<TextField>(i);
        EXPECT_EQ(ParameterOf(field).kind, ParameterKind::Text) << i;
        EXPECT_EQ(ParameterOf(field).field, field) << i;
    }
    for (Group group : {Group::Transmit, Group::Receive}) {
        EXPECT_EQ(ParameterOf(group).kind, ParameterKind::Frequencies);
        EXPECT_EQ(ParameterOf(group).group, group);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"

namespace {

using Strings = std::vector<std::string>;

enum Protocol { TRIMTALK, TRANSMDS, HUACE, TRIMMK3, SOUTH, HI_TARGET, BURN_IN, TRANSEOT, SATEL };
constexpr int kNarrow = 0;  // 12.5 kHz
constexpr int kWide = 1;    // 25.0 kHz

class LinkRateTest : public ::testing::Test {
protected:
    LinkRateTest() { RadioConfig::FillParameterLists(s, Language::English); }

    void Select(ListField list, int position) { RadioConfig::Select(s, list, position); }
    const ListValue& link() const { return s.List(ListField::LinkBaudRate); }
    std::string SelectedRate() const { return link().ShownText(); }

    void ExpectLocked(const std::string& rate) const {
        EXPECT_EQ(SelectedRate(), rate);
        EXPECT_FALSE(link().mouseEnabled);
        EXPECT_TRUE(link().greyed);
    }

    void ExpectFree(int selection) const {
        EXPECT_EQ(link().selection, selection);
        EXPECT_TRUE(link().mouseEnabled);
        EXPECT_FALSE(link().greyed);
    }

    RadioSettings s;
};

TEST_F(LinkRateTest, FillGivesEveryListItsItemsAndLocksTheLinkRate) {
    EXPECT_EQ(s.List(ListField::Protocol).items, RadioTables::ProtocolList());
    EXPECT_EQ(s.List(ListField::CurrentChannel).items, RadioTables::CurrentChannelItems(Language::English));
    EXPECT_EQ(s.List(ListField::PortBaudRate).items, RadioTables::PortBaudList());
    EXPECT_EQ(s.List(ListField::Bandwidth).items, RadioTables::BandwidthList());
    EXPECT_EQ(s.List(ListField::WorkMode).items, RadioTables::WorkModeItems(Language::English));
    EXPECT_EQ(s.List(ListField::HighPower).items, RadioTables::HighPowerList());
    EXPECT_EQ(s.List(ListField::LowPower).items, RadioTables::LowPowerList());
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600", " 19200"}));
    for (const ListValue& list : s.lists) EXPECT_EQ(list.selection, -1);
    EXPECT_FALSE(link().mouseEnabled);
    EXPECT_TRUE(link().greyed);
}

TEST_F(LinkRateTest, RefillInChineseClearsSelectionsAndLocksTheLinkRateAgain) {
    Select(ListField::Bandwidth, kWide);
    Select(ListField::Protocol, HUACE);
    Select(ListField::WorkMode, 1);
    ASSERT_TRUE(link().mouseEnabled);

    RadioConfig::FillParameterLists(s, Language::Chinese);
    EXPECT_EQ(s.List(ListField::CurrentChannel).items[0], " 频道1");
    EXPECT_EQ(s.List(ListField::WorkMode).items, (Strings{"单发", "收发一体", "中继"}));
    for (const ListValue& list : s.lists) EXPECT_EQ(list.selection, -1);
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600", " 19200"}));
    EXPECT_FALSE(link().mouseEnabled);
    EXPECT_TRUE(link().greyed);
}

// One row of the rule's table: the protocol's list, and what each bandwidth gives.
struct RuleRow {
    Protocol protocol;
    Strings items;
    const char* narrow;
    const char* wide;  // nullptr: free choice at 25.0 kHz
};

const RuleRow kRuleTable[] = {
    {TRIMTALK, {" 4800", " 9600"}, " 4800", " 9600"},        {TRANSMDS, {" 4800", " 9600"}, " 4800", " 9600"},
    {HUACE, {" 4800", " 9600", " 19200"}, " 4800", nullptr}, {TRIMMK3, {" 4800", " 19200"}, " 4800", " 19200"},
    {SOUTH, {" 4800", " 9600", " 19200"}, " 4800", nullptr}, {HI_TARGET, {" 4800", " 19200"}, " 4800", " 19200"},
    {BURN_IN, {" 4800", " 9600"}, " 4800", " 9600"},         {TRANSEOT, {" 4800", " 9600", " 19200"}, " 4800", nullptr},
    {SATEL, {" 9600", " 19200"}, " 9600", " 19200"},
};

TEST(LinkRateRule, EveryProtocolAtBothBandwidthsInEitherOrder) {
    for (const RuleRow& row : kRuleTable) {
        for (int bandwidth : {kNarrow, kWide}) {
            for (bool bandwidthFirst : {true, false}) {
                SCOPED_TRACE(std::string(RadioTables::kProtocolItems[row.protocol]) + " bandwidth " +
                             std::to_string(bandwidth) + (bandwidthFirst ? " chosen first" : " chosen last"));
                RadioSettings s;
                RadioConfig::FillParameterLists(s, Language::English);
                if (bandwidthFirst) RadioConfig::Select(s, ListField::Bandwidth, bandwidth);
                RadioConfig::Select(s, ListField::Protocol, row.protocol);
                if (!bandwidthFirst) RadioConfig::Select(s, ListField::Bandwidth, bandwidth);

                const ListValue& link = s.List(ListField::LinkBaudRate);
                EXPECT_EQ(link.items, row.items);
                const char* locked = bandwidth == kNarrow ? row.narrow : row.wide;
                if (locked) {
                    EXPECT_EQ(link.ShownText(), locked);
                    EXPECT_EQ(link.selection, bandwidth);
                    EXPECT_FALSE(link.mouseEnabled);
                    EXPECT_TRUE(link.greyed);
                } else {
                    EXPECT_EQ(link.selection, -1);
                    EXPECT_TRUE(link.mouseEnabled);
                    EXPECT_FALSE(link.greyed);
                }
            }
        }
    }
}

TEST_F(LinkRateTest, ProtocolChangeFromAChosenRateLocksTheNewProtocolsRate) {
    Select(ListField::Bandwidth, kWide);
    Select(ListField::Protocol, HUACE);
    Select(ListField::LinkBaudRate, 2);
    ExpectFree(2);
    EXPECT_EQ(SelectedRate(), " 19200");

    Select(ListField::Protocol, TRIMTALK);
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600"}));
    ExpectLocked(" 9600");
}

TEST_F(LinkRateTest, BandwidthTogglingReappliesTheRuleEachTime) {
    Select(ListField::Protocol, HUACE);
    Select(ListField::Bandwidth, kWide);
    Select(ListField::LinkBaudRate, 2);
    Select(ListField::Bandwidth, kNarrow);
    ExpectLocked(" 4800");
    Select(ListField::Bandwidth, kWide);
    ExpectFree(0);  // released, the locked rate stays chosen
    Select(ListField::Bandwidth, kNarrow);
    ExpectLocked(" 4800");

    Select(ListField::Protocol, SATEL);
    ExpectLocked(" 9600");
    Select(ListField::Bandwidth, kWide);
    ExpectLocked(" 19200");
    Select(ListField::Bandwidth, kNarrow);
    ExpectLocked(" 9600");
}

TEST_F(LinkRateTest, WithoutBandwidthNothingChanges) {
    Select(ListField::Protocol, SATEL);
    EXPECT_EQ(link().items, (Strings{" 9600", " 19200"}));
    EXPECT_EQ(link().selection, -1);

    s.List(ListField::LinkBaudRate).mouseEnabled = true;
    s.List(ListField::LinkBaudRate).greyed = false;
    const RadioSettings before = s;
    RadioConfig::applyLinkRateRule(s);
    EXPECT_EQ(s, before);
}

TEST_F(LinkRateTest, UnknownProtocolTextOnlyGreysTheRow) {
    Select(ListField::Bandwidth, kWide);
    Select(ListField::Protocol, HUACE);
    Select(ListField::LinkBaudRate, 2);
    ListValue& protocol = s.List(ListField::Protocol);
    protocol.shownOver = " UNKNOW";
    protocol.hasShownOver = true;

    Select(ListField::Bandwidth, kNarrow);
    EXPECT_EQ(link().selection, 2);
    EXPECT_TRUE(link().mouseEnabled);
    EXPECT_TRUE(link().greyed);
    Select(ListField::Bandwidth, kWide);
    EXPECT_EQ(link().selection, 2);
    EXPECT_TRUE(link().mouseEnabled);
    EXPECT_TRUE(link().greyed);
    EXPECT_EQ(link().items.size(), 3u);
}

// A Read of a protocol this tool does not know leaves " UNKNOW" over the
// list; the protocol chosen next is known while its rules run, and the text
// over the list gives way to it afterwards.
TEST_F(LinkRateTest, ChoosingAProtocolOverAnUnknownOneAppliesTheRule) {
    Select(ListField::Bandwidth, kNarrow);
    Select(ListField::Protocol, HUACE);
    s.List(ListField::Protocol).shownOver = " UNKNOW";
    s.List(ListField::Protocol).hasShownOver = true;
    Select(ListField::Protocol, SATEL);
    EXPECT_EQ(link().items, (Strings{" 9600", " 19200"}));
    ExpectLocked(" 9600");
    EXPECT_EQ(s.List(ListField::Protocol).ShownText(), " SATEL");
}

TEST_F(LinkRateTest, ProtocolChangedWithoutSelectionOffersTheInitialRates) {
    Select(ListField::Bandwidth, kNarrow);
    Select(ListField::Protocol, SATEL);
    s.List(ListField::Protocol).selection = -1;
    RadioConfig::protocolChanged(s);
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600", " 19200"}));
    EXPECT_EQ(link().selection, -1);
}

TEST_F(LinkRateTest, ReselectingOrClearingTheProtocolLeavesTheLinkListAlone) {
    Select(ListField::Bandwidth, kWide);
    Select(ListField::Protocol, SOUTH);
    Select(ListField::LinkBaudRate, 1);

    Select(ListField::Protocol, SOUTH);
    Select(ListField::Protocol, -1);
    EXPECT_EQ(s.List(ListField::Protocol).selection, -1);
    EXPECT_EQ(link().items.size(), 3u);
    ExpectFree(1);
}

TEST(ComboSelect, ClampsLikeTheWindowsComboBox) {
    RadioSettings s;
    s.List(ListField::PortBaudRate).Fill(RadioTables::PortBaudList());
    RadioConfig::Select(s, ListField::PortBaudRate, 9);
    EXPECT_EQ(s.Selection(ListField::PortBaudRate), 4);
    EXPECT_EQ(s.List(ListField::PortBaudRate).ShownText(), " 115200");
    RadioConfig::Select(s, ListField::PortBaudRate, -3);
    EXPECT_EQ(s.Selection(ListField::PortBaudRate), -1);
    EXPECT_EQ(s.List(ListField::PortBaudRate).ShownText(), "");

    s.List(ListField::LinkBaudRate).Fill({"UNKNOW"});
    RadioConfig::Select(s, ListField::LinkBaudRate, 1);
    EXPECT_EQ(s.Selection(ListField::LinkBaudRate), 0);
    s.List(ListField::LinkBaudRate).Fill({});
    RadioConfig::Select(s, ListField::LinkBaudRate, 0);
    EXPECT_EQ(s.Selection(ListField::LinkBaudRate), -1);
    EXPECT_EQ(s.List(ListField::LinkBaudRate).ItemText(0), "");
}

// A text shown over a list stays when its selected position is selected
// again, and gives way when the selection changes or the items are replaced.
TEST(ComboSelect, TextShownOverTheListUntilTheSelectionChanges) {
    RadioSettings s;
    ListValue& port = s.List(ListField::PortBaudRate);
    port.Fill(RadioTables::PortBaudList());
    RadioConfig::Select(s, ListField::PortBaudRate, 1);
    port.shownOver = " UNKNOW";
    port.hasShownOver = true;
    RadioConfig::Select(s, ListField::PortBaudRate, 1);
    EXPECT_EQ(port.ShownText(), " UNKNOW");
    RadioConfig::Select(s, ListField::PortBaudRate, -1);
    EXPECT_EQ(port.ShownText(), "");
    port.shownOver = " UNKNOW";
    port.hasShownOver = true;
    port.Fill(RadioTables::PortBaudList());
    EXPECT_EQ(port.ShownText(), "");
}

}  // namespace

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"
#include "testkit/FakeConfigView.h"

namespace {

using RadioTables::kDisabledColour;
using RadioTables::kLabelColour;
using Strings = std::vector<std::string>;

enum Protocol { TRIMTALK, TRANSMDS, HUACE, TRIMMK3, SOUTH, HI_TARGET, BURN_IN, TRANSEOT, SATEL };
constexpr int kNarrow = 0;  // 12.5 kHz
constexpr int kWide = 1;    // 25.0 kHz

class LinkRateTest : public ::testing::Test {
protected:
    LinkRateTest() : config(view) {
        view.config = &config;
        config.FillParameterLists();
    }

    const FakeConfigView::List& link() const { return view.list(ListField::LinkBaudRate); }
    std::string SelectedRate() const { return view.GetShownText(ListField::LinkBaudRate); }

    void ExpectLocked(const std::string& rate) const {
        EXPECT_EQ(SelectedRate(), rate);
        EXPECT_FALSE(link().mouseEnabled);
        EXPECT_EQ(link().labelColour, kDisabledColour);
        EXPECT_EQ(link().textColour, std::optional<uint32_t>(kDisabledColour));
    }

    void ExpectFree(int selection) const {
        EXPECT_EQ(link().selection, selection);
        EXPECT_TRUE(link().mouseEnabled);
        EXPECT_EQ(link().labelColour, kLabelColour);
        EXPECT_FALSE(link().textColour.has_value());
    }

    FakeConfigView view;
    RadioConfig config;
};

TEST_F(LinkRateTest, FillGivesEveryListItsItemsAndLocksTheLinkRate) {
    EXPECT_EQ(view.list(ListField::Protocol).items, RadioTables::ProtocolList());
    EXPECT_EQ(view.list(ListField::CurrentChannel).items, RadioTables::CurrentChannelItems(Language::English));
    EXPECT_EQ(view.list(ListField::PortBaudRate).items, RadioTables::PortBaudList());
    EXPECT_EQ(view.list(ListField::Bandwidth).items, RadioTables::BandwidthList());
    EXPECT_EQ(view.list(ListField::WorkMode).items, RadioTables::WorkModeItems(Language::English));
    EXPECT_EQ(view.list(ListField::HighPower).items, RadioTables::HighPowerList());
    EXPECT_EQ(view.list(ListField::LowPower).items, RadioTables::LowPowerList());
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600", " 19200"}));
    for (const auto& list : view.lists) EXPECT_EQ(list.selection, -1);
    EXPECT_EQ(link().selection, -1);
    EXPECT_FALSE(link().mouseEnabled);
    EXPECT_EQ(link().labelColour, kDisabledColour);
    EXPECT_TRUE(view.events.empty());
}

TEST_F(LinkRateTest, RefillInChineseClearsSelectionsAndLocksTheLinkRateAgain) {
    view.SelectItem(ListField::Bandwidth, kWide);
    view.SelectItem(ListField::Protocol, HUACE);
    view.SelectItem(ListField::WorkMode, 1);
    ASSERT_TRUE(link().mouseEnabled);

    view.language = Language::Chinese;
    config.FillParameterLists();
    EXPECT_EQ(view.list(ListField::CurrentChannel).items[0], " 频道1");
    EXPECT_EQ(view.list(ListField::WorkMode).items, (Strings{"单发", "收发一体", "中继"}));
    for (const auto& list : view.lists) EXPECT_EQ(list.selection, -1);
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600", " 19200"}));
    EXPECT_FALSE(link().mouseEnabled);
    EXPECT_EQ(link().labelColour, kDisabledColour);
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
                FakeConfigView view;
                RadioConfig config(view);
                view.config = &config;
                config.FillParameterLists();
                if (bandwidthFirst) view.SelectItem(ListField::Bandwidth, bandwidth);
                view.SelectItem(ListField::Protocol, row.protocol);
                if (!bandwidthFirst) view.SelectItem(ListField::Bandwidth, bandwidth);

                const FakeConfigView::List& link = view.list(ListField::LinkBaudRate);
                EXPECT_EQ(link.items, row.items);
                const char* locked = bandwidth == kNarrow ? row.narrow : row.wide;
                if (locked) {
                    EXPECT_EQ(link.shownText, locked);
                    EXPECT_EQ(link.selection, bandwidth);
                    EXPECT_FALSE(link.mouseEnabled);
                    EXPECT_EQ(link.labelColour, kDisabledColour);
                    EXPECT_EQ(link.textColour, std::optional<uint32_t>(kDisabledColour));
                } else {
                    EXPECT_EQ(link.selection, -1);
                    EXPECT_TRUE(link.mouseEnabled);
                    EXPECT_EQ(link.labelColour, kLabelColour);
                    EXPECT_FALSE(link.textColour.has_value());
                }
            }
        }
    }
}

TEST_F(LinkRateTest, ProtocolChangeFromAChosenRateLocksTheNewProtocolsRate) {
    view.SelectItem(ListField::Bandwidth, kWide);
    view.SelectItem(ListField::Protocol, HUACE);
    view.SelectItem(ListField::LinkBaudRate, 2);
    ExpectFree(2);
    EXPECT_EQ(SelectedRate(), " 19200");

    view.SelectItem(ListField::Protocol, TRIMTALK);
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600"}));
    ExpectLocked(" 9600");
}

TEST_F(LinkRateTest, BandwidthTogglingReappliesTheRuleEachTime) {
    view.SelectItem(ListField::Protocol, HUACE);
    view.SelectItem(ListField::Bandwidth, kWide);
    view.SelectItem(ListField::LinkBaudRate, 2);
    view.SelectItem(ListField::Bandwidth, kNarrow);
    ExpectLocked(" 4800");
    view.SelectItem(ListField::Bandwidth, kWide);
    ExpectFree(0);  // released, the locked rate stays chosen
    view.SelectItem(ListField::Bandwidth, kNarrow);
    ExpectLocked(" 4800");

    view.SelectItem(ListField::Protocol, SATEL);
    ExpectLocked(" 9600");
    view.SelectItem(ListField::Bandwidth, kWide);
    ExpectLocked(" 19200");
    view.SelectItem(ListField::Bandwidth, kNarrow);
    ExpectLocked(" 9600");
}

TEST_F(LinkRateTest, WithoutBandwidthNothingChanges) {
    view.SelectItem(ListField::Protocol, SATEL);
    EXPECT_EQ(link().items, (Strings{" 9600", " 19200"}));
    EXPECT_EQ(link().selection, -1);

    view.SetListMouseEnabled(ListField::LinkBaudRate, true);
    view.ResetRowColour(ListField::LinkBaudRate, 0x123456);
    view.ClearRecords();
    config.applyLinkRateRule();
    EXPECT_TRUE(link().mouseEnabled);
    EXPECT_EQ(link().labelColour, 0x123456u);
    EXPECT_FALSE(link().textColour.has_value());
    EXPECT_EQ(link().selection, -1);
    EXPECT_TRUE(view.events.empty());
}

TEST_F(LinkRateTest, UnknownProtocolTextOnlyGreysTheRow) {
    view.SelectItem(ListField::Bandwidth, kWide);
    view.SelectItem(ListField::Protocol, HUACE);
    view.SelectItem(ListField::LinkBaudRate, 2);
    view.SetShownText(ListField::Protocol, " UNKNOW");
    view.ClearRecords();

    view.SelectItem(ListField::Bandwidth, kNarrow);
    EXPECT_EQ(link().selection, 2);
    EXPECT_TRUE(link().mouseEnabled);
    EXPECT_EQ(link().labelColour, kDisabledColour);
    view.SelectItem(ListField::Bandwidth, kWide);
    EXPECT_EQ(link().selection, 2);
    EXPECT_TRUE(link().mouseEnabled);
    EXPECT_EQ(link().labelColour, kDisabledColour);
    EXPECT_TRUE(view.SelectionsOf(ListField::LinkBaudRate).empty());
}

// A Read of a protocol this tool does not know leaves " UNKNOW" over the
// list; the protocol chosen next is known while its event runs.
TEST_F(LinkRateTest, ChoosingAProtocolOverAnUnknownOneAppliesTheRule) {
    view.SelectItem(ListField::Bandwidth, kNarrow);
    view.SelectItem(ListField::Protocol, HUACE);
    view.SetShownText(ListField::Protocol, " UNKNOW");
    view.SelectItem(ListField::Protocol, SATEL);
    EXPECT_EQ(link().items, (Strings{" 9600", " 19200"}));
    ExpectLocked(" 9600");
}

TEST_F(LinkRateTest, ProtocolChangedWithoutSelectionOffersTheInitialRates) {
    view.SelectItem(ListField::Bandwidth, kNarrow);
    view.SelectItem(ListField::Protocol, SATEL);
    view.list(ListField::Protocol).selection = -1;
    view.list(ListField::Protocol).shownText.clear();
    config.protocolChanged();
    EXPECT_EQ(link().items, (Strings{" 4800", " 9600", " 19200"}));
    EXPECT_EQ(link().selection, -1);
}

TEST_F(LinkRateTest, ReselectingOrClearingTheProtocolLeavesTheLinkListAlone) {
    view.SelectItem(ListField::Bandwidth, kWide);
    view.SelectItem(ListField::Protocol, SOUTH);
    view.SelectItem(ListField::LinkBaudRate, 1);
    view.ClearRecords();

    view.SelectItem(ListField::Protocol, SOUTH);
    view.SelectItem(ListField::Protocol, -1);
    EXPECT_EQ(view.list(ListField::Protocol).selection, -1);
    EXPECT_EQ(link().items.size(), 3u);
    ExpectFree(1);
    EXPECT_TRUE(view.events.empty());
}

TEST_F(LinkRateTest, EventsArriveInTheOrderTheyHappen) {
    view.SelectItem(ListField::Bandwidth, kNarrow);
    view.SelectItem(ListField::Protocol, TRIMMK3);
    EXPECT_EQ(view.SelectionsOf(ListField::Bandwidth), std::vector<int>{kNarrow});
    EXPECT_EQ(view.SelectionsOf(ListField::Protocol), std::vector<int>{TRIMMK3});
    EXPECT_EQ(view.SelectionsOf(ListField::LinkBaudRate), std::vector<int>{0});
    ASSERT_EQ(view.events.size(), 3u);
    EXPECT_EQ(view.events[1].list, ListField::Protocol);  // the link selection follows inside it
    EXPECT_EQ(view.events[2].list, ListField::LinkBaudRate);
}

TEST(FakeConfigViewCombo, SelectionClampsLikeTheWindowsComboBox) {
    FakeConfigView view;
    view.FillList(ListField::PortBaudRate, RadioTables::PortBaudList());
    view.SelectItem(ListField::PortBaudRate, 9);
    EXPECT_EQ(view.GetSelection(ListField::PortBaudRate), 4);
    EXPECT_EQ(view.GetShownText(ListField::PortBaudRate), " 115200");
    view.SelectItem(ListField::PortBaudRate, 4);
    view.SelectItem(ListField::PortBaudRate, -3);
    EXPECT_EQ(view.GetSelection(ListField::PortBaudRate), -1);
    EXPECT_EQ(view.GetShownText(ListField::PortBaudRate), "");
    EXPECT_EQ(view.SelectionsOf(ListField::PortBaudRate), std::vector<int>{4});

    view.FillList(ListField::LinkBaudRate, {"UNKNOW"});
    view.SelectItem(ListField::LinkBaudRate, 1);
    EXPECT_EQ(view.GetSelection(ListField::LinkBaudRate), 0);
    view.FillList(ListField::LinkBaudRate, {});
    view.SelectItem(ListField::LinkBaudRate, 0);
    EXPECT_EQ(view.GetSelection(ListField::LinkBaudRate), -1);
    EXPECT_EQ(view.GetItemText(ListField::LinkBaudRate, 0), "");
}

}  // namespace

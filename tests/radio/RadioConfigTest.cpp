#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"
#include "testkit/FakeConfigView.h"

namespace {

using Kind = FakeConfigView::Event::Kind;
using Strings = std::vector<std::string>;

class RadioConfigTest : public ::testing::Test {
protected:
    RadioConfigTest() : config(view) {
        view.config = &config;
        config.FillParameterLists();
    }

    // Every channel row valid and every list chosen: a record a write accepts.
    void FillValidRecord() {
        for (int row = 1; row <= 8; ++row) view.tx[row] = view.rx[row] = "435.00000";
        for (ListField list : {ListField::Protocol, ListField::CurrentChannel, ListField::PortBaudRate,
                               ListField::Bandwidth, ListField::WorkMode, ListField::HighPower, ListField::LowPower})
            view.SelectItem(list, 0);
        view.SelectItem(ListField::LinkBaudRate, 0);
        view.ClearRecords();
    }

    FakeConfigView view;
    RadioConfig config;
};

// --- validateFrequencyField -------------------------------------------------

TEST_F(RadioConfigTest, ValidateAcceptsTheUpperLimitInNormalForm) {
    view.tx[3] = "470";
    EXPECT_TRUE(config.validateFrequencyField(Group::Transmit, 3));
    EXPECT_EQ(view.tx[3], "470.00000");
    EXPECT_TRUE(view.errors.empty());
    EXPECT_TRUE(view.focusRequests.empty());
}

TEST_F(RadioConfigTest, ValidateRejectsJustAboveTheUpperLimitAndGivesTheFocusBack) {
    view.tx[3] = "470.00001";
    EXPECT_FALSE(config.validateFrequencyField(Group::Transmit, 3));
    EXPECT_EQ(view.errors, Strings{"TX Channel3: Invalid!"});
    ASSERT_EQ(view.events.size(), 2u);
    EXPECT_EQ(view.events[0].kind, Kind::Error);
    EXPECT_EQ(view.events[1].kind, Kind::Focus);
    EXPECT_EQ(view.events[1].group, Group::Transmit);
    EXPECT_EQ(view.events[1].row, 3);
    EXPECT_EQ(view.tx[3], "470.00001");  // the typed text stays
}

TEST_F(RadioConfigTest, ValidateRejectsJustBelowTheLowerLimitInTheReceiveGroup) {
    view.rx[0] = "409.99999";
    EXPECT_FALSE(config.validateFrequencyField(Group::Receive, 0));
    EXPECT_EQ(view.errors, Strings{"RX Channel0: Invalid!"});
    ASSERT_EQ(view.focusRequests.size(), 1u);
    EXPECT_EQ(view.focusRequests[0].group, Group::Receive);
    EXPECT_EQ(view.focusRequests[0].row, 0);
    EXPECT_EQ(view.rx[0], "409.99999");
}

TEST_F(RadioConfigTest, ValidateNormalisesBlanksAndTrailingText) {
    view.rx[9] = " 415.5 ";
    view.tx[1] = "415abc";
    view.tx[2] = "410";
    EXPECT_TRUE(config.validateFrequencyField(Group::Receive, 9));
    EXPECT_TRUE(config.validateFrequencyField(Group::Transmit, 1));
    EXPECT_TRUE(config.validateFrequencyField(Group::Transmit, 2));
    EXPECT_EQ(view.rx[9], "415.50000");
    EXPECT_EQ(view.tx[1], "415.00000");
    EXPECT_EQ(view.tx[2], "410.00000");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(RadioConfigTest, ValidateRejectsTextWithoutANumber) {
    for (const char* text : {"abc", "nan", "0x19A", "\t"}) {
        view.ClearRecords();
        view.tx[4] = text;
        EXPECT_FALSE(config.validateFrequencyField(Group::Transmit, 4)) << text;
        EXPECT_EQ(view.errors, Strings{"TX Channel4: Invalid!"}) << text;
        EXPECT_EQ(view.tx[4], text);
    }
}

TEST_F(RadioConfigTest, ValidateAcceptsAnEmptyOrBlankFieldUnchanged) {
    view.tx[5] = "";
    view.rx[5] = "   ";
    EXPECT_TRUE(config.validateFrequencyField(Group::Transmit, 5));
    EXPECT_TRUE(config.validateFrequencyField(Group::Receive, 5));
    EXPECT_EQ(view.tx[5], "");
    EXPECT_EQ(view.rx[5], "   ");
    EXPECT_TRUE(view.events.empty());
}

TEST_F(RadioConfigTest, ValidateOfARowOutsideTheGroupRequestsNothing) {
    EXPECT_FALSE(config.validateFrequencyField(Group::Transmit, 10));
    EXPECT_FALSE(config.validateFrequencyField(Group::Receive, -1));
    EXPECT_TRUE(view.events.empty());
}

TEST_F(RadioConfigTest, ValidateSpeaksChinese) {
    view.language = Language::Chinese;
    view.tx[3] = "500";
    view.rx[0] = "1";
    EXPECT_FALSE(config.validateFrequencyField(Group::Transmit, 3));
    EXPECT_FALSE(config.validateFrequencyField(Group::Receive, 0));
    EXPECT_EQ(view.errors, (Strings{"发射频道3: 无效！", "接收频道0: 无效！"}));
}

// --- checkChannelFrequencies ------------------------------------------------

TEST_F(RadioConfigTest, ChannelCheckPassesWithoutNormalising) {
    FillValidRecord();
    view.tx[2] = "410";
    view.rx[8] = " 470 ";
    view.tx[0] = view.rx[9] = "";  // rows 0 and 9 belong to no channel
    EXPECT_TRUE(config.checkChannelFrequencies());
    EXPECT_EQ(view.tx[2], "410");
    EXPECT_EQ(view.rx[8], " 470 ");
    EXPECT_TRUE(view.events.empty());
}

TEST_F(RadioConfigTest, ChannelCheckFailsOnAnEmptyField) {
    FillValidRecord();
    view.rx[8] = "";
    EXPECT_FALSE(config.checkChannelFrequencies());
    EXPECT_EQ(view.errors, Strings{"Channel8: Invalid!"});
    EXPECT_TRUE(view.focusRequests.empty());
}

TEST_F(RadioConfigTest, ChannelCheckReportsOnlyTheFirstFailingChannel) {
    FillValidRecord();
    view.rx[3] = "400";
    view.tx[5] = "480";
    EXPECT_FALSE(config.checkChannelFrequencies());
    EXPECT_EQ(view.errors, Strings{"Channel3: Invalid!"});
    EXPECT_EQ(view.rx[3], "400");
    EXPECT_EQ(view.tx[5], "480");
}

TEST_F(RadioConfigTest, ChannelCheckFailsOnAnythingButAPlainDecimalNumber) {
    // Each reads as a number in range by its leading part, but would put more
    // than a number on the wire (a second command, a sign, an exponent).
    for (const char* text : {"415.5\rcfg_prtl 9", "415.5\n", "415abc", "+415", "4.155e2", "\t415", "415 5", ".415e3"}) {
        FillValidRecord();
        view.rx[6] = text;
        EXPECT_FALSE(config.checkChannelFrequencies()) << text;
        EXPECT_EQ(view.errors, Strings{"Channel6: Invalid!"}) << text;
    }
    FillValidRecord();
    view.tx[1] = "415.";
    view.tx[2] = "0415.50";
    EXPECT_TRUE(config.checkChannelFrequencies());
}

TEST_F(RadioConfigTest, ChannelCheckInChinese) {
    FillValidRecord();
    view.language = Language::Chinese;
    view.tx[3] = "abc";
    EXPECT_FALSE(config.checkChannelFrequencies());
    EXPECT_EQ(view.errors, Strings{"频道3: 无效！"});
}

// --- checkRequiredFields ----------------------------------------------------

TEST_F(RadioConfigTest, RequiredFieldsPassWhenEverythingIsChosen) {
    FillValidRecord();
    EXPECT_TRUE(config.checkRequiredFields());
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(RadioConfigTest, RequiredFieldsReportEachMissingListInOrder) {
    const std::pair<ListField, const char*> cases[] = {
        {ListField::Protocol, "Protocol Type:Invalid!"},     {ListField::CurrentChannel, "Current Channel:Invalid!"},
        {ListField::PortBaudRate, "Port BaudRate:Invalid!"}, {ListField::LinkBaudRate, "Link BaudRate:Invalid!"},
        {ListField::WorkMode, "work mode:Invalid!"},         {ListField::Bandwidth, "BandWidth:Invalid!"},
        {ListField::HighPower, "High Power:Invalid!"},       {ListField::LowPower, "Low Power:Invalid!"},
    };
    for (const auto& [list, message] : cases) {
        FillValidRecord();
        view.list(list).selection = -1;
        EXPECT_FALSE(config.checkRequiredFields()) << message;
        EXPECT_EQ(view.errors, Strings{message});
    }
}

TEST_F(RadioConfigTest, RequiredFieldsStopTheFirstGroupAtItsFirstGapButCheckBothPowers) {
    FillValidRecord();
    for (ListField list : {ListField::CurrentChannel, ListField::Bandwidth, ListField::HighPower, ListField::LowPower})
        view.list(list).selection = -1;
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, (Strings{"Current Channel:Invalid!", "High Power:Invalid!", "Low Power:Invalid!"}));
}

TEST_F(RadioConfigTest, RequiredFieldsCheckArmedTextsOnlyAfterTheLists) {
    FillValidRecord();
    config.UnlockSerialNumber();
    config.UnlockHardware();
    view.list(ListField::Protocol).selection = -1;
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, Strings{"Protocol Type:Invalid!"});
}

TEST_F(RadioConfigTest, RequiredFieldsCheckTheArmedSerialNumberBeforeTheHardware) {
    FillValidRecord();
    config.UnlockSerialNumber();
    config.UnlockHardware();
    view.ClearRecords();
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, Strings{"SN:Invalid!"});

    view.ClearRecords();
    view.field(TextField::SerialNumber) = "A12345678";
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, Strings{"Hardware:Invalid!"});

    view.ClearRecords();
    view.field(TextField::HardwareVersion) = "V1.2";
    EXPECT_TRUE(config.checkRequiredFields());
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(RadioConfigTest, RequiredFieldsRefuseArmedTextsWithControlCharacters) {
    FillValidRecord();
    config.UnlockSerialNumber();
    config.UnlockHardware();
    view.field(TextField::HardwareVersion) = "H1";
    for (const char* serial : {"SN1\rcfg_prtl 9", "SN1\n", "", "S\tN"}) {
        view.ClearRecords();
        view.field(TextField::SerialNumber) = serial;
        EXPECT_FALSE(config.checkRequiredFields()) << serial;
        EXPECT_EQ(view.errors, Strings{"SN:Invalid!"}) << serial;
    }
    view.ClearRecords();
    view.field(TextField::SerialNumber) = "SN 1-序";  // blanks and non-ASCII text are printable
    view.field(TextField::HardwareVersion) = std::string(
        "H\0"
        "1",
        3);
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, Strings{"Hardware:Invalid!"});
}

TEST_F(RadioConfigTest, RequiredFieldsIgnoreEmptyTextsThatAreNotArmed) {
    FillValidRecord();
    config.UnlockHardware();
    view.field(TextField::HardwareVersion) = "H1";
    EXPECT_TRUE(config.checkRequiredFields());
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(RadioConfigTest, RequiredFieldsInChinese) {
    FillValidRecord();
    view.language = Language::Chinese;
    view.list(ListField::Protocol).selection = -1;
    view.list(ListField::LowPower).selection = -1;
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, (Strings{"协议类型:无效！", "低功率:无效！"}));

    FillValidRecord();
    config.UnlockSerialNumber();
    EXPECT_FALSE(config.checkRequiredFields());
    EXPECT_EQ(view.errors, Strings{"序列号:无效！"});
}

// --- unlock -----------------------------------------------------------------

TEST_F(RadioConfigTest, UnlockEnablesTheRowAndArmsItUntilTheNextWrite) {
    EXPECT_FALSE(view.editable[static_cast<int>(TextField::SerialNumber)]);
    config.UnlockSerialNumber();
    EXPECT_TRUE(config.serialUnlocked);
    EXPECT_FALSE(config.hardwareUnlocked);
    EXPECT_TRUE(view.editable[static_cast<int>(TextField::SerialNumber)]);
    EXPECT_FALSE(view.editable[static_cast<int>(TextField::HardwareVersion)]);

    config.UnlockHardware();
    EXPECT_TRUE(config.hardwareUnlocked);
    EXPECT_TRUE(view.editable[static_cast<int>(TextField::HardwareVersion)]);

    config.RelockAfterWrite();
    EXPECT_FALSE(config.serialUnlocked);
    EXPECT_FALSE(config.hardwareUnlocked);
    EXPECT_FALSE(view.editable[static_cast<int>(TextField::SerialNumber)]);
    EXPECT_FALSE(view.editable[static_cast<int>(TextField::HardwareVersion)]);
}

// --- normalizeAddresses -----------------------------------------------------

TEST_F(RadioConfigTest, AddressesAreClampedToTheirLimits) {
    struct Case {
        const char* src;
        const char* dst;
        const char* srcAfter;
        const char* dstAfter;
    };
    const Case cases[] = {
        {"", "", "0", "255"},       {"300", "300", "254", "255"},
        {"-5", "-5", "0", "0"},     {"254", "255", "254", "255"},
        {"0", "0", "0", "0"},       {"255", "256", "254", "255"},
        {"007", "42", "007", "42"}, {"99999999999", "99999999999", "254", "255"},
    };
    for (const Case& c : cases) {
        view.field(TextField::Src) = c.src;
        view.field(TextField::Dst) = c.dst;
        config.normalizeAddresses();
        EXPECT_EQ(view.field(TextField::Src), c.srcAfter) << "src " << c.src;
        EXPECT_EQ(view.field(TextField::Dst), c.dstAfter) << "dst " << c.dst;
    }
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(RadioConfigTest, AddressesThatAreNotPlainDigitsBecomeTheirNumber) {
    view.field(TextField::Src) = "12\rcfg_prtl 9";
    view.field(TextField::Dst) = " abc";
    config.normalizeAddresses();
    EXPECT_EQ(view.field(TextField::Src), "12");
    EXPECT_EQ(view.field(TextField::Dst), "0");
}

// --- fillDefaultFrequencies -------------------------------------------------

TEST_F(RadioConfigTest, DefaultFillsRowsZeroToEightOfItsGroupOnly) {
    view.tx[9] = "keep";
    view.rx[1] = "untouched";
    view.tx[4] = "abc";
    config.fillDefaultFrequencies(Group::Transmit);
    for (int row = 0; row <= 8; ++row) {
        EXPECT_EQ(view.tx[row], RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[row])) << row;
        EXPECT_EQ(view.tx[row].size(), 9u);
    }
    EXPECT_EQ(view.tx[9], "keep");
    EXPECT_EQ(view.rx[1], "untouched");
    EXPECT_TRUE(view.events.empty());

    config.fillDefaultFrequencies(Group::Receive);
    EXPECT_EQ(view.rx[0], view.tx[0]);
    EXPECT_EQ(view.rx[8], view.tx[8]);
    EXPECT_EQ(view.rx[9], "");
    EXPECT_TRUE(config.checkChannelFrequencies());
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "radio/RadioConfig.h"
#include "radio/RadioTables.h"

namespace {

using Strings = std::vector<std::string>;

class RadioConfigTest : public ::testing::Test {
protected:
    RadioConfigTest() { RadioConfig::FillParameterLists(s, Language::English); }

    // Every channel row valid and every list chosen: settings a write accepts.
    void FillValidRecord() {
        for (int row = 1; row <= 8; ++row) s.tx[row] = s.rx[row] = "435.00000";
        for (ListField list : {ListField::Protocol, ListField::CurrentChannel, ListField::PortBaudRate,
                               ListField::Bandwidth, ListField::WorkMode, ListField::HighPower, ListField::LowPower})
            RadioConfig::Select(s, list, 0);
        RadioConfig::Select(s, ListField::LinkBaudRate, 0);
    }

    // A frequency field losing the focus; `message` keeps what it says.
    bool Validate(Group group, int row) {
        message = "<unset>";
        return RadioConfig::validateFrequencyField(s, group, row, language, message);
    }
    Strings Channels() const { return RadioConfig::checkChannelFrequencies(s, language).messages; }
    Strings Required() const { return RadioConfig::checkRequiredFields(s, language).messages; }
    void Clear(ListField list) { s.List(list).selection = -1; }

    RadioSettings s;
    Language language = Language::English;
    std::string message;
};

// --- validateFrequencyField -------------------------------------------------

TEST_F(RadioConfigTest, ValidateAcceptsTheUpperLimitInNormalForm) {
    s.tx[3] = "470";
    EXPECT_TRUE(Validate(Group::Transmit, 3));
    EXPECT_EQ(s.tx[3], "470.00000");
    EXPECT_EQ(message, "");
}

TEST_F(RadioConfigTest, ValidateRejectsJustAboveTheUpperLimitAndKeepsTheText) {
    s.tx[3] = "470.00001";
    EXPECT_FALSE(Validate(Group::Transmit, 3));
    EXPECT_EQ(message, "TX Channel3: Invalid!");
    EXPECT_EQ(s.tx[3], "470.00001");  // the typed text stays
}

TEST_F(RadioConfigTest, ValidateRejectsJustBelowTheLowerLimitInTheReceiveGroup) {
    s.rx[0] = "409.99999";
    EXPECT_FALSE(Validate(Group::Receive, 0));
    EXPECT_EQ(message, "RX Channel0: Invalid!");
    EXPECT_EQ(s.rx[0], "409.99999");
    EXPECT_EQ(s.tx[0], "");
}

TEST_F(RadioConfigTest, ValidateNormalisesBlanksAndTrailingText) {
    s.rx[9] = " 415.5 ";
    s.tx[1] = "415abc";
    s.tx[2] = "410";
    EXPECT_TRUE(Validate(Group::Receive, 9));
    EXPECT_TRUE(Validate(Group::Transmit, 1));
    EXPECT_TRUE(Validate(Group::Transmit, 2));
    EXPECT_EQ(s.rx[9], "415.50000");
    EXPECT_EQ(s.tx[1], "415.00000");
    EXPECT_EQ(s.tx[2], "410.00000");
    EXPECT_EQ(message, "");
}

TEST_F(RadioConfigTest, ValidateRejectsTextWithoutANumber) {
    for (const char* text : {"abc", "nan", "0x19A", "\t"}) {
        s.tx[4] = text;
        EXPECT_FALSE(Validate(Group::Transmit, 4)) << text;
        EXPECT_EQ(message, "TX Channel4: Invalid!") << text;
        EXPECT_EQ(s.tx[4], text);
    }
}

TEST_F(RadioConfigTest, ValidateAcceptsAnEmptyOrBlankFieldUnchanged) {
    s.tx[5] = "";
    s.rx[5] = "   ";
    EXPECT_TRUE(Validate(Group::Transmit, 5));
    EXPECT_EQ(message, "");
    EXPECT_TRUE(Validate(Group::Receive, 5));
    EXPECT_EQ(message, "");
    EXPECT_EQ(s.tx[5], "");
    EXPECT_EQ(s.rx[5], "   ");
}

TEST_F(RadioConfigTest, ValidateOfARowOutsideTheGroupFailsWithoutAMessage) {
    const RadioSettings before = s;
    EXPECT_FALSE(Validate(Group::Transmit, 10));
    EXPECT_EQ(message, "");
    EXPECT_FALSE(Validate(Group::Receive, -1));
    EXPECT_EQ(message, "");
    EXPECT_EQ(s, before);
}

TEST_F(RadioConfigTest, ValidateSpeaksChinese) {
    language = Language::Chinese;
    s.tx[3] = "500";
    s.rx[0] = "1";
    EXPECT_FALSE(Validate(Group::Transmit, 3));
    EXPECT_EQ(message, "发射频道3: 无效！");
    EXPECT_FALSE(Validate(Group::Receive, 0));
    EXPECT_EQ(message, "接收频道0: 无效！");
}

// --- checkChannelFrequencies ------------------------------------------------

TEST_F(RadioConfigTest, ChannelCheckPassesWithoutNormalising) {
    FillValidRecord();
    s.tx[2] = "410";
    s.rx[8] = " 470 ";
    s.tx[0] = s.rx[9] = "";  // rows 0 and 9 belong to no channel
    EXPECT_TRUE(RadioConfig::checkChannelFrequencies(s, language).Passed());
    EXPECT_EQ(s.tx[2], "410");
    EXPECT_EQ(s.rx[8], " 470 ");
}

TEST_F(RadioConfigTest, ChannelCheckFailsOnAnEmptyField) {
    FillValidRecord();
    s.rx[8] = "";
    EXPECT_EQ(Channels(), Strings{"Channel8: Invalid!"});
}

TEST_F(RadioConfigTest, ChannelCheckReportsOnlyTheFirstFailingChannel) {
    FillValidRecord();
    s.rx[3] = "400";
    s.tx[5] = "480";
    EXPECT_EQ(Channels(), Strings{"Channel3: Invalid!"});
    EXPECT_EQ(s.rx[3], "400");
    EXPECT_EQ(s.tx[5], "480");
}

TEST_F(RadioConfigTest, ChannelCheckFailsOnAnythingButAPlainDecimalNumber) {
    // Each reads as a number in range by its leading part, but would put more
    // than a number on the wire (a second command, a sign, an exponent).
    for (const char* text : {"415.5\rcfg_prtl 9", "415.5\n", "415abc", "+415", "4.155e2", "\t415", "415 5", ".415e3"}) {
        FillValidRecord();
        s.rx[6] = text;
        EXPECT_EQ(Channels(), Strings{"Channel6: Invalid!"}) << text;
    }
    FillValidRecord();
    s.tx[1] = "415.";
    s.tx[2] = "0415.50";
    EXPECT_EQ(Channels(), Strings{});
}

TEST_F(RadioConfigTest, ChannelCheckInChinese) {
    FillValidRecord();
    language = Language::Chinese;
    s.tx[3] = "abc";
    EXPECT_EQ(Channels(), Strings{"频道3: 无效！"});
}

// --- checkRequiredFields ----------------------------------------------------

TEST_F(RadioConfigTest, RequiredFieldsPassWhenEverythingIsChosen) {
    FillValidRecord();
    EXPECT_TRUE(RadioConfig::checkRequiredFields(s, language).Passed());
}

TEST_F(RadioConfigTest, RequiredFieldsReportEachMissingListInOrder) {
    const std::pair<ListField, const char*> cases[] = {
        {ListField::Protocol, "Protocol Type:Invalid!"},     {ListField::CurrentChannel, "Current Channel:Invalid!"},
        {ListField::PortBaudRate, "Port BaudRate:Invalid!"}, {ListField::LinkBaudRate, "Link BaudRate:Invalid!"},
        {ListField::WorkMode, "work mode:Invalid!"},         {ListField::Bandwidth, "BandWidth:Invalid!"},
        {ListField::HighPower, "High Power:Invalid!"},       {ListField::LowPower, "Low Power:Invalid!"},
    };
    for (const auto& [list, expected] : cases) {
        FillValidRecord();
        Clear(list);
        EXPECT_EQ(Required(), Strings{expected});
    }
}

TEST_F(RadioConfigTest, RequiredFieldsStopTheFirstGroupAtItsFirstGapButCheckBothPowers) {
    FillValidRecord();
    for (ListField list : {ListField::CurrentChannel, ListField::Bandwidth, ListField::HighPower, ListField::LowPower})
        Clear(list);
    const RadioConfig::Check check = RadioConfig::checkRequiredFields(s, language);
    EXPECT_EQ(check.messages, (Strings{"Current Channel:Invalid!", "High Power:Invalid!", "Low Power:Invalid!"}));
    EXPECT_EQ(check.Joined(), "Current Channel:Invalid!\nHigh Power:Invalid!\nLow Power:Invalid!");
}

TEST_F(RadioConfigTest, RequiredFieldsCheckArmedTextsOnlyAfterTheLists) {
    FillValidRecord();
    RadioConfig::UnlockSerialNumber(s);
    RadioConfig::UnlockHardware(s);
    Clear(ListField::Protocol);
    EXPECT_EQ(Required(), Strings{"Protocol Type:Invalid!"});
}

TEST_F(RadioConfigTest, RequiredFieldsCheckTheArmedSerialNumberBeforeTheHardware) {
    FillValidRecord();
    RadioConfig::UnlockSerialNumber(s);
    RadioConfig::UnlockHardware(s);
    EXPECT_EQ(Required(), Strings{"SN:Invalid!"});

    s.Text(TextField::SerialNumber) = "A12345678";
    EXPECT_EQ(Required(), Strings{"Hardware:Invalid!"});

    s.Text(TextField::HardwareVersion) = "V1.2";
    EXPECT_EQ(Required(), Strings{});
}

TEST_F(RadioConfigTest, RequiredFieldsRefuseArmedTextsWithControlCharacters) {
    FillValidRecord();
    RadioConfig::UnlockSerialNumber(s);
    RadioConfig::UnlockHardware(s);
    s.Text(TextField::HardwareVersion) = "H1";
    for (const char* serial : {"SN1\rcfg_prtl 9", "SN1\n", "", "S\tN"}) {
        s.Text(TextField::SerialNumber) = serial;
        EXPECT_EQ(Required(), Strings{"SN:Invalid!"}) << serial;
    }
    s.Text(TextField::SerialNumber) = "SN 1-序";  // blanks and non-ASCII text are printable
    s.Text(TextField::HardwareVersion) = std::string(
        "H\0"
        "1",
        3);
    EXPECT_EQ(Required(), Strings{"Hardware:Invalid!"});
}

TEST_F(RadioConfigTest, RequiredFieldsIgnoreEmptyTextsThatAreNotArmed) {
    FillValidRecord();
    RadioConfig::UnlockHardware(s);
    s.Text(TextField::HardwareVersion) = "H1";
    EXPECT_EQ(Required(), Strings{});
}

TEST_F(RadioConfigTest, RequiredFieldsInChinese) {
    FillValidRecord();
    language = Language::Chinese;
    Clear(ListField::Protocol);
    Clear(ListField::LowPower);
    EXPECT_EQ(Required(), (Strings{"协议类型:无效！", "低功率:无效！"}));

    FillValidRecord();
    RadioConfig::UnlockSerialNumber(s);
    EXPECT_EQ(Required(), Strings{"序列号:无效！"});
}

// --- unlock -----------------------------------------------------------------

TEST_F(RadioConfigTest, UnlockArmsEachRowOnItsOwnUntilTheNextWrite) {
    RadioConfig::UnlockSerialNumber(s);
    EXPECT_TRUE(s.serialUnlocked);
    EXPECT_FALSE(s.hardwareUnlocked);
    RadioConfig::UnlockHardware(s);
    EXPECT_TRUE(s.hardwareUnlocked);

    RadioConfig::RelockAfterWrite(s);
    EXPECT_FALSE(s.serialUnlocked);
    EXPECT_FALSE(s.hardwareUnlocked);
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
        s.Text(TextField::Src) = c.src;
        s.Text(TextField::Dst) = c.dst;
        RadioConfig::normalizeAddresses(s);
        EXPECT_EQ(s.Text(TextField::Src), c.srcAfter) << "src " << c.src;
        EXPECT_EQ(s.Text(TextField::Dst), c.dstAfter) << "dst " << c.dst;
    }
}

TEST_F(RadioConfigTest, AddressesThatAreNotPlainDigitsBecomeTheirNumber) {
    s.Text(TextField::Src) = "12\rcfg_prtl 9";
    s.Text(TextField::Dst) = " abc";
    RadioConfig::normalizeAddresses(s);
    EXPECT_EQ(s.Text(TextField::Src), "12");
    EXPECT_EQ(s.Text(TextField::Dst), "0");
}

// --- PrepareWrite -----------------------------------------------------------

// A failed channel check is the only message (the lists are not looked at),
// and the addresses are normalised all the same.
TEST_F(RadioConfigTest, PrepareWriteReportsTheChannelsFirstAndNormalisesAnyway) {
    FillValidRecord();
    s.tx[4] = "500";
    s.Text(TextField::Src) = "";
    s.List(ListField::LinkBaudRate).Fill({" 4800"});  // a link rate list that lost its selection
    EXPECT_EQ(RadioConfig::PrepareWrite(s, language).messages, Strings{"Channel4: Invalid!"});
    EXPECT_EQ(s.Text(TextField::Src), "0");
    EXPECT_EQ(s.Text(TextField::Dst), "255");

    s.tx[4] = "434.00000";
    EXPECT_EQ(RadioConfig::PrepareWrite(s, language).messages, Strings{"Link BaudRate:Invalid!"});
}

// The first message names the field the window then focuses: the group of
// the bad channel, the first list missing, the text left empty.
TEST_F(RadioConfigTest, PrepareWriteNamesTheFieldOfItsFirstMessage) {
    using Kind = RadioConfig::CheckSubject::Kind;
    FillValidRecord();
    s.rx[6] = "500";
    RadioConfig::CheckSubject first = RadioConfig::PrepareWrite(s, language).first;
    EXPECT_TRUE(first.kind == Kind::Frequency && first.group == Group::Receive && first.row == 6);
    s.rx[6] = "434.00000";
    Clear(ListField::Bandwidth);
    Clear(ListField::HighPower);
    first = RadioConfig::PrepareWrite(s, language).first;
    EXPECT_TRUE(first.kind == Kind::List && first.list == ListField::Bandwidth);
    RadioConfig::Select(s, ListField::Bandwidth, 0);
    RadioConfig::Select(s, ListField::HighPower, 0);
    RadioConfig::UnlockSerialNumber(s);
    s.Text(TextField::SerialNumber) = "";
    first = RadioConfig::PrepareWrite(s, language).first;
    EXPECT_TRUE(first.kind == Kind::Text && first.text == TextField::SerialNumber);
    EXPECT_TRUE(RadioConfig::PrepareWrite(s, language).first.kind == Kind::Text);
}

// --- fillDefaultFrequencies -------------------------------------------------

TEST_F(RadioConfigTest, DefaultFillsRowsZeroToEightOfItsGroupOnly) {
    s.tx[9] = "keep";
    s.rx[1] = "untouched";
    s.tx[4] = "abc";
    RadioConfig::fillDefaultFrequencies(s, Group::Transmit);
    for (int row = 0; row <= 8; ++row) {
        EXPECT_EQ(s.tx[row], RadioTables::FormatFrequency(RadioTables::DefaultFrequencyTable[row])) << row;
        EXPECT_EQ(s.tx[row].size(), 9u);
    }
    EXPECT_EQ(s.tx[9], "keep");
    EXPECT_EQ(s.rx[1], "untouched");

    RadioConfig::fillDefaultFrequencies(s, Group::Receive);
    EXPECT_EQ(s.rx[0], s.tx[0]);
    EXPECT_EQ(s.rx[8], s.tx[8]);
    EXPECT_EQ(s.rx[9], "");
    EXPECT_EQ(Channels(), Strings{});
}

}  // namespace

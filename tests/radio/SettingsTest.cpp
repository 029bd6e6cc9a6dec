#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "radio/Settings.h"
#include "tests/radio/FakeSettingsWindow.h"

namespace {

// Reads the values as the load does, with the fake's two ports and five rates.
RememberedSettings Read(const std::vector<std::pair<std::string, std::string>>& values) {
    RememberedSettings found;
    for (const auto& value : values)
        ReadSettingsValue(value.first, value.second.data(), value.second.size(), 2, 5, found);
    return found;
}

TEST(SettingsRead, NothingStoredKeepsEveryDefault) {
    FakeSettingsWindow window;
    RememberedSettings found = Read({});
    ApplySettings(found, window);
    EXPECT_EQ(window.portSelection, 0);
    EXPECT_EQ(window.SelectedRate(), " 38400");
    EXPECT_TRUE(window.chinese);
}

TEST(SettingsRead, PositionsWithinTheBoxesAreTaken) {
    RememberedSettings found = Read({{"Port", "1"}, {"Baud", "4"}});
    EXPECT_EQ(found.portPosition, 1);
    EXPECT_EQ(found.ratePosition, 4);
    EXPECT_EQ(Read({{"Port", "0"}, {"Baud", "0"}}).ratePosition, 0);
}

TEST(SettingsRead, PositionsOutsideTheBoxesAreIgnored) {
    for (const char* text : {"2", "3", "-1", "-2147483648", "99999999999"}) {
        RememberedSettings found = Read({{"Port", text}});
        EXPECT_FALSE(found.portPosition) << text;
    }
    EXPECT_FALSE(Read({{"Baud", "5"}}).ratePosition);
    EXPECT_FALSE(Read({{"Baud", "-1"}}).ratePosition);
    // A text without digits reads as 0, like atoi: the first entry, in range.
    EXPECT_EQ(Read({{"Baud", "abc"}}).ratePosition, 0);
    EXPECT_EQ(Read({{"Port", ""}}).portPosition, 0);
}

TEST(SettingsRead, ChineseOnlyForOne) {
    EXPECT_EQ(Read({{"Chinese", "1"}}).chinese, true);
    EXPECT_EQ(Read({{"Chinese", " 1x"}}).chinese, true);
    for (const char* text : {"0", "2", "-1", "abc", "", "11"})
        EXPECT_EQ(Read({{"Chinese", text}}).chinese, false) << text;
}

TEST(SettingsRead, NamesMustMatchExactly) {
    RememberedSettings found = Read(
        {{"port", "1"}, {"BAUD", "4"}, {"chinese", "0"}, {"Port ", "1"}, {"Bau", "4"}, {"Chinese2", "0"}, {"", "1"}});
    EXPECT_FALSE(found.portPosition);
    EXPECT_FALSE(found.ratePosition);
    EXPECT_FALSE(found.chinese);
}

TEST(SettingsRead, DataIsTheTextUpToTheFirstZeroWithinItsSize) {
    RememberedSettings found;
    const char port[] = {'1'};  // no terminator at all
    ReadSettingsValue("Port", port, sizeof port, 2, 5, found);
    EXPECT_EQ(found.portPosition, 1);
    const char rate[] =
        "3\0"
        "9";
    ReadSettingsValue("Baud", rate, sizeof rate - 1, 2, 5, found);
    EXPECT_EQ(found.ratePosition, 3);
    std::vector<char> block(256, '4');  // 256 digits and no zero: saturates, out of range
    ReadSettingsValue("Baud", block.data(), block.size(), 2, 5, found);
    EXPECT_EQ(found.ratePosition, 3);
    ReadSettingsValue("Chinese", nullptr, 0, 2, 5, found);
    EXPECT_EQ(found.chinese, false);
}

TEST(SettingsApply, SetsOnlyWhatWasFound) {
    FakeSettingsWindow window;
    RememberedSettings found;
    found.ratePosition = 4;
    ApplySettings(found, window);
    EXPECT_EQ(window.portSelection, 0);
    EXPECT_EQ(window.SelectedRate(), " 115200");
    EXPECT_TRUE(window.chinese);
    found.portPosition = 1;
    found.chinese = false;
    ApplySettings(found, window);
    EXPECT_EQ(window.portSelection, 1);
    EXPECT_FALSE(window.chinese);
}

TEST(SettingsApply, RateSelectedAgainAfterTheRateBoxIsRefilled) {
    FakeSettingsWindow window;
    RememberedSettings found = Read({{"Baud", "4"}});
    ApplySettings(found, window);
    window.rateSelection = 2;  // the language application refills the box
    ApplyRememberedRate(found, window);
    EXPECT_EQ(window.SelectedRate(), " 115200");

    window.rates.resize(3);  // a shorter box: the position no longer applies
    window.rateSelection = 2;
    ApplyRememberedRate(found, window);
    EXPECT_EQ(window.rateSelection, 2);

    window.rates = RadioTables::PortBaudList();
    ApplyRememberedRate(RememberedSettings{}, window);
    EXPECT_EQ(window.rateSelection, 2);
}

// The port is kept by its name: an adapter plugged in before it moves its
// place, not the choice; a named port that is not listed selects nothing of
// its own, and only a setting without a name (an older version's) goes by
// position.
TEST(SettingsPortName, TheNamedPortIsSelectedWhereverItStands) {
    FakeSettingsWindow window;
    window.ports = {" COM1", " COM5", " COM3"};
    ApplySettings(Read({{"Port", "1"}, {"PortName", "COM3"}}), window);
    EXPECT_EQ(window.portSelection, 2);
    window.portSelection = 0;
    ApplySettings(Read({{"Port", "1"}, {"PortName", "COM7"}}), window);  // not plugged in
    EXPECT_EQ(window.portSelection, 0);
    ApplySettings(Read({{"Port", "1"}}), window);
    EXPECT_EQ(window.portSelection, 1);
}

TEST(SettingsPortName, OnlyComAndANumberFromOneAreAName) {
    EXPECT_EQ(Read({{"PortName", "com12"}}).portNumber, 12);
    for (const char* text : {"", "COM", "COM0", "COM-3", "LPT1", "COMx3", " COM3"})
        EXPECT_FALSE(Read({{"PortName", text}}).portNumber) << text;
    SettingsBlock block = FormatPortNameBlock(12);
    EXPECT_EQ(std::string(block.data()), "COM12");
    EXPECT_EQ(FormatPortNameBlock(0)[0], 0);
}

TEST(SettingsBlock, DecimalTextZeroFilledTo256Bytes) {
    for (int value : {0, 1, -1, 4, -2147483647 - 1}) {
        SettingsBlock block = FormatSettingsBlock(value);
        std::string text = std::to_string(value);
        ASSERT_EQ(block.size(), 256u);
        EXPECT_EQ(std::string(block.data(), text.size()), text);
        for (size_t i = text.size(); i < block.size(); ++i) ASSERT_EQ(block[i], 0) << value << " at " << i;
    }
}

}  // namespace

TEST(SettingsFirstStart, ChineseForEveryChineseDisplayLanguageOnly) {
    // zh-CN, zh-TW, zh-HK, zh-SG, zh-MO; en-US, ru-RU, pl-PL, ja-JP.
    for (unsigned short id : {0x0804, 0x0404, 0x0C04, 0x1004, 0x1404}) EXPECT_TRUE(ChineseForDisplayLanguage(id)) << id;
    for (unsigned short id : {0x0409, 0x0419, 0x0415, 0x0411}) EXPECT_FALSE(ChineseForDisplayLanguage(id)) << id;
}

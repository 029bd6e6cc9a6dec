#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "serial/PortList.h"
#include "serial/PortSelection.h"
#include "tests/serial/FakePortListWindow.h"

namespace {

// A registry buffer of exactly `size` bytes holding `text` (cut at `size`)
// and no zero byte after it unless `fill` is zero, on the heap, so that the sanitizers see any read past its end.
std::vector<char> Unterminated(const std::string& text, size_t size, char fill) {
    std::vector<char> bytes(size, fill);
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), size));
    return bytes;
}

int PortOf(const std::string& data) { return PortNumberFromDeviceData(data.data(), data.size()); }

TEST(PortListDeviceName, NmserialAnywhereInTheNameIsLeftOut) {
    const std::string names[] = {"Nmserial", "\\Device\\Nmserial0", "\\Device\\xNmserialy"};
    for (const std::string& name : names) EXPECT_FALSE(IsListedDeviceName(name.data(), name.size())) << name;
    const std::string listed[] = {"\\Device\\Serial0", "\\Device\\nmserial0", "\\Device\\NMSERIAL0", "Nmseria", ""};
    for (const std::string& name : listed) EXPECT_TRUE(IsListedDeviceName(name.data(), name.size())) << name;
}

TEST(PortListDeviceName, ReadsOnlyUpToTheSizeOrTheFirstZeroByte) {
    std::vector<char> cut = Unterminated("\\Device\\Nmserial", 10, 'x');  // "\Device\Nm"
    EXPECT_TRUE(IsListedDeviceName(cut.data(), cut.size()));
    const char afterZero[] = "ab\0Nmserial";
    EXPECT_TRUE(IsListedDeviceName(afterZero, sizeof afterZero - 1));
    EXPECT_TRUE(IsListedDeviceName(nullptr, 0));
}

TEST(PortListDeviceData, NumberAfterTheFirstThreeCharacters) {
    EXPECT_EQ(PortOf("COM3"), 3);
    EXPECT_EQ(PortOf("COM12"), 12);
    EXPECT_EQ(PortOf("COM255"), 255);
    EXPECT_EQ(PortOf("XYZ7"), 7);   // the three characters are not checked
    EXPECT_EQ(PortOf("COM5x"), 5);  // leading digits only
    EXPECT_EQ(PortOf("COM 9"), 9);  // atoi skips blanks
}

TEST(PortListDeviceData, NoDigitsAfterThreeCharactersGiveZero) {
    EXPECT_EQ(PortOf("COM"), 0);
    EXPECT_EQ(PortOf("CO"), 0);
    EXPECT_EQ(PortOf(""), 0);
    EXPECT_EQ(PortOf("COMx"), 0);
    EXPECT_EQ(PortOf("COMx3"), 0);
    EXPECT_EQ(PortNumberFromDeviceData(nullptr, 0), 0);
}

TEST(PortListDeviceData, UnterminatedDataIsReadWithinItsSize) {
    std::vector<char> full = Unterminated("COM8", 256, 'y');
    EXPECT_EQ(PortNumberFromDeviceData(full.data(), full.size()), 8);
    std::vector<char> digits = Unterminated("COM", 256, '7');  // saturates, never overruns
    EXPECT_EQ(PortNumberFromDeviceData(digits.data(), digits.size()), INT_MAX);
    std::vector<char> cut = Unterminated("COM123", 5, 0);
    EXPECT_EQ(PortNumberFromDeviceData(cut.data(), 5), 12);
}

TEST(PortListDeviceData, TextEndsAtTheFirstZeroByte) {
    const char data[] =
        "COM4\0"
        "9";
    EXPECT_EQ(PortNumberFromDeviceData(data, sizeof data - 1), 4);
    const char early[] = "CO\0M5";
    EXPECT_EQ(PortNumberFromDeviceData(early, sizeof early - 1), 0);
}

TEST(PortListAdd, KeepsOrderListsAPortOnceAndSkipsNmserial) {
    std::vector<int> ports;
    auto add = [&](const std::string& name, const std::string& data) {
        AddDeviceValue(ports, name.data(), name.size(), data.data(), data.size());
    };
    add("\\Device\\Serial1", "COM3");
    add("\\Device\\Nmserial0", "COM4");
    add("\\Device\\Serial0", "COM1");
    add("\\Device\\Serial2", "COM3");
    EXPECT_EQ(ports, (std::vector<int>{3, 1}));
}

// The box rebuilt when ports come and go: the choice follows the port's
// name, not its place; a port that went leaves no choice; the radio buttons
// go off with the last port.
TEST(PortListRebuild, TheChosenPortStaysChosenWhereverItNowStands) {
    FakePortListWindow window;
    EXPECT_EQ(RebuildPortList({3, 5}, 5, window), PortChoice::Kept);
    EXPECT_EQ(window.selected, 1);
    EXPECT_EQ(RebuildPortList({1, 3, 5}, 5, window), PortChoice::Kept);  // COM1 arrived before it
    EXPECT_EQ(window.entries, (std::vector<std::string>{" COM1", " COM3", " COM5"}));
    EXPECT_EQ(window.selected, 2);
    EXPECT_TRUE(window.radioButtonsEnabled);
}

TEST(PortListRebuild, AChosenPortThatWentLeavesNothingSelected) {
    FakePortListWindow window;
    EXPECT_EQ(RebuildPortList({1, 3}, 5, window), PortChoice::Gone);
    EXPECT_EQ(window.selected, -1);
    EXPECT_TRUE(window.radioButtonsEnabled);
    EXPECT_EQ(RebuildPortList({}, 5, window), PortChoice::Gone);
    EXPECT_TRUE(window.entries.empty());
    EXPECT_FALSE(window.radioButtonsEnabled);
}

TEST(PortListRebuild, WithNoChoiceTheFirstPortIsTakenAsAtStartUp) {
    FakePortListWindow window;
    EXPECT_EQ(RebuildPortList({}, 0, window), PortChoice::None);
    EXPECT_EQ(window.selected, -1);
    EXPECT_EQ(RebuildPortList({7, 2}, 0, window), PortChoice::None);
    EXPECT_EQ(window.selected, 0);
}

// A device's friendly name as an entry shows it: Windows' own " (COMn)"
// goes, what a terminal would act on becomes blanks, and a long name is cut
// within a character.
TEST(PortListDeviceName, ShownSafelyAndShort) {
    EXPECT_EQ(DeviceNameForEntry("USB-SERIAL CH340 (COM5)", 5), "USB-SERIAL CH340");
    EXPECT_EQ(DeviceNameForEntry("Bridge (COM5)", 6), "Bridge (COM5)");  // another port's number stays
    EXPECT_EQ(DeviceNameForEntry("  A\x1b[2J\tB \xff\x80 C\x7f ", 1), "A [2J B C");
    EXPECT_EQ(DeviceNameForEntry(" (COM5)", 5), "");
    const std::string wide = std::string(300, 'x');
    EXPECT_EQ(DeviceNameForEntry(wide, 1), std::string(61, 'x') + "...");
    const std::string chinese = "\xe4\xb8\xb2";  // one character of three bytes
    std::string many;
    for (int i = 0; i < 30; ++i) many += chinese;
    const std::string cut = DeviceNameForEntry(many, 1);
    EXPECT_EQ(cut, many.substr(0, 60) + "...") << "20 whole characters within 61 bytes";
    EXPECT_EQ(FormatPortEntry(5, {{5, "USB-SERIAL CH340"}}), " COM5  USB-SERIAL CH340");
    EXPECT_EQ(FormatPortEntry(5, {{6, "USB-SERIAL CH340"}}), " COM5");
    EXPECT_EQ(ParsePortNumber(FormatPortEntry(12, {{12, "9 pin"}})), 12);
}

TEST(PortListEntry, LeadingSpaceComAndTheNumber) {
    EXPECT_EQ(FormatPortEntry(3), " COM3");
    EXPECT_EQ(FormatPortEntry(12), " COM12");
    EXPECT_EQ(FormatPortEntry(0), " COM0");
    EXPECT_EQ(FormatPortEntry(INT_MIN), " COM-2147483648");  // widest text fits the 32-character buffer
}

TEST(PortListEntry, OpeningReadsTheNumberBack) {
    for (int port : {1, 9, 12, 100, 255}) EXPECT_EQ(ParsePortNumber(FormatPortEntry(port)), port);
    EXPECT_EQ(ParsePortNumber(FormatPortEntry(0)), 0);
}

TEST(PortListShow, EntriesInListOrderFirstSelected) {
    FakePortListWindow window;
    ShowPortList({3, 1, 12}, window);
    EXPECT_EQ(window.entries, (std::vector<std::string>{" COM3", " COM1", " COM12"}));
    EXPECT_EQ(window.selected, 0);
    EXPECT_TRUE(window.radioButtonsEnabled);
}

TEST(PortListShow, NoPortEmptiesTheBoxAndDisablesTheRadioButtons) {
    FakePortListWindow window;
    ShowPortList({}, window);
    EXPECT_EQ(window.replaceCalls, 1);
    EXPECT_TRUE(window.entries.empty());
    EXPECT_EQ(window.selected, -1);
    EXPECT_FALSE(window.radioButtonsEnabled);
}

}  // namespace

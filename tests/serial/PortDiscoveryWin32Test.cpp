#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "serial/PortDiscovery.h"
#include "serial/PortSelection.h"
#include "platform/RegistryKey.h"
#include "testkit/PortsClassDevice.h"
#include "tests/serial/FakePortListWindow.h"

namespace {

// Wine enumerates the values of a key sorted by name, Windows in the order
// they were written; the tests write them in name order so that both agree.

constexpr const char* kTestRoot = "Software\\VelmoraTest";
constexpr const char* kTestMap = "Software\\VelmoraTest\\SerialComm";

LONG SetValue(HKEY key, const std::string& name, DWORD type, const void* data, size_t size) {
    return ::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
}
LONG SetText(HKEY key, const std::string& name, const std::string& text) {
    return SetValue(key, name, REG_SZ, text.c_str(), text.size() + 1);
}

class PortDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestRoot);
        ASSERT_EQ(RegistryKey::Create(HKEY_LOCAL_MACHINE, kTestMap, KEY_ALL_ACCESS, map_), ERROR_SUCCESS);
    }
    void TearDown() override {
        map_.reset();
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestRoot);
    }
    std::vector<int> Enumerate() {
        std::vector<int> ports{99};  // must be emptied first
        EXPECT_TRUE(EnumerateSerialPorts(ports, kTestMap));
        return ports;
    }
    RegistryKey map_;
};

TEST_F(PortDiscoveryTest, MissingKeyLeavesTheListAlone) {
    std::vector<int> ports{4, 2};
    EXPECT_FALSE(EnumerateSerialPorts(ports, "Software\\VelmoraTest\\NoSuchMap"));
    EXPECT_EQ(ports, (std::vector<int>{4, 2}));
}

TEST_F(PortDiscoveryTest, MissingKeyGivesAnEmptyBoxAndDisabledButtons) {
    FakePortListWindow window;
    FillPortList(window, "Software\\VelmoraTest\\NoSuchMap");
    EXPECT_TRUE(window.entries.empty());
    EXPECT_FALSE(window.radioButtonsEnabled);
}

TEST_F(PortDiscoveryTest, EmptyMapGivesAnEmptyBoxAndDisabledButtons) {
    EXPECT_TRUE(Enumerate().empty());
    FakePortListWindow window;
    FillPortList(window, kTestMap);
    EXPECT_EQ(window.replaceCalls, 1);
    EXPECT_TRUE(window.entries.empty());
    EXPECT_EQ(window.selected, -1);
    EXPECT_FALSE(window.radioButtonsEnabled);
}

TEST_F(PortDiscoveryTest, SortedByNumberFirstEntrySelected) {
    ASSERT_EQ(SetText(map_.get(), "\\Device\\Serial0", "COM12"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(map_.get(), "\\Device\\Serial1", "COM3"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(map_.get(), "\\Device\\Serial2", "COM1"), ERROR_SUCCESS);
    FakePortListWindow window;
    FillPortList(window, kTestMap);
    EXPECT_EQ(window.entries, (std::vector<std::string>{" COM1", " COM3", " COM12"}));
    EXPECT_EQ(window.selected, 0);
    EXPECT_TRUE(window.radioButtonsEnabled);
}

TEST_F(PortDiscoveryTest, NmserialDevicesLeftOutAndAPortNamedTwiceListedOnce) {
    SetText(map_.get(), "\\Device\\Nmserial0", "COM4");
    SetText(map_.get(), "\\Device\\Serial0", "COM2");
    SetText(map_.get(), "\\Device\\Serial1", "COM2");
    SetText(map_.get(), "\\Device\\xNmserial", "COM5");
    EXPECT_EQ(Enumerate(), (std::vector<int>{2}));
}

TEST_F(PortDiscoveryTest, TwoDigitPortListedInFullAndReadBack) {
    SetText(map_.get(), "\\Device\\Serial11", "COM12");
    FakePortListWindow window;
    FillPortList(window, kTestMap);
    ASSERT_EQ(window.entries, (std::vector<std::string>{" COM12"}));
    EXPECT_EQ(ParsePortNumber(window.entries[0]), 12);
}

TEST_F(PortDiscoveryTest, DataWithoutANumberGivesZero) {
    for (const char* text : {"COM", "COMx", ""}) {  // one at a time: port 0 is listed once
        SetText(map_.get(), "\\Device\\Serial0", text);
        EXPECT_EQ(Enumerate(), (std::vector<int>{0})) << text;
    }
}

// Wine hands a REG_SZ over with a terminator it adds, and reports a text of
// 256 characters without one as too long; binary data comes as stored, so it
// is what fills the data buffer with no zero byte.
TEST_F(PortDiscoveryTest, UnterminatedDataIsReadWithinItsSize) {
    std::string full = "COM8" + std::string(252, 'y');
    ASSERT_EQ(SetValue(map_.get(), "\\Device\\Serial0", REG_BINARY, full.data(), full.size()), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(map_.get(), "\\Device\\Serial1", REG_SZ, "COM7", 4), ERROR_SUCCESS);
    EXPECT_EQ(Enumerate(), (std::vector<int>{7, 8}));
}

TEST_F(PortDiscoveryTest, ValuesOfOtherTypesAreReadAsBytes) {
    DWORD five = 5;  // bytes 05 00 00 00: nothing after the third byte
    SetValue(map_.get(), "\\Device\\Serial0", REG_DWORD, &five, sizeof five);
    SetValue(map_.get(), "\\Device\\Serial1", REG_BINARY, "COM9", 4);
    EXPECT_EQ(Enumerate(), (std::vector<int>{0, 9}));
    SetValue(map_.get(), "\\Device\\Serial0", REG_BINARY, "", 0);
    EXPECT_EQ(Enumerate(), (std::vector<int>{0, 9}));
}

TEST_F(PortDiscoveryTest, ValuesTooLongForTheBuffersAreSkipped) {
    std::string longData = "COM6" + std::string(296, ' ');
    SetText(map_.get(), "\\Device\\Serial0", "COM1");
    SetText(map_.get(), "\\Device\\Serial1", longData);
    SetText(map_.get(), "\\Device\\Serial2" + std::string(300, 'n'), "COM7");
    SetText(map_.get(), "\\Device\\Serial3", "COM2");
    EXPECT_EQ(Enumerate(), (std::vector<int>{1, 2}));
}

// A port whose device Windows knows (a driver's device in the Ports class)
// is listed with the device's name, in any script; one without a device
// keeps its plain name.
TEST_F(PortDiscoveryTest, APortWithADeviceIsListedWithItsName) {
    SetText(map_.get(), "\\Device\\Serial0", "COM12");
    SetText(map_.get(), "\\Device\\Serial1", "COM3");
    PortsClassDevice adapter(12, L"USB-SERIAL \u4E32\u53E3 CH340 (COM12)");
    ASSERT_TRUE(adapter.Made());
    const PortDevices devices = ListPortDevices();
    ASSERT_EQ(devices.count(12), 1u);
    EXPECT_EQ(devices.at(12), "USB-SERIAL \u4E32\u53E3 CH340");
    FakePortListWindow window;
    FillPortList(window, kTestMap);
    EXPECT_EQ(window.entries, (std::vector<std::string>{" COM3", " COM12  USB-SERIAL \u4E32\u53E3 CH340"}));
    EXPECT_EQ(ParsePortNumber(window.entries[1]), 12);
}

// The real device map, which Wine's mount manager keeps and rebuilds at
// start-up: the test's values are found among the real ports, sorted, and
// removed again afterwards.
TEST(PortDiscoveryDeviceMap, TestValuesFoundInTheSystemMap) {
    RegistryKey map;
    LONG status = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSerialDeviceMapPath, KEY_ALL_ACCESS, map);
    ASSERT_EQ(status, ERROR_SUCCESS) << "the device map is not writable here";
    const char* names[] = {"\\Device\\VelmoraTest0", "\\Device\\VelmoraTest1", "\\Device\\VelmoraTestNmserial"};
    EXPECT_EQ(SetText(map.get(), names[0], "COM241"), ERROR_SUCCESS);
    EXPECT_EQ(SetText(map.get(), names[1], "COM240"), ERROR_SUCCESS);
    EXPECT_EQ(SetText(map.get(), names[2], "COM242"), ERROR_SUCCESS);

    std::vector<int> ports;
    bool opened = EnumerateSerialPorts(ports);
    for (const char* name : names) ::RegDeleteValueA(map.get(), name);

    ASSERT_TRUE(opened);
    auto first = std::find(ports.begin(), ports.end(), 240);
    ASSERT_NE(first, ports.end());
    EXPECT_NE(std::find(first, ports.end(), 241), ports.end());
    EXPECT_EQ(std::count(ports.begin(), ports.end(), 242), 0);
}

}  // namespace

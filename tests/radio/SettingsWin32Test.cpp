#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "radio/SettingsStore.h"
#include "platform/RegistryKey.h"
#include "tests/radio/FakeSettingsWindow.h"

namespace {

// The test prefix's registry belongs to this build, so the tests may write
// under HKEY_CURRENT_USER freely; most use a key of their own.
constexpr const char* kTestRoot = "Software\\VelmoraTest";
constexpr const char* kTestKey = "Software\\VelmoraTest\\Settings";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }

    void Store(const std::string& name, DWORD type, const void* data, size_t size) {
        RegistryKey key;
        ASSERT_EQ(RegistryKey::Create(HKEY_CURRENT_USER, kTestKey, KEY_SET_VALUE, key), ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                   static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }
    void StoreText(const std::string& name, const std::string& text) {
        Store(name, REG_SZ, text.c_str(), text.size() + 1);
    }
    // Loads into a window in its start-up state.
    FakeSettingsWindow Load() {
        FakeSettingsWindow window;
        LoadSettings(window, kTestKey);
        return window;
    }
};

void ExpectDefaults(const FakeSettingsWindow& window) {
    EXPECT_EQ(window.portSelection, 0);
    EXPECT_EQ(window.SelectedRate(), " 38400");
    EXPECT_TRUE(window.chinese);
}

TEST_F(SettingsStoreTest, FirstStartWithoutKeyKeepsDefaults) {
    FakeSettingsWindow window;
    RememberedSettings found = LoadSettings(window, kTestKey);
    ExpectDefaults(window);
    EXPECT_FALSE(found.portPosition || found.ratePosition || found.chinese);
}

TEST_F(SettingsStoreTest, StoredPositionsAndLanguageAreApplied) {
    StoreText("Port", "1");
    StoreText("Baud", "4");
    StoreText("Chinese", "0");
    FakeSettingsWindow window = Load();
    EXPECT_EQ(window.portSelection, 1);
    EXPECT_EQ(window.SelectedRate(), " 115200");
    EXPECT_FALSE(window.chinese);
    StoreText("Port", "3");  // only two ports now
    EXPECT_EQ(Load().portSelection, 0);
}

// Wine compares value names without regard to case, so each spelling gets a
// load of its own.
TEST_F(SettingsStoreTest, NamesInAnotherCaseAreIgnored) {
    StoreText("port", "1");
    StoreText("BAUD", "4");
    StoreText("chinese", "0");
    ExpectDefaults(Load());
}

TEST_F(SettingsStoreTest, ValuesOfAnotherTypeKeepDefaults) {
    DWORD one = 1, four = 4, zero = 0;
    Store("Port", REG_DWORD, &one, sizeof one);
    Store("Baud", REG_DWORD, &four, sizeof four);
    Store("Chinese", REG_DWORD, &zero, sizeof zero);
    ExpectDefaults(Load());
    Store("Baud", REG_BINARY, "4", 1);
    Store("Chinese", REG_BINARY, "0\0", 2);
    Store("Port", REG_MULTI_SZ, "1\0\0", 3);
    ExpectDefaults(Load());
}

TEST_F(SettingsStoreTest, TextWithoutTerminatorIsReadWithinItsSize) {
    Store("Port", REG_SZ, "1", 1);
    Store("Baud", REG_SZ, "3", 1);
    FakeSettingsWindow window = Load();
    EXPECT_EQ(window.portSelection, 1);
    EXPECT_EQ(window.SelectedRate(), " 57600");
}

TEST_F(SettingsStoreTest, ValuesLongerThanTheBufferAreIgnored) {
    StoreText("Chinese", "0" + std::string(299, ' '));
    StoreText("Baud", "4" + std::string(299, ' '));
    StoreText("Port", "1");  // still read after the long ones
    FakeSettingsWindow window = Load();
    EXPECT_EQ(window.portSelection, 1);
    EXPECT_EQ(window.SelectedRate(), " 38400");
    EXPECT_TRUE(window.chinese);
}

// Reads a stored value back as raw bytes, with room for more than 256.
struct StoredValue {
    LONG status;
    DWORD type;
    std::vector<char> bytes;
};
StoredValue ReadBack(const char* path, const char* name) {
    StoredValue value{ERROR_FILE_NOT_FOUND, REG_NONE, {}};
    RegistryKey key;
    if (RegistryKey::Open(HKEY_CURRENT_USER, path, KEY_READ, key) != ERROR_SUCCESS) return value;
    std::vector<char> buffer(1024, 'z');
    DWORD size = static_cast<DWORD>(buffer.size());
    value.status =
        ::RegQueryValueExA(key.get(), name, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (value.status == ERROR_SUCCESS) value.bytes.assign(buffer.begin(), buffer.begin() + size);
    return value;
}

void ExpectBlock(const StoredValue& value, const std::string& text) {
    ASSERT_EQ(value.status, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(value.bytes.size(), 256u);
    EXPECT_EQ(std::string(value.bytes.data(), text.size()), text);
    for (size_t i = text.size(); i < value.bytes.size(); ++i) ASSERT_EQ(value.bytes[i], 0) << text << " at " << i;
}

TEST_F(SettingsStoreTest, SaveWrites256ByteTextBlocks) {
    FakeSettingsWindow window;
    window.portSelection = -1;  // no port was selected
    window.rateSelection = 4;
    window.chinese = false;
    ASSERT_TRUE(SaveSettings(window, kTestKey));
    ExpectBlock(ReadBack(kTestKey, "Port"), "-1");
    ExpectBlock(ReadBack(kTestKey, "Baud"), "4");
    ExpectBlock(ReadBack(kTestKey, "Chinese"), "0");
    window.chinese = true;
    ASSERT_TRUE(SaveSettings(window, kTestKey));  // overwrites
    ExpectBlock(ReadBack(kTestKey, "Chinese"), "1");
}

TEST_F(SettingsStoreTest, SavedSettingsLoadBack) {
    FakeSettingsWindow saved;
    saved.portSelection = 1;
    saved.rateSelection = 0;
    saved.chinese = false;
    ASSERT_TRUE(SaveSettings(saved, kTestKey));
    FakeSettingsWindow loaded = Load();
    EXPECT_EQ(loaded.portSelection, 1);
    EXPECT_EQ(loaded.SelectedRate(), " 9600");
    EXPECT_FALSE(loaded.chinese);
}

// Across a restart with a port plugged in before the chosen one: the name
// finds it at its new place.
TEST_F(SettingsStoreTest, ThePortIsFoundByItsNameAfterAPortArrivedBeforeIt) {
    FakeSettingsWindow saved;
    saved.ports = {" COM3", " COM5"};
    saved.portSelection = 1;
    ASSERT_TRUE(SaveSettings(saved, kTestKey));
    ExpectBlock(ReadBack(kTestKey, "PortName"), "COM5");
    FakeSettingsWindow loaded;
    loaded.ports = {" COM3", " COM4", " COM5"};
    LoadSettings(loaded, kTestKey);
    EXPECT_EQ(loaded.portSelection, 2);
}

// The real key once: the prefix is private to the build. Whatever was there
// is put back afterwards by deleting what the test wrote.
TEST(SettingsStoreRealKey, SaveAndLoadUnderSoftwareQuillet) {
    FakeSettingsWindow saved;
    saved.portSelection = 1;
    saved.rateSelection = 3;
    saved.chinese = false;
    ASSERT_TRUE(SaveSettings(saved));
    ExpectBlock(ReadBack("Software\\Quillet", "Baud"), "3");
    FakeSettingsWindow loaded;
    LoadSettings(loaded);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillet");
    EXPECT_EQ(loaded.portSelection, 1);
    EXPECT_EQ(loaded.SelectedRate(), " 57600");
    EXPECT_FALSE(loaded.chinese);
}

}  // namespace

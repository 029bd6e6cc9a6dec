#pragma once
// The main window in a test process, over a port map of one port (COM19, a
// port without a device unless a test starts the simulated radio on it)
// and settings under a key of the test's own, deleted first: a test depends
// on no other.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/DlgMain.h"
#include "testkit/LoomTestWindow.h"

inline std::unique_ptr<DlgMain> OpenTestMainWindow(const char* portMapKey, const char* settingsKey, int comPort = 19,
                                                   const char* guideFolder = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, portMapKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const std::string data = "COM" + std::to_string(comPort);
    ::RegSetValueExA(key, "\\Device\\Serial18", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, settingsKey);
    auto window = std::make_unique<DlgMain>(MainWindowPlaces{portMapKey, settingsKey, guideFolder});
    if (window->Create(nullptr, "main", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0x00060000, 0, 0, 670, 444) == nullptr)
        return nullptr;
    return window;
}

// A test's main window, opened by the test's SetUp and destroyed after it.
class MainWindowFixture : public ::testing::Test {
protected:
    void TearDown() override {
        if (window && window->GetHWND() != nullptr) ::DestroyWindow(window->GetHWND());
        window.reset();
    }
    // What is pending painted, and the messages handled.
    void Paint() {
        ::UpdateWindow(window->GetHWND());
        LoomTest::TestWindow::Pump();
    }
    MainWindowControls& C() { return window->Controls(); }

    std::unique_ptr<DlgMain> window;
};

// A port in the test's serial map for as long as it lives or until Remove,
// as an adapter plugged in; Windows' announcement is the test's to send.
// Wine lists the map's values sorted by name: "\\Device\\Serial0" comes
// before the window's own port.
class MappedPort {
public:
    MappedPort(const char* mapKey, const char* valueName, int port) : mapKey_(mapKey), valueName_(valueName) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, mapKey, 0, KEY_SET_VALUE, &key));
        const std::string data = "COM" + std::to_string(port);
        ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>(data.size() + 1));
        ::RegCloseKey(key);
    }
    ~MappedPort() { Remove(); }
    MappedPort(const MappedPort&) = delete;
    MappedPort& operator=(const MappedPort&) = delete;
    void Remove() { ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, mapKey_.c_str(), valueName_.c_str()); }

private:
    std::string mapKey_, valueName_;
};

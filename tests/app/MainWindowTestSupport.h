#pragma once
// The main window in a test process, over a port map of one port (COM19, a
// port without a device unless a test starts the simulated radio on it)
// and settings under a key of the test's own, deleted first: a test depends
// on no other.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/DlgMain.h"

inline std::unique_ptr<DlgMain> OpenTestMainWindow(const char* portMapKey, const char* settingsKey, int comPort = 19) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, portMapKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const std::string data = "COM" + std::to_string(comPort);
    ::RegSetValueExA(key, "\\Device\\Serial18", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, settingsKey);
    auto window = std::make_unique<DlgMain>(MainWindowPlaces{portMapKey, settingsKey});
    if (window->Create(nullptr, "main", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0x00060000, 0, 0, 670, 444) == nullptr)
        return nullptr;
    return window;
}

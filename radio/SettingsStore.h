#pragma once
#include "radio/Settings.h"

class ISettingsWindow;

// Where the settings live, under HKEY_CURRENT_USER.
constexpr const char* kSettingsKeyPath = "Software\\Quillet";

// Reads "Port", "PortName", "Baud" and "Chinese" from the settings key and applies what
// fits the window's boxes (ReadSettingsValue, ApplySettings). Values that are
// not REG_SZ, or too long for 256 bytes, are ignored; a missing key changes
// nothing. Returns what was applied, so the rate can be selected again after
// the language has refilled the rate box. Window thread. `keyPath` is for tests.
RememberedSettings LoadSettings(ISettingsWindow& window, const char* keyPath = kSettingsKeyPath);

// Stores the port and rate positions (-1 when nothing is selected), the
// port's name ("COM5", empty for none) and the language (1 Chinese, 0
// English), each as a 256-byte REG_SZ block, creating
// the key when needed. False when the key cannot be created or a value not
// written; the old values then stay. Window thread. `keyPath` is for tests.
bool SaveSettings(const ISettingsWindow& window, const char* keyPath = kSettingsKeyPath);

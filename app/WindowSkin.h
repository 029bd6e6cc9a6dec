#pragma once
#include <string>

// The markup every window of the tool is built from: the window settings
// (caption band, rounded corners, the design size, resize borders, text
// colour), its three fonts (0: 12 default, 1: 13 bold, 2: 11), the default
// look of vertical scroll bars, and the empty root layout "main" to which
// the window appends its controls.
std::string BuildWindowSkin(int designWidth, int designHeight);

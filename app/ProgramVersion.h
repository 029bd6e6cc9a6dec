#pragma once
#include <string>

// The program's version as its windows show it, from the project version
// (res/version.h): "V001.01.08" for 1.1.8.
std::string ShownVersion();

// The main window's title, in its title bar and as its caption:
// "Velmora Configuration Tool-V001.01.08" and the Chinese name likewise.
std::string MainWindowTitle(bool chinese);

#pragma once
#include <string>

// The traffic log's folder: "VelmoraConfig\Logs" under the user's local
// application data (%LOCALAPPDATA%). Creates what is missing; false when
// there is no such place or it cannot be made (then nothing is logged).
bool PrepareLogFolder(std::string& folder);

// Opens the folder in Explorer; the shell is loaded at this first use.
bool OpenFolderInExplorer(const std::string& folder);

// Opens the file with the program Windows has for its type (a browser for
// an .html page); false when the shell cannot be loaded or no program
// takes it.
bool OpenWithDefaultProgram(const std::string& file);

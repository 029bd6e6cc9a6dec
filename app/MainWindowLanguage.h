#pragma once
#include "app/LanguageTable.h"
#include "app/MainWindowTree.h"

// The main window's texts, titles, tool tips, widths and menu panels in
// Chinese or in English (the lists are filled by the window).
void ApplyLanguage(MainWindowControls& controls, LanguageTable& table, bool chinese);

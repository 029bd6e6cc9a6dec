#pragma once
#include <windows.h>

// Drops the presses (mouse buttons, keys, characters) made at the window and
// its children before now, while a command held the window: they were made
// at a window that could not answer them. Releases stay.
void DropPressesMadeWhileBusy(HWND window);

// A stand-in program for the start-up benchmark while the main window does
// not exist: it starts like the program (COM, the program's resources) and
// shows the About dialog, which is built on the same window base and skin.
#include <windows.h>
#include <objbase.h>

#include "app/DlgAbout.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (FAILED(::CoInitialize(nullptr))) return 0;
    DlgAbout::Show(nullptr, false);
    ::CoUninitialize();
    return 0;
}

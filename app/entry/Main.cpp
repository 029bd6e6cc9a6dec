// The program: the main window and its message loop.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "Loom/Core/UIManager.h"
#include "app/DlgMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Loom::CUIManager::SetInstance(instance);
    if (FAILED(::CoInitialize(nullptr))) return 0;
    auto window = std::make_unique<DlgMain>();
    if (window->Open()) Loom::CUIManager::MessageLoop();
    ::CoUninitialize();
    // Its destructor stores the settings and closes the port.
    window.reset();
    return 0;
}

// The program: the main window and its message loop, or, when it is given
// options, the command line without a window.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "Loom/Core/UIManager.h"
#include "app/DlgMain.h"
#include "cli/Workshop.h"
#include "platform/LateLibrary.h"

namespace {

bool HasArguments(const wchar_t* commandLine) {
    for (const wchar_t* p = commandLine; p != nullptr && *p != L'\0'; ++p)
        if (*p != L' ' && *p != L'\t') return true;
    return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    LoadLibrariesFromSystemFolderOnly();
    if (HasArguments(commandLine)) return RunCommandLine();
    Loom::CUIManager::SetInstance(instance);
    if (FAILED(::CoInitialize(nullptr))) return 0;
    auto window = std::make_unique<DlgMain>();
    if (window->Open()) Loom::CUIManager::MessageLoop();
    ::CoUninitialize();
    // Its destructor stores the settings and closes the port.
    window.reset();
    return 0;
}

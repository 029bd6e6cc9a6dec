#include "platform/LogFolder.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/LateLibrary.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

namespace {

constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kShellExecute[] = "ShellExecuteW";

// Creates one folder level; an existing folder is fine, an existing file is not.
bool MakeFolder(const std::string& path) {
    const std::wstring wide = Text::Widen(path);
    if (::CreateDirectoryW(wide.c_str(), nullptr)) return true;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool PrepareLogFolder(std::string& folder) {
    std::string path;
    if (!Text::EnvironmentVariable("LOCALAPPDATA", path)) return false;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    // Room for the two levels and the rotated file names below them (the
    // wide path, in UTF-16 units, is what Windows limits).
    if (path.empty() || Text::Widen(path).size() > MAX_PATH - 64) return false;
    for (const char* level : {"\\VelmoraConfig", "\\Logs"}) {
        path += level;
        if (!MakeFolder(path)) return false;
    }
    folder = path;
    return true;
}

bool OpenFolderInExplorer(const std::string& folder) {
    const auto execute = LateFunction<decltype(&::ShellExecuteW), kShellLibrary, kShellExecute>();
    if (execute == nullptr) return false;
    const std::wstring wide = Text::Widen(folder);
    // Some shells know no "explore" verb for a folder; "open" shows it too.
    for (const wchar_t* verb : {L"explore", L"open"}) {
        const HINSTANCE result = execute(nullptr, verb, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    }
    return false;
}

bool OpenWithDefaultProgram(const std::string& file) {
    const auto execute = LateFunction<decltype(&::ShellExecuteW), kShellLibrary, kShellExecute>();
    if (execute == nullptr) return false;
    const HINSTANCE result = execute(nullptr, L"open", Text::Widen(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

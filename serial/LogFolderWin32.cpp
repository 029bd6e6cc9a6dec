#include "serial/LogFolder.h"

#include <windows.h>
#include <shellapi.h>

#include "serial/LateLibrary.h"

namespace {

constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kShellExecute[] = "ShellExecuteA";

// Creates one folder level; an existing folder is fine, an existing file is not.
bool MakeFolder(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool PrepareLogFolder(std::string& folder) {
    char base[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    if (n == 0 || n >= sizeof base) return false;
    std::string path(base, n);
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    // Room for the two levels and the rotated file names below them.
    if (path.empty() || path.size() > MAX_PATH - 64) return false;
    for (const char* level : {"\\VelmoraConfig", "\\Logs"}) {
        path += level;
        if (!MakeFolder(path)) return false;
    }
    folder = path;
    return true;
}

bool OpenFolderInExplorer(const std::string& folder) {
    const auto execute = LateFunction<decltype(&::ShellExecuteA), kShellLibrary, kShellExecute>();
    if (execute == nullptr) return false;
    // Some shells know no "explore" verb for a folder; "open" shows it too.
    for (const char* verb : {"explore", "open"}) {
        const HINSTANCE result = execute(nullptr, verb, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    }
    return false;
}

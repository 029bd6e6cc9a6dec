// A library planted beside the program under the name of a system library.
// Loaded, it appends its own path to the file named by VELMORA_PLANTED_LOG
// and refuses to load, so the program goes on without it and a test sees
// that it was reached.
#include <windows.h>

#include "platform/UniqueHandle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t log[MAX_PATH];
    const DWORD logLength = ::GetEnvironmentVariableW(L"VELMORA_PLANTED_LOG", log, MAX_PATH);
    char path[MAX_PATH + 2];
    const DWORD length = ::GetModuleFileNameA(self, path, MAX_PATH);
    if (logLength == 0 || logLength >= MAX_PATH || length == 0 || length >= MAX_PATH) return FALSE;
    path[length] = '\n';
    const UniqueFile file(
        ::CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.get(), path, length + 1, &written, nullptr);
    return FALSE;
}

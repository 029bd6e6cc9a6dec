#pragma once
#include <windows.h>

// Libraries come from the system folder only. Windows takes a handful of
// system libraries (the "known DLLs": kernel32, user32, gdi32, shell32, ...)
// from its own folder whatever the program asks; any other library loaded by
// bare name is looked for in the program's folder first, so a file of that
// name beside the program (the portable zip unpacked into Downloads) would be
// loaded into it and run as the user. The program imports known DLLs only
// (scripts/package checks it), restricts the search first thing, and loads
// every other library through LoadSystemLibrary.

// Makes the system folder the only place the libraries loaded from now on
// come from, whether the program or the system on its behalf loads them.
// First thing in each program.
inline void LoadLibrariesFromSystemFolderOnly() {
    // Windows 7 has it only with its update KB2533623: looked up rather than
    // imported, so that the program starts without it.
    using SetDefaultFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    // Without it, at least the current folder is left out of the search.
    if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryW(L"");
}

// The system library `name` (a bare file name such as "gdiplus.dll") from
// the system folder; null when it cannot be loaded there. A library that the
// program's manifest redirects (the common controls, version 6) still comes
// from where the manifest says.
inline HMODULE LoadSystemLibrary(const char* name) {
    constexpr size_t kMaxName = 64;  // far more than any system library's name
    wchar_t wide[kMaxName];
    size_t length = 0;
    for (; name[length] != '\0'; ++length) {
        if (length + 1 >= kMaxName) return nullptr;
        wide[length] = static_cast<unsigned char>(name[length]);
    }
    wide[length] = L'\0';
    const HMODULE module = ::LoadLibraryExW(wide, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // A Windows 7 without that update knows no search flags: the full path.
    wchar_t path[MAX_PATH];
    const UINT folder = ::GetSystemDirectoryW(path, MAX_PATH);
    if (folder == 0 || folder + 1 + length >= MAX_PATH) return nullptr;
    path[folder] = L'\\';
    for (size_t i = 0; i <= length; ++i) path[folder + 1 + i] = wide[i];
    return ::LoadLibraryW(path);
}

// The function `name` of a loaded library as type Fn; null when the library
// is null or has no such function.
template <class Fn>
Fn LibraryFunction(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// A system library the program needs only now and then (the file dialogs,
// the shell for a link), loaded at its first use instead of with the program:
// every library the program imports is loaded and initialised before its
// first window can be made.

// The function Name of the library Library (both character arrays with static
// storage), as type Fn; the library is loaded from the system folder and the
// function looked up once, on the first call from any thread. Null when
// either is missing. The library then stays loaded as an imported one would:
// the shell, for one, may leave threads of its own running in it.
template <class Fn, const char* Library, const char* Name>
Fn LateFunction() {
    static const Fn function = []() -> Fn { return LibraryFunction<Fn>(LoadSystemLibrary(Library), Name); }();
    return function;
}

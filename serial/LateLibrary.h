#pragma once
#include <windows.h>

// A system library the program needs only now and then (the file dialogs,
// the shell for a link), loaded at its first use instead of with the program:
// every library the program imports is loaded and initialised before its
// first window can be made.

// The function Name of the library Library (both character arrays with static
// storage), as type Fn; the library is loaded and the function looked up
// once, on the first call from any thread. Null when either is missing. The
// library then stays loaded as an imported one would: the shell, for one, may
// leave threads of its own running in it.
template <class Fn, const char* Library, const char* Name>
Fn LateFunction() {
    static const Fn function = []() -> Fn {
        const HMODULE module = ::LoadLibraryA(Library);
        if (module == nullptr) return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, Name)));
    }();
    return function;
}

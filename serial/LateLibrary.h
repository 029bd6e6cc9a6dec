#pragma once
#include <windows.h>

// A system library the program needs only now and then (the file dialogs,
// the shell for a link), loaded at its first use instead of with the program:
// every library the program imports is loaded and initialised before its
// first window can be made. The library stays loaded until the owner ends.
class LateLibrary {
public:
    explicit LateLibrary(const char* name) : module_(::LoadLibraryA(name)) {}
    LateLibrary(const LateLibrary&) = delete;
    LateLibrary& operator=(const LateLibrary&) = delete;
    ~LateLibrary() {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }

    bool loaded() const { return module_ != nullptr; }

    // The function NAME of the library as type Fn (the type of the function
    // it names, e.g. decltype(&::GetOpenFileNameA)); null when the library or
    // the function is missing.
    template <class Fn>
    Fn Find(const char* name) const {
        if (module_ == nullptr) return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

// The function Name of the library Library (both character arrays with static
// storage), loaded and looked up once, on the first call from any thread;
// null when either is missing.
template <class Fn, const char* Library, const char* Name>
Fn LateFunction() {
    static const LateLibrary library(Library);
    static const Fn function = library.Find<Fn>(Name);
    return function;
}

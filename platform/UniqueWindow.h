#pragma once
#include <windows.h>

#include "platform/UniqueResource.h"

// Owner of a window a program creates for itself (the toolkit's tooltip
// window): destroyed with DestroyWindow unless it is already gone.
struct WindowPolicy {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static bool Close(Type wnd) { return !::IsWindow(wnd) || ::DestroyWindow(wnd) != FALSE; }
};
using UniqueWindow = UniqueResource<WindowPolicy>;

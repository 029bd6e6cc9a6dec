#include "Loom/Core/WindowDpi.h"

#include "platform/GdiHandles.h"
#include "platform/LateLibrary.h"

namespace Loom {

namespace {

constexpr char kShcore[] = "shcore.dll";
constexpr char kGetDpiForMonitor[] = "GetDpiForMonitor";

}  // namespace

int WindowDpi(HWND wnd) {
    // Looked up, not imported: the program also starts on Windows that lack them.
    using ForWindowFn = UINT(WINAPI*)(HWND);
    static const auto forWindow = LibraryFunction<ForWindowFn>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (forWindow != nullptr && wnd != nullptr) {
        const UINT dpi = forWindow(wnd);
        if (PlausibleDpi(dpi)) return static_cast<int>(dpi);
    }
    // Windows 8.1: the effective DPI of the window's monitor (0 is MDT_EFFECTIVE_DPI).
    using ForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const auto forMonitor = LateFunction<ForMonitorFn, kShcore, kGetDpiForMonitor>();
    if (forMonitor != nullptr && wnd != nullptr) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && PlausibleDpi(x))
            return static_cast<int>(x);
    }
    const WindowDC screen(nullptr);
    const int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return PlausibleDpi(dpi) ? dpi : 96;
}

}  // namespace Loom

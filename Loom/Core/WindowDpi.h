#pragma once
#include <windows.h>

namespace Loom {

// The DPI a window is drawn at: its monitor's where the process is aware of
// each monitor's scale (Windows 10 1607 and later by the window, 8.1 by the
// monitor), else the system's; 96 when nothing says.
int WindowDpi(HWND wnd);

// A DPI a window could be drawn at (24 to 2304, a quarter of 96 to 24
// times it); anything else is no scale at all, whoever says it.
constexpr bool PlausibleDpi(long long dpi) { return dpi >= 24 && dpi <= 24 * 96; }

// The window message a window gets when it moves to a monitor of another
// scale (wParam: the new DPI twice; lParam: the rectangle the system
// suggests at it). Named here: older headers lack it.
constexpr UINT kDpiChangedMessage = 0x02E0;

}  // namespace Loom

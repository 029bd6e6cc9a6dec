#include "app/DroppedInput.h"

#include <vector>

namespace {

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

}  // namespace

// A radio command holds the window until the radio has answered or its
// bound has passed. Clicks and keys made meanwhile were made at a window
// that could not answer them: their presses are dropped, so that an
// impatient second click does not run the command again (and wait its bound
// again) once the first ends, and an Escape does not end the program. Only
// presses go, at the window and at its children (the edit being typed in):
// releases stay, since the press that started the command (a menu item runs
// on its press) still has its release to come.
void DropPressesMadeWhileBusy(HWND window) {
    const DWORD now = ::GetTickCount();
    std::vector<HWND> windows{window};
    ::EnumChildWindows(window, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    // Sent messages wait: whoever waits for this window to be idle sees it
    // only after the drop, and its next press comes after `now`.
    constexpr UINT kQueues = PM_QS_INPUT | PM_QS_POSTMESSAGE;
    MSG msg;
    for (HWND wnd : windows) {
        for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_KEYDOWN, WM_CHAR,
                           WM_SYSKEYDOWN, WM_SYSCHAR})
            while (::PeekMessageW(&msg, wnd, press, press, PM_NOREMOVE | kQueues) &&
                   static_cast<LONG>(msg.time - now) < 0)
                ::PeekMessageW(&msg, wnd, press, press, PM_REMOVE | kQueues);
    }
}

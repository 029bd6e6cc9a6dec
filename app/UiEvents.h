#pragma once

// The main window's own message: lParam is the kind, wParam its argument.
// The firmware download sends it (synchronously) from its worker thread; the
// radio search and the radio jobs post it from theirs; the window's menu
// code posts the refresh kind.
constexpr unsigned kWmAppUiEvent = 0x0400 + 3001;  // WM_USER + 3001 = 4025

enum UiEventKind : long {
    kUiBusy = 1,            // wParam 1: busy on, anything else: busy off
    kUiSuccess = 2,         // wParam: the control whose caption names the action
    kUiFailure = 3,         // likewise
    kUiRefresh = 5,         // wParam: a control to toggle enabled twice
    kUiProgress = 6,        // wParam: 0..10000
    kUiSearchStep = 7,      // the radio search tries its next port and rate
    kUiSearchDone = 8,      // the radio search has ended
    kUiJobProgress = 9,     // a radio job sends its next command
    kUiJobDone = 10,        // a radio job has ended and closed the port
    kUiPortsChanged = 13,   // Windows announced a device arriving or leaving (posted once a burst)
    kUiFirmwareEnded = 12,  // wParam: the download's Outcome, valid while the message is handled (sent)
};

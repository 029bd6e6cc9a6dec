#pragma once

// Numbers shared by the controls and the paint manager. Free of <windows.h>
// so the portable logic can use them too.
namespace Loom {

// Kinds of UIEvent. The values are fixed: the mouse events are exactly the
// kinds EventMouseFirst..EventMouseLast, and containers that ignore the mouse
// test that range.
enum EventKind : int {
    EventKeyDown = 3,
    EventKeyUp = 4,
    EventChar = 5,
    EventSysKey = 6,
    EventMouseMove = 9,
    EventMouseLeave = 10,
    EventMouseEnter = 11,
    EventMouseHover = 12,
    EventButtonDown = 13,
    EventButtonUp = 14,
    EventRButtonDown = 15,
    EventDoubleClick = 16,
    EventContextMenu = 17,
    EventScrollWheel = 18,
    EventKillFocus = 20,
    EventSetFocus = 21,
    EventWindowSize = 22,
    EventSetCursor = 23,
    EventTimer = 24,
    EventWindowFocus = 25,  // the window took the keyboard focus from the system

    EventMouseFirst = EventMouseMove,
    EventMouseLast = EventScrollWheel,
};

inline bool IsMouseEvent(int kind) { return kind >= EventMouseFirst && kind <= EventMouseLast; }

// Flags of FindControl.
enum FindFlag : unsigned {
    FindAll = 0x0,
    FindVisible = 0x1,          // only visible controls
    FindEnabled = 0x2,          // only enabled controls
    FindHitTest = 0x4,          // the data is a point that must lie in the control
    FindTopFirst = 0x8,         // children last to first
    FindMeFirst = 0x80000000u,  // a container before its children
};

// Flags of GetControlFlags.
enum ControlFlag : unsigned {
    ControlFlagTabStop = 0x1,    // the control takes part in Tab navigation
    ControlFlagSetCursor = 0x2,  // the control sets its own cursor
};

// Key state of keyboard, wheel and cursor events, composed from the live keys.
enum KeyStateFlag : unsigned {
    KeyStateRButton = 0x1,
    KeyStateLButton = 0x2,
    KeyStateShift = 0x4,
    KeyStateControl = 0x8,
    KeyStateAlt = 0x20,
};

// The state word of buttons, options, edits, combos and scroll-bar parts.
enum ControlState : unsigned {
    StateFocused = 0x1,
    StateSelected = 0x2,
    StateDisabled = 0x4,
    StateHot = 0x8,
    StatePushed = 0x10,
    StateCaptured = 0x40,  // the mouse went down on it
};

}  // namespace Loom

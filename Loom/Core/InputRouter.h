#pragma once
#include <windows.h>

#include <vector>

namespace Loom {

class CControlUI;
class CUIManager;

// The input side of a window's manager: the focus, hover, capture and
// key-down controls, the Tab order, the shortcut search and the keyboard
// cues. It turns the window's mouse and key messages into control events.
// The manager owns it and keeps the public calls that reach it. Every
// change of the focus control passes through ChangeFocus. Window thread only.
class InputRouter {
public:
    explicit InputRouter(CUIManager& manager);
    InputRouter(const InputRouter&) = delete;
    InputRouter& operator=(const InputRouter&) = delete;

    CControlUI* Focus() const { return focus_; }
    CControlUI* Hover() const { return hover_; }
    CControlUI* Capture() const { return capture_; }
    CControlUI* KeyDownTarget() const { return keyDownTarget_; }
    bool IsCaptured() const { return mouseCaptured_; }
    POINT LastMouse() const { return lastMouse_; }

    void SetFocus(CControlUI* control);
    void SetFocusNeeded(CControlUI* control);
    bool IsFocusNeeded() const { return focusNeeded_; }
    bool SetNextTabControl(bool forward);
    void SetTabSkipped(CControlUI* control, bool skipped);
    void SetCapture();
    void ReleaseCapture();

    // Shown from the first key that moves in the window (Tab, Alt, F10)
    // until the next mouse press, or always while Windows is set to
    // underline access keys (SPI_GETKEYBOARDCUES).
    bool AreKeyboardCuesShown() const { return keyboardCues_ || systemCues_; }
    void ShowKeyboardCues(bool shown);
    // Reads Windows' setting again, when the system says a setting changed.
    void RefreshSystemCues();
    RECT FocusCueRect(const CControlUI* control) const;
    void PaintFocusCue(HDC dc);

    // A new root: no control is focused, hovered or captured, and the first
    // tab stop takes the focus after the first layout.
    void Reset();
    // Drops every reference to a control that is being destroyed.
    void Forget(CControlUI* control);

    // The window's messages. True when handled; result is valid then.
    bool HandleKeyMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Tab, system keys and shortcuts, before the message is dispatched.
    bool PreTranslate(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window took the keyboard focus from the system (its activation, a
    // message box that closed): the focus control hears EventWindowFocus,
    // so an edit gives its native window the typing again. Not sent when the
    // router itself moved the focus to the window.
    void OnWindowFocus();
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    // The hover control's mouse-leave, the capture's button-up, no focus;
    // false when the manager was destroyed meanwhile.
    bool OnClose();

private:
    // The one place where the focus control changes.
    void ChangeFocus(CControlUI* control);
    // Sends the kill-focus event and notification; false when the manager
    // was destroyed meanwhile.
    bool KillFocusOf(CControlUI* newFocus);
    std::vector<CControlUI*> TabWalk() const;
    bool IsTabStop(CControlUI* control) const;
    bool HandleSysChar(WPARAM wParam);
    // A key event (EventKeyDown, ...) with the key and the live key state.
    void SendKeyEvent(int kind, CControlUI* target, WPARAM key);
    void InvalidateFocusCue(const CControlUI* control);
    // ::SetFocus on the window, marked as the router's own move.
    void FocusWindow();
    CControlUI* ControlAt(POINT pt) const;

    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnButtonDown(int kind, bool takeFocus, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();

    CUIManager& m_;
    CControlUI* focus_ = nullptr;
    CControlUI* hover_ = nullptr;
    CControlUI* capture_ = nullptr;
    CControlUI* keyDownTarget_ = nullptr;
    // The control a SetFocus in progress is about to focus (cleared if it
    // is destroyed meanwhile) and the count of focus requests, by which a
    // request learns that a kill-focus handler moved the focus itself.
    CControlUI* pendingFocus_ = nullptr;
    unsigned focusRequests_ = 0;
    POINT lastMouse_{-1, -1};
    bool focusNeeded_ = false;
    bool mouseTracking_ = false;
    bool mouseCaptured_ = false;
    bool keyboardCues_ = false;
    bool systemCues_ = false;
    bool focusingWindow_ = false;  // inside FocusWindow
    std::vector<CControlUI*> tabSkipped_;
};

}  // namespace Loom

#include "Loom/Core/InputRouter.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "Loom/Core/AccessibleUI.h"
#include "Loom/Core/ControlUI.h"
#include "Loom/Core/TextRules.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

namespace {

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

CControlUI* CollectProc(CControlUI* control, void* data) {
    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

struct ShortcutSearch {
    char key = 0;
    bool takeNext = false;
};

// A mnemonic on a label stands for the next control that is not a label.
CControlUI* ShortcutProc(CControlUI* control, void* data) {
    auto* search = static_cast<ShortcutSearch*>(data);
    if (!control->IsVisible()) return nullptr;
    const bool label = std::strstr(control->GetClass(), "LabelUI") != nullptr;
    if (search->takeNext && !label) return control;
    if (control->GetShortcut() == '\0' || UpperAscii(control->GetShortcut()) != search->key) return nullptr;
    if (label) {
        search->takeNext = true;
        return nullptr;
    }
    return control;
}

}  // namespace

CControlUI* InputRouter::ControlAt(POINT pt) const {
    CControlUI* control = m_.FindControl(pt);
    return control != nullptr && control->GetManager() == &m_ ? control : nullptr;
}

// --- the focus ----------------------------------------------------------------

void InputRouter::ChangeFocus(CControlUI* control) {
    if (control == focus_) return;
    InvalidateFocusCue(focus_);
    focus_ = control;
    InvalidateFocusCue(focus_);
}

bool InputRouter::KillFocusOf(CControlUI* newFocus) {
    const std::weak_ptr<int> life = m_.LifeToken();
    CControlUI* old = focus_;
    UIEvent event = m_.MakeEvent(EventKillFocus, newFocus);
    old->Event(event);
    if (life.expired()) return false;
    // The old control may have been destroyed or the focus moved meanwhile.
    if (focus_ == old) m_.SendNotify(old, "killfocus");
    if (life.expired()) return false;
    if (focus_ == old) ChangeFocus(nullptr);
    return true;
}

void InputRouter::SetFocus(CControlUI* control) {
    HWND wnd = m_.wnd_;
    if (wnd != nullptr && ::GetFocus() != wnd && control != focus_) FocusWindow();
    if (control == focus_) return;
    const unsigned request = ++focusRequests_;
    pendingFocus_ = control;
    if (focus_ != nullptr && !KillFocusOf(control)) return;
    // A kill-focus handler that moved the focus elsewhere has the last word;
    // one that destroyed the control about to be focused leaves no focus.
    if (request != focusRequests_ || pendingFocus_ != control) return;
    pendingFocus_ = nullptr;
    if (control == nullptr) return;
    if (control->GetManager() != &m_ || !control->IsVisible() || !control->IsEnabled()) return;
    ChangeFocus(control);
    const std::weak_ptr<int> life = m_.LifeToken();
    UIEvent event = m_.MakeEvent(EventSetFocus, control);
    control->Event(event);
    if (life.expired() || focus_ != control) return;
    AnnounceAccessible(*control, EVENT_OBJECT_FOCUS);
    m_.SendNotify(control, "setfocus");
}

void InputRouter::FocusWindow() {
    focusingWindow_ = true;
    ::SetFocus(m_.wnd_);
    focusingWindow_ = false;
}

void InputRouter::OnWindowFocus() {
    if (focusingWindow_ || focus_ == nullptr) return;
    UIEvent event = m_.MakeEvent(EventWindowFocus, focus_);
    focus_->Event(event);
}

void InputRouter::SetTabSkipped(CControlUI* control, bool skipped) {
    const auto at = std::find(tabSkipped_.begin(), tabSkipped_.end(), control);
    if (skipped && at == tabSkipped_.end() && control != nullptr) tabSkipped_.push_back(control);
    if (!skipped && at != tabSkipped_.end()) tabSkipped_.erase(at);
}

bool InputRouter::IsTabStop(CControlUI* control) const {
    if ((control->GetControlFlags() & ControlFlagTabStop) == 0) return false;
    for (CControlUI* c = control; c != nullptr; c = c->GetParent())
        if (std::find(tabSkipped_.begin(), tabSkipped_.end(), c) != tabSkipped_.end()) return false;
    return true;
}

std::vector<CControlUI*> InputRouter::TabWalk() const {
    std::vector<CControlUI*> order;
    if (m_.root_ != nullptr) m_.root_->FindControl(CollectProc, &order, FindVisible | FindEnabled | FindMeFirst);
    return order;
}

bool InputRouter::SetNextTabControl(bool forward) {
    if (m_.layoutNeeded_ && forward) {
        // Positions are not known yet: move the focus after the next layout.
        focusNeeded_ = true;
        if (m_.wnd_ != nullptr) ::InvalidateRect(m_.wnd_, nullptr, FALSE);
        return true;
    }
    const std::vector<CControlUI*> order = TabWalk();
    const int count = static_cast<int>(order.size());
    const auto at = std::find(order.begin(), order.end(), focus_);
    const int current = at == order.end() ? -1 : static_cast<int>(at - order.begin());
    CControlUI* found = nullptr;
    if (forward) {
        for (int i = current + 1; i < count && found == nullptr; ++i) {
            if (IsTabStop(order[i])) found = order[i];
        }
        for (int i = 0; i < count && found == nullptr; ++i) {
            if (IsTabStop(order[i])) found = order[i];
        }
    } else {
        for (int i = (current < 0 ? count : current) - 1; i >= 0 && found == nullptr; --i) {
            if (IsTabStop(order[i])) found = order[i];
        }
        for (int i = count - 1; i >= 0 && found == nullptr; --i) {
            if (IsTabStop(order[i])) found = order[i];
        }
    }
    if (found != nullptr) SetFocus(found);
    focusNeeded_ = false;
    return true;
}

void InputRouter::SetFocusNeeded(CControlUI* control) {
    if (m_.wnd_ != nullptr) FocusWindow();
    if (control == nullptr) return;
    ++focusRequests_;
    if (focus_ != nullptr && !KillFocusOf(control)) return;
    // Park the focus, without events, on the tab stop before the control, so
    // that the forward move after the next layout lands on the control.
    const std::vector<CControlUI*> order = TabWalk();
    const auto at = std::find(order.begin(), order.end(), control);
    CControlUI* before = nullptr;
    for (auto it = at; it != order.begin() && before == nullptr;) {
        --it;
        if (IsTabStop(*it)) before = *it;
    }
    ChangeFocus(before);
    focusNeeded_ = true;
    if (m_.root_ != nullptr) m_.root_->RequestLayout();
}

void InputRouter::SetCapture() {
    if (m_.wnd_ != nullptr) ::SetCapture(m_.wnd_);
    mouseCaptured_ = true;
}

void InputRouter::ReleaseCapture() {
    ::ReleaseCapture();
    mouseCaptured_ = false;
}

void InputRouter::Reset() {
    SetFocus(nullptr);
    hover_ = nullptr;
    capture_ = nullptr;
    keyDownTarget_ = nullptr;
    focusNeeded_ = true;
}

void InputRouter::Forget(CControlUI* control) {
    if (hover_ == control) hover_ = nullptr;
    if (capture_ == control) capture_ = nullptr;
    if (focus_ == control) ChangeFocus(nullptr);
    if (keyDownTarget_ == control) keyDownTarget_ = nullptr;
    if (pendingFocus_ == control) pendingFocus_ = nullptr;
    SetTabSkipped(control, false);
}

// --- the keyboard cues --------------------------------------------------------

namespace {

bool SystemShowsCues() {
    BOOL always = FALSE;
    return ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) && always;
}

}  // namespace

InputRouter::InputRouter(CUIManager& manager) : m_(manager), systemCues_(SystemShowsCues()) {}

void InputRouter::RefreshSystemCues() {
    const bool always = SystemShowsCues();
    if (always == systemCues_) return;
    systemCues_ = always;
    if (m_.wnd_ != nullptr) ::InvalidateRect(m_.wnd_, nullptr, FALSE);
}

void InputRouter::ShowKeyboardCues(bool shown) {
    if (shown == keyboardCues_) return;
    keyboardCues_ = shown;
    // The shortcut letters are anywhere in the window.
    if (m_.wnd_ != nullptr) ::InvalidateRect(m_.wnd_, nullptr, FALSE);
}

RECT InputRouter::FocusCueRect(const CControlUI* control) const {
    RECT rc = control->GetPos();
    // Outside the control, so that neither its image nor a native edit
    // window over it hides the cue; a gap and a width that grow with the scale.
    const int out = m_.scale_.Scale(CUIManager::kFocusCueGap + CUIManager::kFocusCueWidth);
    ::InflateRect(&rc, out, out);
    return rc;
}

void InputRouter::InvalidateFocusCue(const CControlUI* control) {
    if (!AreKeyboardCuesShown() || control == nullptr || m_.wnd_ == nullptr) return;
    const RECT rc = FocusCueRect(control);
    ::InvalidateRect(m_.wnd_, &rc, FALSE);
}

// In the system's highlight colour, which high contrast chooses too.
void InputRouter::PaintFocusCue(HDC dc) {
    if (!AreKeyboardCuesShown() || focus_ == nullptr || !focus_->IsVisible()) return;
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const DWORD argb = 0xFF000000u | (static_cast<DWORD>(GetRValue(highlight)) << 16) |
                       (static_cast<DWORD>(GetGValue(highlight)) << 8) | GetBValue(highlight);
    CRenderer::DrawRect(dc, FocusCueRect(focus_), m_.scale_.Scale(CUIManager::kFocusCueWidth), argb);
}

// --- keys -----------------------------------------------------------------------

void InputRouter::SendKeyEvent(int kind, CControlUI* target, WPARAM key) {
    UIEvent event = m_.MakeEvent(kind, target);
    event.key = static_cast<char>(key);
    event.keyState = CUIManager::LiveKeyState();
    target->Event(event);
}

bool InputRouter::HandleKeyMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_KEYDOWN:
        if (focus_ != nullptr) {
            keyDownTarget_ = focus_;
            SendKeyEvent(EventKeyDown, focus_, wParam);
        }
        return false;
    case WM_KEYUP:
        if (keyDownTarget_ != nullptr) {
            // The key-up belongs to the control that saw the key go down,
            // even if the focus has moved since.
            CControlUI* target = keyDownTarget_;
            keyDownTarget_ = nullptr;
            SendKeyEvent(EventKeyUp, target, wParam);
        }
        return false;
    case WM_CHAR:
        if (focus_ != nullptr) {
            SendKeyEvent(EventChar, focus_, wParam);
        }
        return false;
    default:
        return false;
    }
}

bool InputRouter::PreTranslate(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& result) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) return false;
        // A rich edit that wants tabs answers "WantTab" as well.
        if (focus_ != nullptr && focus_->IsVisible() && focus_->IsEnabled() &&
            focus_->GetInterface("RichEdit") != nullptr && focus_->GetInterface("WantTab") != nullptr) {
            return false;
        }
        ShowKeyboardCues(true);
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        result = 0;
        return true;
    case WM_SYSKEYDOWN:
        ShowKeyboardCues(true);
        if (focus_ != nullptr) {
            SendKeyEvent(EventSysKey, focus_, wParam);
        }
        return false;
    case WM_SYSCHAR:
        if (!HandleSysChar(wParam)) return false;
        result = 0;
        return true;
    default:
        return false;
    }
}

bool InputRouter::HandleSysChar(WPARAM wParam) {
    if (m_.root_ == nullptr) return false;
    ShortcutSearch search;
    search.key = UpperAscii(static_cast<char>(wParam));
    // Children first to last, so that the control after a label is the one
    // a mnemonic on the label reaches.
    CControlUI* found = m_.root_->FindControl(ShortcutProc, &search, FindEnabled | FindMeFirst);
    if (found == nullptr) return false;
    found->SetFocus();
    found->Activate();
    return true;
}

// --- the mouse ------------------------------------------------------------------

bool InputRouter::HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return false;
    case WM_LBUTTONDOWN:
        OnButtonDown(EventButtonDown, true, wParam, lParam);
        return false;
    case WM_LBUTTONDBLCLK:
        OnButtonDown(EventDoubleClick, false, wParam, lParam);
        return false;
    case WM_RBUTTONDOWN:
        OnButtonDown(EventRButtonDown, true, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
        OnButtonUp(wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return false;
    case WM_MOUSEHOVER:
        if (!OnMouseHover(lParam)) return false;
        result = 0;
        return true;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    default:
        return false;
    }
}

bool InputRouter::OnClose() {
    const std::weak_ptr<int> life = m_.LifeToken();
    if (hover_ != nullptr) {
        CControlUI* control = std::exchange(hover_, nullptr);
        UIEvent event = m_.MakeEvent(EventMouseLeave, control);
        control->Event(event);
        if (life.expired()) return false;
    }
    if (capture_ != nullptr) {
        CControlUI* control = std::exchange(capture_, nullptr);
        UIEvent event = m_.MakeEvent(EventButtonUp, control);
        control->Event(event);
        if (life.expired()) return false;
    }
    SetFocus(nullptr);
    return !life.expired();
}

bool InputRouter::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (mouseCaptured_) {
        result = TRUE;
        return true;
    }
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_.wnd_, &pt);
    CControlUI* control = ControlAt(pt);
    if (control == nullptr || (control->GetControlFlags() & ControlFlagSetCursor) == 0) return false;
    UIEvent event = m_.MakeEvent(EventSetCursor, control, wParam, lParam);
    event.mousePoint = pt;
    event.keyState = CUIManager::LiveKeyState();
    control->Event(event);
    result = TRUE;
    return true;
}

void InputRouter::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    POINT pt = PointOf(lParam);
    ::ScreenToClient(m_.wnd_, &pt);
    lastMouse_ = pt;
    if (capture_ == nullptr) return;
    // The router's own state first: the control's menu handler may destroy
    // the window and the manager with it.
    ::ReleaseCapture();
    CControlUI* control = std::exchange(capture_, nullptr);
    mouseCaptured_ = false;
    UIEvent event = m_.MakeEvent(EventContextMenu, control, 0, reinterpret_cast<LPARAM>(control));
    event.keyState = static_cast<WORD>(wParam);
    control->Event(event);
}

void InputRouter::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!mouseTracking_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_.wnd_;
        track.dwHoverTime = m_.toolTip_.InitialDelay();
        ::TrackMouseEvent(&track);
        mouseTracking_ = true;
    }
    const POINT pt = PointOf(lParam);
    lastMouse_ = pt;
    CControlUI* newHover = m_.FindControl(pt);
    if (newHover != nullptr && newHover->GetManager() != &m_) return;
    const std::weak_ptr<int> life = m_.LifeToken();
    if (newHover != hover_) {
        if (hover_ != nullptr) {
            CControlUI* old = hover_;
            hover_ = nullptr;
            UIEvent event = m_.MakeEvent(EventMouseLeave, old, wParam, lParam);
            event.keyState = static_cast<WORD>(wParam);
            old->Event(event);
            if (life.expired()) return;
            m_.toolTip_.Hide();
        }
        if (newHover != nullptr) {
            // Stored first, so that a control destroyed by its own event is
            // forgotten here too.
            hover_ = newHover;
            UIEvent event = m_.MakeEvent(EventMouseEnter, newHover, wParam, lParam);
            event.keyState = static_cast<WORD>(wParam);
            newHover->Event(event);
            if (life.expired()) return;
        }
    }
    CControlUI* target = capture_ != nullptr ? capture_ : hover_;
    if (target == nullptr) return;
    UIEvent event = m_.MakeEvent(EventMouseMove, target, wParam, lParam);
    event.keyState = static_cast<WORD>(wParam);
    target->Event(event);
}

void InputRouter::OnButtonDown(int kind, bool takeFocus, WPARAM wParam, LPARAM lParam) {
    if (takeFocus) FocusWindow();
    ShowKeyboardCues(false);
    const POINT pt = PointOf(lParam);
    lastMouse_ = pt;
    CControlUI* control = ControlAt(pt);
    if (control == nullptr) return;
    // A disabled control takes neither the mouse nor the focus from the rest
    // of the window; it still sees the press.
    if (control->IsEnabled()) {
        capture_ = control;
        const std::weak_ptr<int> life = m_.LifeToken();
        if (takeFocus) control->SetFocus();
        if (life.expired() || capture_ != control) return;  // destroyed while it took the focus
        SetCapture();
    }
    UIEvent event = m_.MakeEvent(kind, control, wParam, lParam);
    event.keyState = static_cast<WORD>(wParam);
    control->Event(event);
}

void InputRouter::OnButtonUp(WPARAM wParam, LPARAM lParam) {
    lastMouse_ = PointOf(lParam);
    if (capture_ == nullptr) return;
    // The router's own state first: the click this button-up makes may
    // destroy the window and the manager with it.
    ::ReleaseCapture();
    CControlUI* control = std::exchange(capture_, nullptr);
    mouseCaptured_ = false;
    UIEvent event = m_.MakeEvent(EventButtonUp, control, wParam, lParam);
    event.keyState = static_cast<WORD>(wParam);
    control->Event(event);
}

void InputRouter::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT pt = PointOf(lParam);
    ::ScreenToClient(m_.wnd_, &pt);
    lastMouse_ = pt;
    CControlUI* control = ControlAt(pt);
    if (control == nullptr) return;
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    UIEvent event = m_.MakeEvent(EventScrollWheel, control, delta < 0 ? 1 : 0, lParam);
    event.keyState = CUIManager::LiveKeyState();
    const std::weak_ptr<int> life = m_.LifeToken();
    control->Event(event);
    if (life.expired()) return;
    // The content may have moved under the pointer: refresh the hover.
    ::SendMessageW(m_.wnd_, WM_MOUSEMOVE, 0, MAKELPARAM(lastMouse_.x, lastMouse_.y));
}

bool InputRouter::OnMouseHover(LPARAM lParam) {
    mouseTracking_ = false;
    const POINT pt = PointOf(lParam);
    CControlUI* control = ControlAt(pt);
    if (control == nullptr) return false;
    if (hover_ != nullptr) {
        UIEvent event = m_.MakeEvent(EventMouseHover, hover_, 0, lParam);
        event.mousePoint = pt;
        hover_->Event(event);
    }
    if (!control->GetToolTip().empty()) m_.ShowToolTip(control);
    return true;
}

void InputRouter::OnMouseLeave() {
    m_.toolTip_.Hide();
    // A move to (-1, -1) gives the hover control its mouse-leave.
    if (mouseTracking_) ::SendMessageW(m_.wnd_, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
    mouseTracking_ = false;
}

}  // namespace Loom

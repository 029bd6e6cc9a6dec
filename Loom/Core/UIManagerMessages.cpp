#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "Loom/Core/AccessibleUI.h"
#include "Loom/Core/ControlUI.h"
#include "Loom/Core/TextRules.h"
#include "Loom/Core/UIManager.h"
#include "platform/Wide.h"

// The manager's window messages and painting.

namespace Loom {

namespace {

// Re-placing controls that need an update stops after this many rounds, so
// that a control whose SetPos never clears its flag cannot hang painting.
constexpr int kMaxRelayouts = 100000;

// The reflected forms of messages a child window sends its parent.
constexpr UINT kReflectBase = 0x2000;

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

CControlUI* UpdateNeededProc(CControlUI* control, void* /*data*/) {
    return control->IsUpdateNeeded() ? control : nullptr;
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

bool CUIManager::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (wnd_ == nullptr) return false;
    const std::vector<IMessageFilterUI*> filters = filters_;
    for (IMessageFilterUI* filter : filters) {
        if (std::find(filters_.begin(), filters_.end(), filter) == filters_.end()) continue;
        bool handled = false;
        const LRESULT r = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            result = r;
            return true;
        }
    }
    if (HandleWindowMessage(message, wParam, lParam, result)) return true;
    if (HandleReflectedMessage(message, wParam, lParam, result)) return true;
    if (HandleKeyMessage(message, wParam, lParam, result)) return true;
    return HandleMouseMessage(message, wParam, lParam, result);
}

bool CUIManager::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == AccessibleActionMessage()) {
        RunPostedAccessibleActions(wnd_);
        result = 0;
        return true;
    }
    switch (message) {
    case WM_GETOBJECT:
        return AnswerGetObject(*this, wParam, lParam, result);
    case kDelayedCleanupMessage:
        RunDelayedCleanup();
        result = 0;
        return true;
    case WM_CLOSE:
        OnClose();
        return false;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        OnPaint();
        result = 0;
        return true;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        result = 0;
        return true;
    case WM_SIZE:
        if (focus_ != nullptr) {
            UIEvent event = MakeEvent(EventWindowSize, focus_);
            focus_->Event(event);
        }
        if (root_ != nullptr) root_->RequestLayout();
        result = 0;
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        return false;
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam, result);
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == nullptr) return false;
        // Given at 96 DPI, answered at the window's scale.
        if (minInfo_.cx > 0) info->ptMinTrackSize.x = scale_.Scale(minInfo_.cx);
        if (minInfo_.cy > 0) info->ptMinTrackSize.y = scale_.Scale(minInfo_.cy);
        if (maxInfo_.cx > 0) info->ptMaxTrackSize.x = scale_.Scale(maxInfo_.cx);
        if (maxInfo_.cy > 0) info->ptMaxTrackSize.y = scale_.Scale(maxInfo_.cy);
        return false;
    }
    case WM_CONTEXTMENU:
        OnContextMenu(wParam, lParam);
        return false;
    default:
        return false;
    }
}

bool CUIManager::HandleReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom == nullptr) return false;
        result = ::SendMessageW(header->hwndFrom, kReflectBase + WM_NOTIFY, wParam, lParam);
        return true;
    }
    case WM_COMMAND:
        if (lParam == 0) return false;
        result = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + WM_COMMAND, wParam, lParam);
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) return false;
        result = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam, lParam);
        // A child that has no colours of its own answers no brush; the
        // default procedure then supplies the system's.
        return result != 0;
    default:
        return false;
    }
}

bool CUIManager::HandleKeyMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& /*result*/) {
    switch (message) {
    case WM_KEYDOWN:
        if (focus_ != nullptr) {
            UIEvent event = MakeEvent(EventKeyDown, focus_);
            event.key = static_cast<char>(wParam);
            event.keyState = LiveKeyState();
            keyDownTarget_ = focus_;
            focus_->Event(event);
        }
        return false;
    case WM_KEYUP:
        if (keyDownTarget_ != nullptr) {
            // The key-up belongs to the control that saw the key go down,
            // even if the focus has moved since.
            CControlUI* target = keyDownTarget_;
            keyDownTarget_ = nullptr;
            UIEvent event = MakeEvent(EventKeyUp, target);
            event.key = static_cast<char>(wParam);
            event.keyState = LiveKeyState();
            target->Event(event);
        }
        return false;
    case WM_CHAR:
        if (focus_ != nullptr) {
            UIEvent event = MakeEvent(EventChar, focus_);
            event.key = static_cast<char>(wParam);
            event.keyState = LiveKeyState();
            focus_->Event(event);
        }
        return false;
    default:
        return false;
    }
}

bool CUIManager::HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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

void CUIManager::OnClose() {
    const std::weak_ptr<int> life = LifeToken();
    if (hover_ != nullptr) {
        CControlUI* control = std::exchange(hover_, nullptr);
        UIEvent event = MakeEvent(EventMouseLeave, control);
        control->Event(event);
        if (life.expired()) return;
    }
    if (capture_ != nullptr) {
        CControlUI* control = std::exchange(capture_, nullptr);
        UIEvent event = MakeEvent(EventButtonUp, control);
        control->Event(event);
        if (life.expired()) return;
    }
    SetFocus(nullptr);
    if (life.expired()) return;
    HWND owner = ::GetWindow(wnd_, GW_OWNER);
    if (owner != nullptr) ::SetFocus(owner);
}

bool CUIManager::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (mouseCaptured_) {
        result = TRUE;
        return true;
    }
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    ::ScreenToClient(wnd_, &pt);
    CControlUI* control = ControlOfThisManager(pt);
    if (control == nullptr || (control->GetControlFlags() & ControlFlagSetCursor) == 0) return false;
    UIEvent event = MakeEvent(EventSetCursor, control, wParam, lParam);
    event.mousePoint = pt;
    event.keyState = LiveKeyState();
    control->Event(event);
    result = TRUE;
    return true;
}

void CUIManager::OnTimer(WPARAM wParam) {
    const TTimerInfo* t = timers_.Find(wnd_, wParam);
    if (t == nullptr) return;
    CControlUI* control = t->control;
    UIEvent event = MakeEvent(EventTimer, control, t->localId, 0);
    control->Event(event);  // may change the timer list
}

void CUIManager::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    POINT pt = PointOf(lParam);
    ::ScreenToClient(wnd_, &pt);
    lastMouse_ = pt;
    if (capture_ == nullptr) return;
    // The manager's own state first: the control's menu handler may destroy
    // the window and this manager with it.
    ::ReleaseCapture();
    CControlUI* control = std::exchange(capture_, nullptr);
    mouseCaptured_ = false;
    UIEvent event = MakeEvent(EventContextMenu, control, 0, reinterpret_cast<LPARAM>(control));
    event.keyState = static_cast<WORD>(wParam);
    control->Event(event);
}

void CUIManager::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!mouseTracking_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = wnd_;
        track.dwHoverTime = toolTip_.InitialDelay();
        ::TrackMouseEvent(&track);
        mouseTracking_ = true;
    }
    const POINT pt = PointOf(lParam);
    lastMouse_ = pt;
    CControlUI* newHover = FindControl(pt);
    if (newHover != nullptr && newHover->GetManager() != this) return;
    const std::weak_ptr<int> life = LifeToken();
    if (newHover != hover_) {
        if (hover_ != nullptr) {
            CControlUI* old = hover_;
            hover_ = nullptr;
            UIEvent event = MakeEvent(EventMouseLeave, old, wParam, lParam);
            event.keyState = static_cast<WORD>(wParam);
            old->Event(event);
            if (life.expired()) return;
            toolTip_.Hide();
        }
        if (newHover != nullptr) {
            // Stored first, so that a control destroyed by its own event is
            // forgotten here too.
            hover_ = newHover;
            UIEvent event = MakeEvent(EventMouseEnter, newHover, wParam, lParam);
            event.keyState = static_cast<WORD>(wParam);
            newHover->Event(event);
            if (life.expired()) return;
        }
    }
    CControlUI* target = capture_ != nullptr ? capture_ : hover_;
    if (target == nullptr) return;
    UIEvent event = MakeEvent(EventMouseMove, target, wParam, lParam);
    event.keyState = static_cast<WORD>(wParam);
    target->Event(event);
}

void CUIManager::OnButtonDown(int kind, bool takeFocus, WPARAM wParam, LPARAM lParam) {
    if (takeFocus) ::SetFocus(wnd_);
    ShowKeyboardCues(false);
    const POINT pt = PointOf(lParam);
    lastMouse_ = pt;
    CControlUI* control = ControlOfThisManager(pt);
    if (control == nullptr) return;
    // A disabled control takes neither the mouse nor the focus from the rest
    // of the window; it still sees the press.
    if (control->IsEnabled()) {
        capture_ = control;
        const std::weak_ptr<int> life = LifeToken();
        if (takeFocus) control->SetFocus();
        if (life.expired() || capture_ != control) return;  // destroyed while it took the focus
        SetCapture();
    }
    UIEvent event = MakeEvent(kind, control, wParam, lParam);
    event.keyState = static_cast<WORD>(wParam);
    control->Event(event);
}

void CUIManager::OnButtonUp(WPARAM wParam, LPARAM lParam) {
    lastMouse_ = PointOf(lParam);
    if (capture_ == nullptr) return;
    // The manager's own state first: the click this button-up makes may
    // destroy the window and this manager with it.
    ::ReleaseCapture();
    CControlUI* control = std::exchange(capture_, nullptr);
    mouseCaptured_ = false;
    UIEvent event = MakeEvent(EventButtonUp, control, wParam, lParam);
    event.keyState = static_cast<WORD>(wParam);
    control->Event(event);
}

void CUIManager::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT pt = PointOf(lParam);
    ::ScreenToClient(wnd_, &pt);
    lastMouse_ = pt;
    CControlUI* control = ControlOfThisManager(pt);
    if (control == nullptr) return;
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    UIEvent event = MakeEvent(EventScrollWheel, control, delta < 0 ? 1 : 0, lParam);
    event.keyState = LiveKeyState();
    const std::weak_ptr<int> life = LifeToken();
    control->Event(event);
    if (life.expired()) return;
    // The content may have moved under the pointer: refresh the hover.
    ::SendMessageW(wnd_, WM_MOUSEMOVE, 0, MAKELPARAM(lastMouse_.x, lastMouse_.y));
}

bool CUIManager::OnMouseHover(LPARAM lParam) {
    mouseTracking_ = false;
    const POINT pt = PointOf(lParam);
    CControlUI* control = ControlOfThisManager(pt);
    if (control == nullptr) return false;
    if (hover_ != nullptr) {
        UIEvent event = MakeEvent(EventMouseHover, hover_, 0, lParam);
        event.mousePoint = pt;
        hover_->Event(event);
    }
    if (!control->GetToolTip().empty()) ShowToolTip(control);
    return true;
}

void CUIManager::ShowToolTip(CControlUI* control) {
    // The tip's width and its distance below the pointer are 96-DPI numbers.
    const int width = control->GetToolTipWidth();
    toolTip_.Show(wnd_, GetInstance(), control->GetToolTip(), control->GetPos(),
                  width > 0 ? scale_.Scale(width) : width, scale_.Scale(20));
}

void CUIManager::OnMouseLeave() {
    toolTip_.Hide();
    // A move to (-1, -1) gives the hover control its mouse-leave.
    if (mouseTracking_) ::SendMessageW(wnd_, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
    mouseTracking_ = false;
}

void CUIManager::OnPrintClient(HDC dc, LPARAM flags) {
    if (root_ == nullptr || dc == nullptr) return;
    RECT client{0, 0, 0, 0};
    ::GetClientRect(wnd_, &client);
    const int saved = ::SaveDC(dc);
    root_->DoPaint(dc, client);
    ::RestoreDC(dc, saved);
    if ((flags & PRF_CHILDREN) == 0) return;
    for (HWND child = ::GetWindow(wnd_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rc{0, 0, 0, 0};
        ::GetWindowRect(child, &rc);
        ::MapWindowPoints(HWND_DESKTOP, wnd_, reinterpret_cast<POINT*>(&rc), 2);
        POINT oldOrigin{0, 0};
        ::SetWindowOrgEx(dc, -rc.left, -rc.top, &oldOrigin);
        ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
        ::SetWindowOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    }
}

bool CUIManager::PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const std::vector<IMessageFilterUI*> filters = preFilters_;
    for (IMessageFilterUI* filter : filters) {
        if (std::find(preFilters_.begin(), preFilters_.end(), filter) == preFilters_.end()) continue;
        bool handled = false;
        const LRESULT r = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            result = r;
            return true;
        }
    }
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
            UIEvent event = MakeEvent(EventSysKey, focus_);
            event.key = static_cast<char>(wParam);
            event.keyState = LiveKeyState();
            focus_->Event(event);
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

bool CUIManager::HandleSysChar(WPARAM wParam) {
    if (root_ == nullptr) return false;
    ShortcutSearch search;
    search.key = UpperAscii(static_cast<char>(wParam));
    // Children first to last, so that the control after a label is the one
    // a mnemonic on the label reaches.
    CControlUI* found = root_->FindControl(ShortcutProc, &search, FindEnabled | FindMeFirst);
    if (found == nullptr) return false;
    found->SetFocus();
    found->Activate();
    return true;
}

// --- painting ----------------------------------------------------------------

// In the system's highlight colour, which high contrast chooses too.
void CUIManager::PaintFocusCue(HDC dc) {
    if (!keyboardCues_ || focus_ == nullptr || !focus_->IsVisible()) return;
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const DWORD argb = 0xFF000000u | (static_cast<DWORD>(GetRValue(highlight)) << 16) |
                       (static_cast<DWORD>(GetGValue(highlight)) << 8) | GetBValue(highlight);
    CRenderer::DrawRect(dc, FocusCueRect(focus_), scale_.Scale(kFocusCueWidth), argb);
}

void CUIManager::ReleaseOffscreen() {
    offscreenDC_.reset();
    offscreenBitmap_.reset();
    if (backgroundDC_ && backgroundOld_ != nullptr) ::SelectObject(backgroundDC_.get(), backgroundOld_);
    backgroundOld_ = nullptr;
    backgroundDC_.reset();
    backgroundBitmap_.reset();
}

void CUIManager::LayOutIfNeeded() {
    if (!layoutNeeded_) return;
    layoutNeeded_ = false;
    RECT client{0, 0, 0, 0};
    ::GetClientRect(wnd_, &client);
    if (::IsRectEmpty(&client)) return;
    wholeClientInvalid_ = IsWholeClientInvalid();
    if (root_->IsUpdateNeeded()) {
        root_->SetPos(client);
        ReleaseOffscreen();  // made again at the new size
    } else {
        for (int round = 0; round < kMaxRelayouts; ++round) {
            CControlUI* control = root_->FindControl(UpdateNeededProc, nullptr, FindVisible | FindMeFirst);
            if (control == nullptr) break;
            control->SetPos(control->GetPos());
        }
    }
    wholeClientInvalid_ = false;
    if (firstLayout_) {
        firstLayout_ = false;
        SendNotify(root_, "windowinit");
    }
}

// The update region is exactly the client rectangle (a region of another
// shape with the same bounds is not).
bool CUIManager::IsWholeClientInvalid() const {
    RECT client{0, 0, 0, 0};
    UniqueRegion update(::CreateRectRgn(0, 0, 0, 0));
    RECT box{0, 0, 0, 0};
    return ::GetClientRect(wnd_, &client) && !::IsRectEmpty(&client) && update &&
           ::GetUpdateRgn(wnd_, update.get(), FALSE) == SIMPLEREGION &&
           ::GetRgnBox(update.get(), &box) == SIMPLEREGION && ::EqualRect(&box, &client);
}

void CUIManager::OnPaint() {
    RECT update{0, 0, 0, 0};
    if (!::GetUpdateRect(wnd_, &update, FALSE)) return;
    if (root_ == nullptr) {
        PaintDC validate(wnd_);
        return;
    }
    LayOutIfNeeded();
    if (focusNeeded_) SetNextTabControl(true);
    if (root_ == nullptr) {
        PaintDC validate(wnd_);  // the root went away in a notification
        return;
    }
    const SIZE client = GetClientSize();
    if (offscreenPaint_ && !offscreenDC_ && client.cx > 0 && client.cy > 0) {
        offscreenDC_ = CompatibleDC(GetPaintDC());
        offscreenBitmap_.reset(::CreateCompatibleBitmap(GetPaintDC(), client.cx, client.cy));
    }
    {
        PaintDC paint(wnd_);
        const RECT& rc = paint.paint().rcPaint;
        if (offscreenPaint_ && offscreenDC_ && offscreenBitmap_) {
            PaintOffscreen(paint.get(), rc);
        } else {
            root_->DoPaint(paint.get(), rc);
            PaintFocusCue(paint.get());
        }
    }
    if (layoutNeeded_) ::InvalidateRect(wnd_, nullptr, FALSE);
}

void CUIManager::PaintOffscreen(HDC paintDC, const RECT& update) {
    HDC dc = offscreenDC_.get();
    SelectGuard selectBitmap(dc, offscreenBitmap_.get());
    const int width = update.right - update.left;
    const int height = update.bottom - update.top;
    if (bkTransparent_) {
        if (!backgroundDC_) {
            // Keep what the window shows now as the background to paint over.
            const SIZE client = GetClientSize();
            backgroundDC_ = CompatibleDC(paintDC);
            backgroundBitmap_.reset(::CreateCompatibleBitmap(paintDC, client.cx, client.cy));
            if (backgroundDC_ && backgroundBitmap_) {
                backgroundOld_ = ::SelectObject(backgroundDC_.get(), backgroundBitmap_.get());
                ::BitBlt(backgroundDC_.get(), update.left, update.top, width, height, paintDC, update.left, update.top,
                         SRCCOPY);
            }
        }
        if (backgroundDC_ && backgroundBitmap_) {
            ::BitBlt(dc, update.left, update.top, width, height, backgroundDC_.get(), update.left, update.top, SRCCOPY);
        }
    }
    const int saved = ::SaveDC(dc);
    root_->DoPaint(dc, update);
    ::RestoreDC(dc, saved);
    const std::vector<CControlUI*> overlays = postPaint_;
    for (CControlUI* control : overlays) {
        if (std::find(postPaint_.begin(), postPaint_.end(), control) != postPaint_.end()) {
            control->PaintOverlay(dc, update);
        }
    }
    PaintFocusCue(dc);
    ::BitBlt(paintDC, update.left, update.top, width, height, dc, update.left, update.top, SRCCOPY);
    if (showDirty_) {
        SelectGuard pen(paintDC, Process().redPen.get());
        SelectGuard brush(paintDC, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(paintDC, update.left, update.top, update.right, update.bottom);
    }
}

}  // namespace Loom

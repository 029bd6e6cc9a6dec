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

CControlUI* UpdateNeededProc(CControlUI* control, void* /*data*/) {
    return control->IsUpdateNeeded() ? control : nullptr;
}

// The system's colours or the high-contrast setting may have changed: they
// are read again and every window of the process, its native children
// too, is painted anew (only top-level windows hear of the change).
void RepaintForSystemColors() {
    CHighContrast::Refresh();
    for (CUIManager* manager : CUIManager::GetManagers()) {
        const HWND wnd = manager->GetPaintWindow();
        if (wnd != nullptr) ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
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
    if (input_.HandleKeyMessage(message, wParam, lParam)) return true;
    return input_.HandleMouseMessage(message, wParam, lParam, result);
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
        if (CControlUI* focus = input_.Focus()) {
            UIEvent event = MakeEvent(EventWindowSize, focus);
            focus->Event(event);
        }
        if (root_ != nullptr) root_->RequestLayout();
        result = 0;
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        return false;
    case WM_SETCURSOR:
        return input_.OnSetCursor(wParam, lParam, result);
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
        input_.OnContextMenu(wParam, lParam);
        return false;
    case WM_SETFOCUS:
        input_.OnWindowFocus();
        return false;
    case WM_SETTINGCHANGE:
        input_.RefreshSystemCues();
        RepaintForSystemColors();
        return false;
    case WM_SYSCOLORCHANGE:
        RepaintForSystemColors();
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

void CUIManager::OnClose() {
    if (!input_.OnClose()) return;
    HWND owner = ::GetWindow(wnd_, GW_OWNER);
    if (owner != nullptr) ::SetFocus(owner);
}

void CUIManager::OnTimer(WPARAM wParam) {
    const TTimerInfo* t = timers_.Find(wnd_, wParam);
    if (t == nullptr) return;
    CControlUI* control = t->control;
    UIEvent event = MakeEvent(EventTimer, control, t->localId, 0);
    control->Event(event);  // may change the timer list
}

void CUIManager::ShowToolTip(CControlUI* control) {
    // The tip's width and its distance below the pointer are 96-DPI numbers.
    const int width = control->GetToolTipWidth();
    toolTip_.Show(wnd_, GetInstance(), control->GetToolTip(), control->GetPos(),
                  width > 0 ? scale_.Scale(width) : width, scale_.Scale(20));
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
    return input_.PreTranslate(message, wParam, lParam, result);
}

// --- painting ----------------------------------------------------------------

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
    if (input_.IsFocusNeeded()) SetNextTabControl(true);
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
            input_.PaintFocusCue(paint.get());
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
    input_.PaintFocusCue(dc);
    ::BitBlt(paintDC, update.left, update.top, width, height, dc, update.left, update.top, SRCCOPY);
    if (showDirty_) {
        SelectGuard pen(paintDC, Process().redPen.get());
        SelectGuard brush(paintDC, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(paintDC, update.left, update.top, update.right, update.bottom);
    }
}

}  // namespace Loom

#include "Loom/Builder/WindowImplBase.h"

#include <windowsx.h>

#include <algorithm>

#include "Loom/Core/ControlUI.h"
#include "Loom/Core/WindowDpi.h"
#include "platform/GdiHandles.h"
#include "platform/Win32Text.h"

namespace Loom {

namespace {

WindowImplBase::FailureActions& Failure() {
    static WindowImplBase::FailureActions actions{&Text::MessageBoxUtf8, &::ExitProcess};
    return actions;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (Lower(*a) != Lower(*b)) return false;
    }
    return *a == *b;
}

// Controls in the caption band that take the mouse themselves: pressing on
// them must not start dragging the window.
bool TakesCaptionMouse(const CControlUI& control) {
    const char* name = control.GetClass();
    return SameIgnoringCase(name, "ButtonUI") || SameIgnoringCase(name, "OptionUI") || SameIgnoringCase(name, "TextUI");
}

// The work area of the monitor the window is on (mostly), in screen
// coordinates, with the monitor's own rectangle.
bool MonitorAreas(HWND wnd, RECT& work, RECT& monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &info)) return false;
    work = info.rcWork;
    monitor = info.rcMonitor;
    return true;
}

// The focus is in a native edit of the window or in a drop-down it opened.
bool IsNativeEditOrDropDown(HWND focus, HWND wnd) {
    if (focus == nullptr || focus == wnd) return false;
    if (::IsChild(wnd, focus)) return true;
    wchar_t name[16] = {};
    return ::GetWindow(focus, GW_OWNER) == wnd && ::GetClassNameW(focus, name, 16) > 0 &&
           ::lstrcmpW(name, L"ComboWnd") == 0;
}

}  // namespace

WindowImplBase::FailureActions WindowImplBase::SetFailureActions(const FailureActions& actions) {
    const FailureActions before = Failure();
    Failure() = actions;
    return before;
}

WindowImplBase::WindowImplBase(int designWidth, int designHeight)
    : designWidth_(designWidth), designHeight_(designHeight) {}

WindowImplBase::~WindowImplBase() {
    // Only this class's handlers run from here on: the derived window is
    // already gone, the paint manager is not.
    if (wnd_ != nullptr && ::IsWindow(wnd_)) ::DestroyWindow(wnd_);
}

const char* WindowImplBase::GetWindowClassName() const { return "^_^"; }
UINT WindowImplBase::GetClassStyle() const { return CS_DBLCLKS; }
void WindowImplBase::InitWindow() {}
std::string WindowImplBase::GetSkinFolder() const { return std::string(); }
CControlUI* WindowImplBase::CreateControl(const char* /*className*/) { return nullptr; }

void WindowImplBase::Notify(NotifyMsg& msg) { NotifyPump(msg); }

LRESULT WindowImplBase::MessageHandler(UINT message, WPARAM wParam, LPARAM /*lParam*/, bool& handled) {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_F1)) {
        handled = ResponseDefaultKeyEvent(wParam);
    }
    return 0;
}

bool WindowImplBase::ResponseDefaultKeyEvent(WPARAM key) {
    if (key != VK_ESCAPE) return false;
    Close(1);
    return true;
}

void WindowImplBase::OnFinalMessage(HWND /*wnd*/) {
    paintManager_.RemoveMessageFilter(this);
    paintManager_.RemoveNotifier(this);
    CControlUI* root = paintManager_.GetRoot();
    if (root == nullptr) return;
    root->FindControl(
        [](CControlUI* control, void* manager) -> CControlUI* {
            static_cast<CUIManager*>(manager)->ForgetControl(control);
            return nullptr;
        },
        &paintManager_, FindAll);
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Double-clicking the caption neither maximises nor restores.
    if (message == WM_NCLBUTTONDBLCLK) return 0;
    bool handled = false;
    LRESULT result = Route(message, wParam, lParam, handled);
    if (handled) return result;
    result = HandleCustomMessage(message, wParam, lParam, handled);
    if (handled) return result;
    if (paintManager_.MessageHandler(message, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::Route(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(wParam, lParam, handled);
    case WM_DESTROY:
        return OnDestroy(wParam, lParam, handled);
    case WM_SIZE:
        return OnSize(wParam, lParam, handled);
    case WM_SETFOCUS:
        return OnSetFocus(wParam, lParam, handled);
    case WM_KILLFOCUS:
        return OnKillFocus(wParam, lParam, handled);
    case WM_CLOSE:
        return OnClose(wParam, lParam, handled);
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(wParam, lParam, handled);
    case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam, handled);
    case WM_NCHITTEST:
        return OnNcHitTest(wParam, lParam, handled);
    case WM_NCPAINT:
        return OnNcPaint(wParam, lParam, handled);
    case WM_NCACTIVATE:
        return OnNcActivate(wParam, lParam, handled);
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam, handled);
    case WM_KEYUP:
        return OnKeyUp(wParam, lParam, handled);
    case WM_CHAR:
        return OnChar(wParam, lParam, handled);
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam, lParam, handled);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam, handled);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(wParam, lParam, handled);
    case WM_LBUTTONUP:
        return OnLButtonUp(wParam, lParam, handled);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(wParam, lParam, handled);
    case WM_MOUSEHOVER:
        return OnMouseHover(wParam, lParam, handled);
    case kDpiChangedMessage:
        handled = true;
        OnDpiChanged(wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

// Messages the windows may answer; the base leaves them to the paint
// manager and the default procedure.
LRESULT WindowImplBase::OnClose(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnDestroy(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnMouseWheel(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnMouseHover(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnChar(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnKeyDown(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnKeyUp(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnKillFocus(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnSetFocus(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnLButtonDown(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnLButtonUp(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnMouseMove(WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcActivate(WPARAM wParam, LPARAM, bool& handled) {
    if (::IsIconic(wnd_)) return 0;
    // No frame is drawn; letting a deactivation through is all there is.
    handled = true;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    if (lParam == 0) return 0;
    RECT* rc = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    RECT work{}, monitor{};
    // A maximised window covers the work area exactly, not the frame
    // overhang the system gives a sizable window.
    if (::IsZoomed(wnd_) && MonitorAreas(wnd_, work, monitor)) {
        *rc = work;
        return WVR_REDRAW;
    }
    return 0;  // the whole window is client area
}

LRESULT WindowImplBase::OnNcPaint(WPARAM, LPARAM, bool& handled) {
    handled = true;
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(WPARAM, LPARAM lParam, bool& handled) {
    handled = true;
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(wnd_, &pt);
    RECT client{0, 0, 0, 0};
    ::GetClientRect(wnd_, &client);
    const RECT caption = paintManager_.GetScaledCaptionRect();
    if (pt.x < client.left + caption.left || pt.x >= client.right - caption.right) return HTCLIENT;
    if (pt.y >= caption.top && pt.y < caption.bottom) {
        const CControlUI* control = paintManager_.FindControl(pt);
        if (control != nullptr && !TakesCaptionMouse(*control)) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(WPARAM, LPARAM lParam, bool&) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    RECT work{}, monitor{};
    if (info == nullptr || !MonitorAreas(wnd_, work, monitor)) return 0;
    // The maximised position is relative to the monitor.
    info->ptMaxPosition = POINT{work.left - monitor.left, work.top - monitor.top};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    const SIZE minimum = paintManager_.GetMinInfo();
    const DpiScale& scale = paintManager_.GetScale();
    // Never more than the work area: a small screen at a large scale still
    // shows the whole window.
    info->ptMinTrackSize = POINT{std::min<LONG>(scale.Scale(minimum.cx), info->ptMaxSize.x),
                                 std::min<LONG>(scale.Scale(minimum.cy), info->ptMaxSize.y)};
    return 0;  // the paint manager and the default procedure go on
}

LRESULT WindowImplBase::OnSize(WPARAM, LPARAM, bool&) {
    ApplyRoundRegion();
    return 0;  // the paint manager lays the tree out again
}

void WindowImplBase::ApplyRoundRegion() {
    const SIZE corner = paintManager_.GetScaledRoundCorner();
    if (::IsIconic(wnd_) || (corner.cx == 0 && corner.cy == 0)) return;
    RECT rc{0, 0, 0, 0};
    if (!::GetWindowRect(wnd_, &rc)) return;
    UniqueRegion region(
        ::CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1, corner.cx, corner.cy));
    // Once set, the region belongs to the system, which deletes it when the
    // window gets another one or goes: it must not be deleted here.
    if (region && ::SetWindowRgn(wnd_, region.get(), TRUE) != 0) region.release();
}

// The window moved to a monitor of another scale, or the scale changed. A
// native edit or an open drop-down, made at the old scale, ends as a click
// elsewhere would end it (the edit's text is already the control's, the
// drop-down keeps the choice made); a message box or a file dialog is the
// system's and stays. The tree is laid out again from its 96-DPI numbers,
// with fonts made at the new scale, before the window takes the rectangle
// the system suggests: its WM_SIZE already measures at the new scale.
void WindowImplBase::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    // Any program may send the message: a scale no monitor has changes nothing.
    if (!PlausibleDpi(LOWORD(wParam))) return;
    if (IsNativeEditOrDropDown(::GetFocus(), wnd_)) {
        paintManager_.SetFocus(nullptr);
        ::SetFocus(wnd_);
    }
    paintManager_.SetDpi(LOWORD(wParam));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    if (suggested == nullptr || ::IsIconic(wnd_) || ::IsZoomed(wnd_)) return;
    RECT rc = *suggested;
    // A monitor too small for the window at its scale: the window fits its
    // work area, as a maximised one does.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        const LONG width = std::min(rc.right - rc.left, work.right - work.left);
        const LONG height = std::min(rc.bottom - rc.top, work.bottom - work.top);
        rc.left = std::clamp(rc.left, work.left, work.right - width);
        rc.top = std::clamp(rc.top, work.top, work.bottom - height);
        rc.right = rc.left + width;
        rc.bottom = rc.top + height;
    }
    ::SetWindowPos(wnd_, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT WindowImplBase::OnSysCommand(WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    // The low four bits of the command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(wnd_, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(WPARAM, LPARAM, bool& handled) {
    handled = true;
    DropCaption();
    paintManager_.Init(wnd_);
    // Before the skin: its size and fonts are made at the window's scale.
    paintManager_.SetDpi(WindowDpi(wnd_));
    paintManager_.AddMessageFilter(this);
    // The windows paint over a copy of what lay under them.
    paintManager_.SetBackgroundTransparent(true);
    if (CUIManager::GetResourcePath().empty()) {
        CUIManager::SetResourcePath(CUIManager::GetInstancePath() + GetSkinFolder());
    }
    if (!BuildSkin()) {
        Failure().showMessage(nullptr, "加载资源文件失败", "Loom", MB_OK | MB_ICONERROR);
        Failure().exitProcess(1);
        return -1;  // the window is not created
    }
    paintManager_.AddNotifier(this);
    InitWindow();
    return 0;
}

// The window keeps its size but loses the caption; its children and
// siblings are clipped out of its painting.
void WindowImplBase::DropCaption() {
    const LONG style = ::GetWindowLongW(wnd_, GWL_STYLE);
    ::SetWindowLongW(wnd_, GWL_STYLE, (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rc{0, 0, 0, 0};
    ::GetClientRect(wnd_, &rc);
    ::SetWindowPos(wnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool WindowImplBase::BuildSkin() {
    const std::string skin = GetSkin(designWidth_, designHeight_);
    // Only markup: any other text would be taken for a file name.
    if (skin.empty() || skin[0] != '<') return false;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, this, &paintManager_);
    if (root == nullptr) return false;
    paintManager_.SetRootControl(root);
    return true;
}

}  // namespace Loom

#include "Loom/Core/WindowWnd.h"

#include "Loom/Core/UIManager.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

// The window property that binds a superclassed or subclassed window to its
// wrapper (their user data may belong to the system class).
constexpr wchar_t kWrapperProperty[] = L"WndX";

}  // namespace

const char* CWindowWnd::GetSuperClassName() const { return nullptr; }
UINT CWindowWnd::GetClassStyle() const { return 0; }
LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOldProc(message, wParam, lParam);
}
void CWindowWnd::OnFinalMessage(HWND /*wnd*/) {}
LRESULT CWindowWnd::GetWindowHint() const { return 0; }

LRESULT CWindowWnd::CallOldProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(oldWndProc_, wnd_, message, wParam, lParam);
}

bool CWindowWnd::RegisterWindowClass() {
    const std::wstring className = Text::Widen(GetWindowClassName());
    WNDCLASSW wc{};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = &CWindowWnd::WndProc;
    wc.hInstance = CUIManager::GetInstance();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = className.c_str();
    return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
    const std::wstring superName = Text::Widen(GetSuperClassName());
    const std::wstring className = Text::Widen(GetWindowClassName());
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, superName.c_str(), &wc) &&
        !::GetClassInfoExW(CUIManager::GetInstance(), superName.c_str(), &wc)) {
        return false;
    }
    // Every window remembers the system class's procedure itself, also when
    // the superclass was registered by an earlier window.
    oldWndProc_ = wc.lpfnWndProc;
    wc.lpfnWndProc = &CWindowWnd::ControlProc;
    wc.hInstance = CUIManager::GetInstance();
    wc.lpszClassName = className.c_str();
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, const char* caption, DWORD style, DWORD exStyle, const RECT& rc, HMENU menu) {
    return Create(parent, caption, style, exStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, menu);
}

HWND CWindowWnd::Create(HWND parent, const char* caption, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HMENU menu) {
    const bool registered = GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered) return nullptr;
    wnd_ = ::CreateWindowExW(exStyle, Text::Widen(GetWindowClassName()).c_str(),
                             caption != nullptr ? Text::Widen(caption).c_str() : nullptr, style, x, y, cx, cy, parent,
                             menu, CUIManager::GetInstance(), this);
    return wnd_;
}

HWND CWindowWnd::Subclass(HWND wnd) {
    if (wnd == nullptr || !::IsWindow(wnd) || subclassed_) return nullptr;
    ::SetPropW(wnd, kWrapperProperty, this);
    oldWndProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowWnd::ControlProc)));
    if (oldWndProc_ == nullptr) {
        ::RemovePropW(wnd, kWrapperProperty);
        oldWndProc_ = ::DefWindowProcW;
        return nullptr;
    }
    subclassed_ = true;
    wnd_ = wnd;
    return wnd_;
}

void CWindowWnd::Unsubclass() {
    if (!subclassed_) return;
    if (wnd_ != nullptr && ::IsWindow(wnd_)) {
        ::SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldWndProc_));
        ::RemovePropW(wnd_, kWrapperProperty);
    }
    oldWndProc_ = ::DefWindowProcW;
    subclassed_ = false;
}

LRESULT CWindowWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        return CallOldProc(message, wParam, lParam);
    }
}

LRESULT CWindowWnd::Finish(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, bool property) {
    const LRESULT result = ::CallWindowProcW(oldWndProc_, wnd, message, wParam, lParam);
    if (property) {
        ::RemovePropW(wnd, kWrapperProperty);
    } else {
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    }
    if (subclassed_) Unsubclass();
    wnd_ = nullptr;
    try {
        OnFinalMessage(wnd);
    } catch (...) {}
    return result;
}

LRESULT CALLBACK CWindowWnd::WndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (self != nullptr) {
            self->wnd_ = wnd;
            ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (message == WM_NCDESTROY && self != nullptr) return self->Finish(wnd, message, wParam, lParam, false);
    }
    if (self == nullptr) return ::DefWindowProcW(wnd, message, wParam, lParam);
    return self->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::ControlProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (self != nullptr) {
            self->wnd_ = wnd;
            ::SetPropW(wnd, kWrapperProperty, self);
        }
    } else {
        self = static_cast<CWindowWnd*>(::GetPropW(wnd, kWrapperProperty));
        if (message == WM_NCDESTROY && self != nullptr) return self->Finish(wnd, message, wParam, lParam, true);
    }
    if (self == nullptr) return ::DefWindowProcW(wnd, message, wParam, lParam);
    return self->Dispatch(message, wParam, lParam);
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (wnd_ == nullptr) return;
    ::ShowWindow(wnd_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
    if (wnd_ == nullptr || !::IsWindow(wnd_)) return 0;
    const HWND self = wnd_;
    HWND owner = ::GetWindow(self, GW_OWNER);
    ::ShowWindow(self, SW_SHOWNORMAL);
    if (owner != nullptr) ::EnableWindow(owner, FALSE);
    UINT result = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg{};
    while (::IsWindow(self)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break;
        if (msg.message == WM_CLOSE && msg.hwnd == self) {
            result = static_cast<UINT>(msg.wParam);
            if (owner != nullptr) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!CUIManager::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    return result;
}

void CWindowWnd::Close(UINT result) {
    if (wnd_ != nullptr && ::IsWindow(wnd_)) ::PostMessageW(wnd_, WM_CLOSE, result, 0);
}

void CWindowWnd::CenterWindow() {
    if (wnd_ == nullptr) return;
    RECT rc{0, 0, 0, 0};
    ::GetWindowRect(wnd_, &rc);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(wnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;
    RECT center = area;
    HWND owner = ::GetWindow(wnd_, GW_OWNER);
    if (owner != nullptr) ::GetWindowRect(owner, &center);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    if (x + width > area.right) x = area.right - width;
    if (x < area.left) x = area.left;
    if (y + height > area.bottom) y = area.bottom - height;
    if (y < area.top) y = area.top;
    ::SetWindowPos(wnd_, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (wnd_ == nullptr) return;
    RECT rc{0, 0, 0, 0};
    if (!::GetClientRect(wnd_, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(wnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(wnd_, GWL_EXSTYLE));
    if (!::AdjustWindowRectEx(&rc, style, !(style & WS_CHILD) && ::GetMenu(wnd_) != nullptr, exStyle)) return;
    ::SetWindowPos(wnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace Loom

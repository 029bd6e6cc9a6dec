#pragma once
#include <windows.h>

namespace Loom {

// A thin wrapper of one native window: registers its class (or a superclass
// of a system class), binds itself to the window, and hands every message
// to HandleMessage. Window thread only.
class CWindowWnd {
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return wnd_; }
    operator HWND() const { return wnd_; }

    // Registers the window class, or the superclass when GetSuperClassName
    // names one; an existing registration is accepted.
    bool RegisterWindowClass();
    bool RegisterSuperclass();
    // Creates the window with this wrapper bound to it; nullptr on failure.
    HWND Create(HWND parent, const char* caption, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);
    HWND Create(HWND parent, const char* caption, DWORD style, DWORD exStyle, const RECT& rc, HMENU menu = nullptr);
    // Binds the wrapper to an existing window by replacing its procedure;
    // Unsubclass gives it back.
    HWND Subclass(HWND wnd);
    void Unsubclass();

    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window, disables its owner and runs a message loop until the
    // window is gone; the wParam of the WM_CLOSE that passed is the result.
    // A WM_QUIT ends the loop and is posted again for the outer loop.
    UINT ShowModal();
    // Posts WM_CLOSE with wParam = result, if the window exists.
    void Close(UINT result = IDOK);
    // Centres the window over its owner (or the nearest monitor's work area),
    // kept inside that monitor's work area; size and z-order unchanged.
    void CenterWindow();
    // Sets the client area's size; -1 keeps that dimension.
    void ResizeClient(int cx = -1, int cy = -1);

protected:
    virtual const char* GetWindowClassName() const = 0;
    // The system class to superclass; nullptr for an own class.
    virtual const char* GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    // By default the remembered (superclass, subclass) or default procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY, when the window is gone.
    virtual void OnFinalMessage(HWND wnd);
    // An extension point of the window classes; 0 by default.
    virtual LRESULT GetWindowHint() const;

    // The procedure a message not handled goes on to.
    LRESULT CallOldProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND wnd_ = nullptr;
    WNDPROC oldWndProc_ = ::DefWindowProcW;
    bool subclassed_ = false;

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    // HandleMessage with no exception passing into the system.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Finish(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, bool property);
};

}  // namespace Loom

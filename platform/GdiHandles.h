#pragma once
#include <windows.h>

#include "platform/UniqueResource.h"

// Owners of GDI objects (bitmap, font, brush, pen, region) and of memory DCs.
template <typename H>
struct GdiObjectPolicy {
    using Type = H;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return ::DeleteObject(h) != FALSE; }
};
template <typename H>
using UniqueGdi = UniqueResource<GdiObjectPolicy<H>>;

using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueRegion = UniqueGdi<HRGN>;

struct MemoryDcPolicy {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool Close(Type dc) { return ::DeleteDC(dc) != FALSE; }
};
using UniqueMemDC = UniqueResource<MemoryDcPolicy>;

// A memory DC like `compatibleWith` (null: like the screen).
inline UniqueMemDC CompatibleDC(HDC compatibleWith) { return UniqueMemDC(::CreateCompatibleDC(compatibleWith)); }

// A window DC from GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(::GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(wnd_, &ps_); }
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return ps_; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a DC and selects the previous one back at scope end.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (old_) ::SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

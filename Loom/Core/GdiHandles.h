#pragma once
#include <windows.h>
#include <utility>

namespace Loom {

// Move-only owner of one GDI object (bitmap, font, brush, pen, region).
template <typename H>
class UniqueGdi {
public:
    UniqueGdi() = default;
    explicit UniqueGdi(H h) : h_(h) {}
    UniqueGdi(UniqueGdi&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueGdi& operator=(UniqueGdi&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    UniqueGdi(const UniqueGdi&) = delete;
    UniqueGdi& operator=(const UniqueGdi&) = delete;
    ~UniqueGdi() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    H release() { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) {
        if (h_) ::DeleteObject(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueRegion = UniqueGdi<HRGN>;

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class UniqueMemDC {
public:
    UniqueMemDC() = default;
    explicit UniqueMemDC(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    UniqueMemDC(UniqueMemDC&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)) {}
    UniqueMemDC& operator=(UniqueMemDC&& o) noexcept {
        if (this != &o) {
            reset();
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    UniqueMemDC(const UniqueMemDC&) = delete;
    UniqueMemDC& operator=(const UniqueMemDC&) = delete;
    ~UniqueMemDC() { reset(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_) ::DeleteDC(dc_);
        dc_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
};

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

}  // namespace Loom

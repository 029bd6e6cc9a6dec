#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/GdiHandles.h"
#include "Loom/Render/RenderBlend.h"

namespace LoomTest {

// A 32-bit DIB section in a memory DC: the render engine draws into it and
// the tests read its pixels back.
class RenderTestSurface {
public:
    RenderTestSurface(int width, int height, uint32_t fill = 0xFFFFFFFF)
        : width_(width), height_(height), dc_(CompatibleDC(nullptr)) {
        bitmap_ = Loom::CRenderBlend::CreateDib32(width, height, &bits_);
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        Fill(fill);
    }
    ~RenderTestSurface() { ::SelectObject(dc_.get(), old_); }
    RenderTestSurface(const RenderTestSurface&) = delete;
    RenderTestSurface& operator=(const RenderTestSurface&) = delete;

    HDC dc() const { return dc_.get(); }
    void Fill(uint32_t argb) {
        ::GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) bits_[i] = argb;
    }
    // The pixel as 0xRRGGBB (alpha dropped: GDI drawing leaves it undefined).
    uint32_t Rgb(int x, int y) const {
        ::GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }
    uint32_t Argb(int x, int y) const {
        ::GdiFlush();
        return bits_[y * width_ + x];
    }
    // How many pixels of the rectangle differ from colour (alpha ignored).
    int CountNot(const RECT& rc, uint32_t rgb) const {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += Rgb(x, y) != (rgb & 0xFFFFFF);
        return n;
    }
    // Pixels that differ from another surface of the same size.
    int Diff(const RenderTestSurface& other) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += Rgb(x, y) != other.Rgb(x, y);
        return n;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    UniqueMemDC dc_;
    UniqueBitmap bitmap_;
    uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace LoomTest

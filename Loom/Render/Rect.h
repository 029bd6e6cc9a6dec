#pragma once

namespace Loom {

// The toolkit's one rectangle, of the renderer and of the layout arithmetic
// alike: left and top inside, right and bottom outside, as GDI's RECT. Kept
// free of <windows.h> so the portable logic builds natively; WinRect.h
// converts from and to RECT.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    // right - left and bottom - top, in 64 bits: the rectangle may span more
    // than the int range. Negative when the edges are crossed.
    long long Width() const { return static_cast<long long>(right) - left; }
    long long Height() const { return static_cast<long long>(bottom) - top; }
    // True when both are non-empty and share at least one pixel.
    bool Meets(const TRect& other) const {
        return !IsEmpty() && !other.IsEmpty() && left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
    bool operator==(const TRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const TRect& o) const { return !(*this == o); }
};

}  // namespace Loom

#pragma once

namespace Loom {

// A rectangle of the portable drawing logic: left and top inside, right and
// bottom outside, as GDI's RECT. Kept free of <windows.h> so the image string
// and html text logic build natively.
struct TRenderRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    // In 64 bits: the rectangle may span more than the int range.
    long long Width() const { return static_cast<long long>(right) - left; }
    long long Height() const { return static_cast<long long>(bottom) - top; }
    // True when both are non-empty and share at least one pixel.
    bool Meets(const TRenderRect& other) const {
        return !IsEmpty() && !other.IsEmpty() && left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
    bool operator==(const TRenderRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const TRenderRect& o) const { return !(*this == o); }
};

}  // namespace Loom

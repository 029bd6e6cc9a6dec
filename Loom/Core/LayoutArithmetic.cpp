#include "Loom/Core/LayoutArithmetic.h"

#include <climits>

namespace Loom {

namespace {

// Sizes and paddings come from markup; the sums are taken in 64 bits so that
// absurd values cannot overflow, and results are brought back into int range.
int ToInt(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

long long Max0(long long v) { return v < 0 ? 0 : v; }

long long Clamp64(long long value, int min, int max) {
    if (value < min) value = min;
    if (value > max) value = max;
    return value;
}

// The first pass: the room taken by children of known size, and how many
// children share the rest.
struct FirstPass {
    long long fixed = 0;
    int adjustables = 0;
    int estimated = 0;
};

FirstPass MeasureFixed(IStackChildren& children, const StackParams& params, bool vertical) {
    FirstPass pass;
    for (int i = 0; i < children.Count(); ++i) {
        const StackChildInfo info = children.Info(i);
        if (!info.visible || info.floating) continue;
        const LayoutSize size = children.Estimate(i, params.available);
        long long main = vertical ? size.cy : size.cx;
        if (main == 0) {
            ++pass.adjustables;
        } else if (vertical) {
            main = Clamp64(main, info.minHeight, info.maxHeight);
        } else {
            main = Clamp64(main, info.minWidth, info.maxWidth);
        }
        pass.fixed += vertical ? static_cast<long long>(info.padding.top) + main + info.padding.bottom
                               : static_cast<long long>(info.padding.left) + main + info.padding.right;
        ++pass.estimated;
    }
    pass.fixed += static_cast<long long>(pass.estimated - 1) * params.childPadding;
    return pass;
}

long long ExpandShare(const FirstPass& pass, long long availableMain) {
    if (pass.adjustables == 0) return 0;
    return Max0((availableMain - pass.fixed) / pass.adjustables);
}

// The second pass's running state.
struct Cursor {
    long long x = 0;
    long long y = 0;
    long long remaining = 0;
    long long fixedLeft = 0;
    long long needed = 0;
    int adjustIndex = 0;
};

// The size along the axis of one child in the second pass.
long long MainSize(long long estimate, long long after, int min, int max, const FirstPass& pass, long long expand,
                   Cursor& cur) {
    if (estimate == 0) {
        ++cur.adjustIndex;
        long long size = expand;
        if (cur.adjustIndex == pass.adjustables) size = Max0(cur.remaining - after - cur.fixedLeft);
        return Clamp64(size, min, max);
    }
    const long long size = Clamp64(estimate, min, max);
    cur.fixedLeft -= size;
    return size;
}

}  // namespace

int ClampToRange(int value, int min, int max) {
    if (value < min) value = min;
    if (value > max) value = max;
    return value;
}

int StackVertically(IStackChildren& children, const StackParams& params) {
    const FirstPass pass = MeasureFixed(children, params, true);
    const long long expand = ExpandShare(pass, params.available.cy);
    Cursor cur;
    cur.y = static_cast<long long>(params.rc.top) - params.scrollY;
    cur.x = static_cast<long long>(params.rc.left) - params.scrollX;
    cur.remaining = params.available.cy;
    cur.fixedLeft = pass.fixed;
    for (int i = 0; i < children.Count(); ++i) {
        const StackChildInfo info = children.Info(i);
        if (!info.visible) continue;
        if (info.floating) {
            children.PlaceFloat(i);
            continue;
        }
        const TRect& pad = info.padding;
        cur.remaining -= pad.top;
        const LayoutSize est = children.Estimate(i, LayoutSize{params.available.cx, ToInt(cur.remaining)});
        const long long cy = MainSize(est.cy, pad.bottom, info.minHeight, info.maxHeight, pass, expand, cur);
        long long cx = info.fixedWidth;
        if (cx == 0) cx = Max0(static_cast<long long>(params.available.cx) - pad.left - pad.right);
        cx = Clamp64(cx, info.minWidth, info.maxWidth);
        TRect rc;
        rc.left = ToInt(cur.x + pad.left);
        rc.top = ToInt(cur.y + pad.top);
        rc.right = ToInt(cur.x + pad.left + cx);
        rc.bottom = ToInt(cur.y + pad.top + cy + pad.bottom);
        children.Place(i, rc);
        cur.y += pad.top + cy + pad.bottom + params.childPadding;
        cur.needed += pad.top + cy + pad.bottom;
        cur.remaining -= cy + params.childPadding + pad.bottom;
    }
    cur.needed += static_cast<long long>(pass.estimated - 1) * params.childPadding;
    return ToInt(cur.needed);
}

int StackHorizontally(IStackChildren& children, const StackParams& params) {
    const FirstPass pass = MeasureFixed(children, params, false);
    const long long expand = ExpandShare(pass, params.available.cx);
    Cursor cur;
    cur.x = static_cast<long long>(params.rc.left) - params.scrollX;
    cur.y = params.rc.top;
    cur.remaining = params.available.cx;
    cur.fixedLeft = pass.fixed;
    for (int i = 0; i < children.Count(); ++i) {
        const StackChildInfo info = children.Info(i);
        if (!info.visible) continue;
        if (info.floating) {
            children.PlaceFloat(i);
            continue;
        }
        const TRect& pad = info.padding;
        cur.remaining -= pad.left;
        const LayoutSize est = children.Estimate(i, LayoutSize{ToInt(cur.remaining), params.available.cy});
        const long long cx = MainSize(est.cx, pad.right, info.minWidth, info.maxWidth, pass, expand, cur);
        long long cy = info.fixedHeight;
        if (cy == 0) cy = Max0(static_cast<long long>(params.rc.Height()) - pad.top - pad.bottom);
        cy = Clamp64(cy, info.minHeight, info.maxHeight);
        TRect rc;
        rc.left = ToInt(cur.x + pad.left);
        rc.top = ToInt(cur.y + pad.top);
        rc.right = ToInt(cur.x + pad.left + cx + pad.right);
        rc.bottom = ToInt(cur.y + pad.top + cy);
        children.Place(i, rc);
        cur.x += pad.left + cx + pad.right + params.childPadding;
        cur.needed += pad.left + cx + pad.right;
        cur.remaining -= cx + params.childPadding + pad.right;
    }
    cur.needed += static_cast<long long>(pass.estimated - 1) * params.childPadding;
    return ToInt(cur.needed);
}

TRect PlaceFloating(const TRect& parent, FloatPlacement& f) {
    long long left, top, right, bottom;
    if (f.fixedX >= 0) {
        left = static_cast<long long>(parent.left) + f.fixedX;
        right = left + f.fixedWidth;
    } else {
        right = static_cast<long long>(parent.right) + f.fixedX;
        left = right - f.fixedWidth;
    }
    if (f.fixedY >= 0) {
        top = static_cast<long long>(parent.top) + f.fixedY;
        bottom = top + f.fixedHeight;
    } else {
        bottom = static_cast<long long>(parent.bottom) + f.fixedY;
        top = bottom - f.fixedHeight;
    }
    if (f.relative) {
        const int width = parent.Width();
        const int height = parent.Height();
        if (f.recorded.cx != 0) {
            const long long dx = static_cast<long long>(width) - f.recorded.cx;
            const long long dy = static_cast<long long>(height) - f.recorded.cy;
            left += dx * f.moveX / 100;
            top += dy * f.moveY / 100;
            right = left + dx * f.zoomX / 100 + f.fixedWidth;
            bottom = top + dy * f.zoomY / 100 + f.fixedHeight;
        }
        f.recorded = LayoutSize{width, height};
    }
    return TRect{ToInt(left), ToInt(top), ToInt(right), ToInt(bottom)};
}

TRect SeparatorRect(const TRect& rc, int size, bool vertical) {
    TRect sep = rc;
    const long long s = size;
    if (!vertical) {
        if (size >= 0) {
            sep.left = ToInt(rc.right - s);
        } else {
            sep.right = ToInt(rc.left - s);
        }
        return sep;
    }
    if (size >= 0) {
        const long long top = rc.bottom - s;
        sep.top = top > rc.top ? ToInt(top) : rc.top;
    } else {
        const long long bottom = rc.top - s;
        sep.bottom = bottom < rc.bottom ? ToInt(bottom) : rc.bottom;
    }
    return sep;
}

bool DragSeparator(SeparatorDrag& drag, int point, int sepSize, int minSize, int maxSize) {
    const long long delta = static_cast<long long>(point) - drag.last;
    drag.last = point;
    long long start = drag.start;
    long long end = drag.end;
    if (sepSize >= 0) {
        // The separator is the layout's far edge: it follows the pointer
        // only while the pointer is on the side it moves toward.
        if (delta > 0 && point < end - sepSize) return false;
        if (delta < 0 && point > end) return false;
        end += delta;
    } else {
        if (delta > 0 && point < start) return false;
        if (delta < 0 && point > start - sepSize) return false;
        start += delta;
    }
    const long long oldSize = static_cast<long long>(drag.end) - drag.start;
    if (end - start <= minSize) {
        if (oldSize <= minSize) return false;
        if (sepSize >= 0) {
            end = start + minSize;
        } else {
            start = end - minSize;
        }
    }
    if (end - start >= maxSize) {
        if (oldSize >= maxSize) return false;
        if (sepSize >= 0) {
            end = start + maxSize;
        } else {
            start = end - maxSize;
        }
    }
    drag.start = ToInt(start);
    drag.end = ToInt(end);
    return true;
}

}  // namespace Loom

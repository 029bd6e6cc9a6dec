#include "Loom/Core/LayoutArithmetic.h"

#include <climits>

#include "Loom/Render/DpiScale.h"

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

// The measures of one child in the arithmetic's units.
struct ChildMeasures {
    long long padLeft = 0, padTop = 0, padRight = 0, padBottom = 0;
    long long fixedWidth = 0, fixedHeight = 0;
    long long minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
};

ChildMeasures MeasuresOf(const StackChildInfo& info, long long unit) {
    ChildMeasures m;
    m.padLeft = info.padding.left * unit;
    m.padTop = info.padding.top * unit;
    m.padRight = info.padding.right * unit;
    m.padBottom = info.padding.bottom * unit;
    m.fixedWidth = info.fixedWidth * unit;
    m.fixedHeight = info.fixedHeight * unit;
    m.minWidth = info.minWidth * unit;
    m.maxWidth = info.maxWidth * unit;
    m.minHeight = info.minHeight * unit;
    m.maxHeight = info.maxHeight * unit;
    return m;
}

// An estimate (in pixels) in the arithmetic's units: the fixed size
// unrounded where the estimate is that fixed size at the scale.
long long FromEstimate(int estimate, int fixed, const StackParams& p) {
    if (fixed != 0 && estimate == DpiScale::RoundDiv(static_cast<long long>(fixed) * p.unit, p.pixel)) {
        return static_cast<long long>(fixed) * p.unit;
    }
    return static_cast<long long>(estimate) * p.pixel;
}

// A length in the arithmetic's units as the pixels a child is asked with.
int ToPixels(long long v, const StackParams& p) { return ToInt(DpiScale::RoundDiv(v, p.pixel)); }

long long Clamp64(long long value, long long min, long long max) {
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
    const LayoutSize asked{ToPixels(params.available.cx, params), ToPixels(params.available.cy, params)};
    for (int i = 0; i < children.Count(); ++i) {
        const StackChildInfo info = children.Info(i);
        if (!info.visible || info.floating) continue;
        const ChildMeasures m = MeasuresOf(info, params.unit);
        const LayoutSize size = children.Estimate(i, asked);
        long long main = 0;
        if ((vertical ? size.cy : size.cx) == 0) {
            ++pass.adjustables;
        } else if (vertical) {
            main = Clamp64(FromEstimate(size.cy, info.fixedHeight, params), m.minHeight, m.maxHeight);
        } else {
            main = Clamp64(FromEstimate(size.cx, info.fixedWidth, params), m.minWidth, m.maxWidth);
        }
        pass.fixed += vertical ? m.padTop + main + m.padBottom : m.padLeft + main + m.padRight;
        ++pass.estimated;
    }
    pass.fixed += static_cast<long long>(pass.estimated - 1) * params.childPadding * params.unit;
    return pass;
}

// Each auto-sized child's share of the free room, in whole units.
long long ExpandShare(const FirstPass& pass, long long availableMain, long long unit) {
    if (pass.adjustables == 0) return 0;
    const long long room = DpiScale::RoundDiv(availableMain, unit) * unit;
    return Max0((room - pass.fixed) / pass.adjustables) / unit * unit;
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

// The size along the axis of one child in the second pass; estimate in the
// arithmetic's units, 0 for an auto-sized child.
long long MainSize(long long estimate, long long after, long long min, long long max, const FirstPass& pass,
                   long long expand, Cursor& cur) {
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

StackParams FineStackParams(const TRect& rc, int dpi, int childPadding, LayoutSize scrollRange, int scrollX,
                            int scrollY) {
    constexpr long long kFine = DpiScale::kFinePerPixel;
    StackParams p;
    p.rc = rc;
    p.available = LayoutSize{ToInt(static_cast<long long>(rc.Width()) + scrollRange.cx * kFine),
                             ToInt(static_cast<long long>(rc.Height()) + scrollRange.cy * kFine)};
    p.childPadding = childPadding;
    p.scrollX = ToInt(scrollX * kFine);
    p.scrollY = ToInt(scrollY * kFine);
    p.unit = dpi;
    p.pixel = static_cast<int>(kFine);
    return p;
}

int ClampToRange(int value, int min, int max) {
    if (value < min) value = min;
    if (value > max) value = max;
    return value;
}

int StackVertically(IStackChildren& children, const StackParams& params) {
    const FirstPass pass = MeasureFixed(children, params, true);
    const long long expand = ExpandShare(pass, params.available.cy, params.unit);
    const long long gap = static_cast<long long>(params.childPadding) * params.unit;
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
        const ChildMeasures m = MeasuresOf(info, params.unit);
        cur.remaining -= m.padTop;
        const LayoutSize est =
            children.Estimate(i, LayoutSize{ToPixels(params.available.cx, params), ToPixels(cur.remaining, params)});
        const long long estimate = est.cy == 0 ? 0 : FromEstimate(est.cy, info.fixedHeight, params);
        const long long cy = MainSize(estimate, m.padBottom, m.minHeight, m.maxHeight, pass, expand, cur);
        long long cx = m.fixedWidth;
        if (cx == 0) cx = Max0(static_cast<long long>(params.available.cx) - m.padLeft - m.padRight);
        cx = Clamp64(cx, m.minWidth, m.maxWidth);
        TRect rc;
        rc.left = ToInt(cur.x + m.padLeft);
        rc.top = ToInt(cur.y + m.padTop);
        rc.right = ToInt(cur.x + m.padLeft + cx);
        rc.bottom = ToInt(cur.y + m.padTop + cy + m.padBottom);
        children.Place(i, rc);
        cur.y += m.padTop + cy + m.padBottom + gap;
        cur.needed += m.padTop + cy + m.padBottom;
        cur.remaining -= cy + gap + m.padBottom;
    }
    cur.needed += static_cast<long long>(pass.estimated - 1) * gap;
    return ToInt(DpiScale::RoundDiv(cur.needed, params.pixel));
}

int StackHorizontally(IStackChildren& children, const StackParams& params) {
    const FirstPass pass = MeasureFixed(children, params, false);
    const long long expand = ExpandShare(pass, params.available.cx, params.unit);
    const long long gap = static_cast<long long>(params.childPadding) * params.unit;
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
        const ChildMeasures m = MeasuresOf(info, params.unit);
        cur.remaining -= m.padLeft;
        const LayoutSize est =
            children.Estimate(i, LayoutSize{ToPixels(cur.remaining, params), ToPixels(params.available.cy, params)});
        const long long estimate = est.cx == 0 ? 0 : FromEstimate(est.cx, info.fixedWidth, params);
        const long long cx = MainSize(estimate, m.padRight, m.minWidth, m.maxWidth, pass, expand, cur);
        long long cy = m.fixedHeight;
        if (cy == 0) cy = Max0(static_cast<long long>(params.rc.Height()) - m.padTop - m.padBottom);
        cy = Clamp64(cy, m.minHeight, m.maxHeight);
        TRect rc;
        rc.left = ToInt(cur.x + m.padLeft);
        rc.top = ToInt(cur.y + m.padTop);
        rc.right = ToInt(cur.x + m.padLeft + cx + m.padRight);
        rc.bottom = ToInt(cur.y + m.padTop + cy);
        children.Place(i, rc);
        cur.x += m.padLeft + cx + m.padRight + gap;
        cur.needed += m.padLeft + cx + m.padRight;
        cur.remaining -= cx + gap + m.padRight;
    }
    cur.needed += static_cast<long long>(pass.estimated - 1) * gap;
    return ToInt(DpiScale::RoundDiv(cur.needed, params.pixel));
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

#include "Loom/Core/ScrollBarGeometry.h"

#include <algorithm>
#include <climits>

namespace Loom {

namespace {

int Clamp64(long long v) { return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v))); }

// The bar seen along its axis: start and end of the length, and the
// rectangle made from an axis span.
struct Axis {
    TRect pos;
    bool horizontal;
    int Start() const { return horizontal ? pos.left : pos.top; }
    int End() const { return horizontal ? pos.right : pos.bottom; }
    TRect Span(int from, int to) const {
        return horizontal ? TRect{from, pos.top, to, pos.bottom} : TRect{pos.left, from, pos.right, to};
    }
};

}  // namespace

ScrollBarParts LayOutScrollBar(const TRect& pos, const ScrollBarShape& shape) {
    const Axis axis{pos, shape.horizontal};
    const int start = axis.Start();
    const int end = axis.End();
    const long long length = static_cast<long long>(end) - start;
    const int b = std::max(0, shape.buttonSize);
    long long rail = length;
    if (shape.showButton1) rail -= b;
    if (shape.showButton2) rail -= b;
    ScrollBarParts parts;
    if (b >= rail) {
        const int share = Clamp64(std::min<long long>(b, length / 2));
        parts.button1 = axis.Span(start, shape.showButton1 ? start + share : start);
        parts.button2 = axis.Span(shape.showButton2 ? end - share : end, end);
        parts.thumb = axis.Span(start, start);
        parts.rail = axis.Span(shape.horizontal ? parts.button1.right : parts.button1.bottom,
                               shape.horizontal ? parts.button2.left : parts.button2.top);
        return parts;
    }
    const int b1End = shape.showButton1 ? start + b : start;
    const int b2Start = shape.showButton2 ? end - b : end;
    parts.button1 = axis.Span(start, b1End);
    parts.button2 = axis.Span(b2Start, end);
    parts.rail = axis.Span(b1End, b2Start);
    if (shape.range <= 0) {
        parts.thumb = parts.rail;
        return parts;
    }
    const long long thumb = std::max<long long>(b, length * rail / (length + shape.range));
    const long long position = std::max(0, std::min(shape.position, shape.range));
    long long top = b1End + (rail - thumb) * position / shape.range;
    if (top + thumb > b2Start) top = b2Start - thumb;
    parts.thumb = axis.Span(Clamp64(top), Clamp64(top + thumb));
    return parts;
}

int ThumbTravelToOffset(const ScrollBarParts& parts, bool horizontal, int travel, int range) {
    const long long track = horizontal ? parts.rail.Width() : parts.rail.Height();
    const long long thumb = horizontal ? parts.thumb.Width() : parts.thumb.Height();
    const long long free = track - thumb;
    if (free <= 0 || range <= 0) return 0;
    return Clamp64(static_cast<long long>(travel) * range / free);
}

}  // namespace Loom

#pragma once
#include "Loom/Render/Rect.h"

// The arithmetic of the layouts, free of <windows.h>: how a vertical or
// horizontal layout shares its free space among its children, where a
// floating child goes, where a separator lies and how dragging it moves the
// layout's edge. All divisions are integer divisions truncating toward zero.
namespace Loom {

struct LayoutSize {
    int cx = 0;
    int cy = 0;
};

// What a stacking layout needs to know of one child.
struct StackChildInfo {
    bool visible = true;
    bool floating = false;
    TRect padding;
    int fixedWidth = 0;
    int fixedHeight = 0;
    int minWidth = 0;
    int maxWidth = 9999;
    int minHeight = 0;
    int maxHeight = 9999;
};

// The children of a stacking layout, as the arithmetic sees them. Estimate
// is the child's EstimateSize; Place gives a child its rectangle; PlaceFloat
// places a floating child by its own fixed position.
class IStackChildren {
public:
    virtual int Count() const = 0;
    virtual StackChildInfo Info(int index) const = 0;
    virtual LayoutSize Estimate(int index, LayoutSize available) = 0;
    virtual void Place(int index, const TRect& rc) = 0;
    virtual void PlaceFloat(int index) = 0;

protected:
    ~IStackChildren() = default;
};

// A layout at a display scale works in fine units (see DpiScale): rc,
// available, the scroll positions and the rectangles Place gets are in
// them; unit of them make one pixel of the children's infos and of
// childPadding (the 96-DPI numbers: unit is the DPI), and pixel of them one
// pixel of the window (what Estimate answers and is asked with: 96). It adds
// every measure up unrounded and rounds only the sizes it asks with and the
// size it answers; the share of the free room an auto-sized child gets is
// taken in whole units, as the 96-DPI layout takes it in whole pixels, so
// that every edge stays within a pixel of the 96-DPI edge scaled. An
// estimate equal to the child's fixed size at the scale is taken as that
// fixed size unrounded. With both 1, everything is in one kind of pixel.
struct StackParams {
    TRect rc;              // the layout's client rectangle
    LayoutSize available;  // the room to share (rc's size, widened by a scroll range)
    int childPadding = 0;  // the gap between consecutive children
    int scrollX = 0;       // the horizontal bar's position (0 if hidden)
    int scrollY = 0;       // the vertical bar's position (0 if hidden)
    int unit = 1;
    int pixel = 1;
};

// The parameters of a layout at a scale of dpi in fine units: rc the client
// rectangle in fine units, the scroll range and positions in pixels.
StackParams FineStackParams(const TRect& rc, int dpi, int childPadding, LayoutSize scrollRange, int scrollX,
                            int scrollY);

// value limited below by min and then above by max (max wins over min).
int ClampToRange(int value, int min, int max);

// Lays the children out top to bottom and returns the height they need
// (paddings and gaps included).
int StackVertically(IStackChildren& children, const StackParams& params);
// Lays the children out left to right and returns the width they need.
int StackHorizontally(IStackChildren& children, const StackParams& params);

// A floating child's place: its fixed position, counted from the parent's
// left/top when not negative, else from its right/bottom.
struct FloatPlacement {
    int fixedX = 0;
    int fixedY = 0;
    int fixedWidth = 0;
    int fixedHeight = 0;
    bool relative = false;  // relative positioning on
    LayoutSize recorded;    // the parent size the relative record was taken against
    int moveX = 0;
    int moveY = 0;
    int zoomX = 0;
    int zoomY = 0;
};

// The floating child's rectangle within parent. With relative positioning,
// the child moves and grows by its percentages of the parent's change in
// size since the recorded size; the recorded size then becomes the
// parent's current size.
TRect PlaceFloating(const TRect& parent, FloatPlacement& placement);

// The separator strip of a layout: for size >= 0 the last size pixels along
// the axis (the right edge, or the bottom edge when vertical), for size < 0
// the first -size pixels. A vertical strip never exceeds rc.
TRect SeparatorRect(const TRect& rc, int size, bool vertical);

// One step of dragging a separator along an axis. start/end are the edges of
// the layout's new rectangle along the axis (left/right or top/bottom);
// last is the pointer's coordinate at the previous step and becomes
// point. Returns false when the step is ignored (edges unchanged).
struct SeparatorDrag {
    int start = 0;
    int end = 0;
    int last = 0;
};
bool DragSeparator(SeparatorDrag& drag, int point, int sepSize, int minSize, int maxSize);

}  // namespace Loom

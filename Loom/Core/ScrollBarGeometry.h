#pragma once
#include "Loom/Core/LayoutArithmetic.h"

// The arithmetic of a scroll bar, free of <windows.h> so it is tested
// natively: where the buttons and the thumb lie, and how pointer travel
// turns into a position.
namespace Loom {

struct ScrollBarShape {
    bool horizontal = false;
    int buttonSize = 16;  // the bar's thickness: both buttons are square
    bool showButton1 = true;
    bool showButton2 = true;
    int range = 100;
    int position = 0;
};

struct ScrollBarParts {
    TRect button1;  // empty (zero length) when hidden
    TRect button2;
    TRect thumb;  // empty when the bar is too short for one
    TRect rail;   // between the buttons: the thumb's track
};

// Lays the parts of a bar over pos. While the buttons leave room for a
// track longer than a button, the thumb is as long as the visible share of
// the content (the bar's length against length + range), at least a button,
// placed by position / range along the free track; with range 0 it fills the
// track. A shorter bar gives each shown button min(button, length / 2) and
// has no thumb.
ScrollBarParts LayOutScrollBar(const TRect& pos, const ScrollBarShape& shape);

// The position change for pointer travel along the bar's axis while the
// thumb is dragged: travel over the free track (track minus thumb) covers
// the whole range. 0 when the thumb cannot move.
int ThumbTravelToOffset(const ScrollBarParts& parts, bool horizontal, int travel, int range);

}  // namespace Loom

// The scroll bar's arithmetic: where buttons, track and thumb lie, and how
// dragging the thumb maps to a position.
#include <gtest/gtest.h>

#include <climits>

#include "Loom/Core/ScrollBarGeometry.h"

using namespace Loom;

namespace {

ScrollBarShape Vertical(int range, int position) {
    ScrollBarShape s;
    s.range = range;
    s.position = position;
    return s;
}

}  // namespace

TEST(ScrollBarGeometry, ThumbShowsTheVisibleShareAndRunsTheFreeTrack) {
    const TRect pos{10, 0, 26, 200};
    ScrollBarParts p = LayOutScrollBar(pos, Vertical(100, 0));
    EXPECT_EQ(p.button1, (TRect{10, 0, 26, 16}));
    EXPECT_EQ(p.button2, (TRect{10, 184, 26, 200}));
    EXPECT_EQ(p.rail, (TRect{10, 16, 26, 184}));
    EXPECT_EQ(p.thumb, (TRect{10, 16, 26, 128}));  // 200 * 168 / 300
    p = LayOutScrollBar(pos, Vertical(100, 50));
    EXPECT_EQ(p.thumb.top, 16 + 28);
    p = LayOutScrollBar(pos, Vertical(100, 100));
    EXPECT_EQ(p.thumb.bottom, 184);  // ends at button 2
}

TEST(ScrollBarGeometry, RangeZeroFillsTheTrackAndHugeRangeKeepsAButtonLongThumb) {
    const TRect pos{0, 0, 16, 200};
    EXPECT_EQ(LayOutScrollBar(pos, Vertical(0, 0)).thumb, (TRect{0, 16, 16, 184}));
    const ScrollBarParts p = LayOutScrollBar(pos, Vertical(INT_MAX, INT_MAX));
    EXPECT_EQ(p.thumb, (TRect{0, 168, 16, 184}));
}

TEST(ScrollBarGeometry, HiddenButtonsGiveTheirLengthToTheTrack) {
    ScrollBarShape s = Vertical(0, 0);
    s.showButton1 = false;
    const ScrollBarParts p = LayOutScrollBar(TRect{0, 0, 16, 100}, s);
    EXPECT_EQ(p.button1, (TRect{0, 0, 16, 0}));
    EXPECT_EQ(p.thumb, (TRect{0, 0, 16, 84}));
}

TEST(ScrollBarGeometry, ShortBarSharesItsLengthBetweenTheButtonsWithoutThumb) {
    const ScrollBarParts p = LayOutScrollBar(TRect{0, 0, 16, 24}, Vertical(100, 0));
    EXPECT_EQ(p.button1, (TRect{0, 0, 16, 12}));
    EXPECT_EQ(p.button2, (TRect{0, 12, 16, 24}));
    EXPECT_EQ(p.thumb.Height(), 0);
    // Exactly room for the buttons and a track of one button's length: still no thumb.
    EXPECT_EQ(LayOutScrollBar(TRect{0, 0, 16, 48}, Vertical(100, 0)).thumb.Height(), 0);
}

TEST(ScrollBarGeometry, HorizontalBarMirrorsTheVerticalOne) {
    ScrollBarShape s = Vertical(100, 100);
    s.horizontal = true;
    const ScrollBarParts p = LayOutScrollBar(TRect{0, 50, 200, 66}, s);
    EXPECT_EQ(p.button1, (TRect{0, 50, 16, 66}));
    EXPECT_EQ(p.button2, (TRect{184, 50, 200, 66}));
    EXPECT_EQ(p.thumb, (TRect{72, 50, 184, 66}));
}

TEST(ScrollBarGeometry, ThumbTravelOverTheFreeTrackCoversTheRange) {
    const bool vertical = false;
    const ScrollBarParts p = LayOutScrollBar(TRect{0, 0, 16, 200}, Vertical(100, 0));  // free track 56
    EXPECT_EQ(ThumbTravelToOffset(p, vertical, 28, 100), 50);
    EXPECT_EQ(ThumbTravelToOffset(p, vertical, -56, 100), -100);
    EXPECT_EQ(ThumbTravelToOffset(p, vertical, INT_MAX, INT_MAX), INT_MAX);  // saturates, no overflow
    const ScrollBarParts full = LayOutScrollBar(TRect{0, 0, 16, 200}, Vertical(0, 0));
    EXPECT_EQ(ThumbTravelToOffset(full, vertical, 30, 0), 0);
}

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "Loom/Core/LayoutArithmetic.h"

using namespace Loom;

namespace {

// Children with fixed estimates; records every placement in order.
class FakeChildren : public IStackChildren {
public:
    struct Child {
        StackChildInfo info;
        LayoutSize estimate;  // what EstimateSize answers, whatever the room
    };

    Child& Add(int cx = 0, int cy = 0) {
        children.push_back(Child{StackChildInfo{}, LayoutSize{cx, cy}});
        return children.back();
    }

    int Count() const override { return static_cast<int>(children.size()); }
    StackChildInfo Info(int index) const override { return children[index].info; }
    LayoutSize Estimate(int index, LayoutSize available) override {
        asked.push_back(available);
        return children[index].estimate;
    }
    void Place(int index, const TRect& rc) override {
        std::ostringstream out;
        out << index << " (" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << ")";
        placed.push_back(out.str());
    }
    void PlaceFloat(int index) override { placed.push_back(std::to_string(index) + " float"); }

    std::vector<Child> children;
    std::vector<std::string> placed;
    std::vector<LayoutSize> asked;
};

StackParams Room(int width, int height, int childPadding = 0) {
    StackParams p;
    p.rc = TRect{0, 0, width, height};
    p.available = LayoutSize{width, height};
    p.childPadding = childPadding;
    return p;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(StackVertically, TwoAutoChildrenWithGapTen_Get45And35) {
    FakeChildren c;
    c.Add();
    c.Add();
    const int needed = StackVertically(c, Room(50, 100, 10));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,50,45)", "1 (0,55,50,90)"}));
    EXPECT_EQ(needed, 45 + 35 + 10);
}

TEST(StackVertically, ThreeAutoChildren_LastTakesTheRemainder) {
    FakeChildren c;
    c.Add();
    c.Add();
    c.Add();
    StackVertically(c, Room(10, 100));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,10,33)", "1 (0,33,10,66)", "2 (0,66,10,100)"}));
}

TEST(StackVertically, MaxHeightTwentyThenAuto_Gets20Then80) {
    FakeChildren c;
    c.Add().info.maxHeight = 20;
    c.Add();
    StackVertically(c, Room(10, 100));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,10,20)", "1 (0,20,10,100)"}));
}

TEST(StackVertically, PaddingLiesInsideTheRectangleBelowTheChild) {
    FakeChildren c;
    auto& first = c.Add(0, 30);
    first.info.padding = TRect{5, 5, 5, 5};
    c.Add(0, 10);
    StackVertically(c, Room(100, 200, 7));
    // top = 0 + 5, bottom = 5 + 30 + 5; the next child starts at 40 + 7.
    EXPECT_EQ(c.placed, (Lines{"0 (5,5,95,40)", "1 (0,47,100,57)"}));
}

TEST(StackVertically, MinHeightWinsOverTheShare) {
    FakeChildren c;
    c.Add().info.minHeight = 70;
    c.Add();
    StackVertically(c, Room(10, 100));
    // The share is 50; the first child is raised to 70, the last gets what is left.
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,10,70)", "1 (0,70,10,100)"}));
}

TEST(StackVertically, FixedHeightIsClampedAndLeavesTheRestToAutoChildren) {
    FakeChildren c;
    auto& fixed = c.Add(0, 500);
    fixed.info.maxHeight = 40;
    c.Add();
    const int needed = StackVertically(c, Room(10, 100));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,10,40)", "1 (0,40,10,100)"}));
    EXPECT_EQ(needed, 100);
}

TEST(StackVertically, WidthIsFixedWidthOrRoomLessPaddingWithinMinMax) {
    FakeChildren c;
    c.Add(0, 10).info.fixedWidth = 30;
    auto& padded = c.Add(0, 10);
    padded.info.padding = TRect{10, 0, 15, 0};
    c.Add(0, 10).info.maxWidth = 20;
    auto& wide = c.Add(0, 10);
    wide.info.padding = TRect{60, 0, 60, 0};  // more padding than room: width 0, then min
    wide.info.minWidth = 4;
    StackVertically(c, Room(100, 100));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,30,10)", "1 (10,10,85,20)", "2 (0,20,20,30)", "3 (60,30,64,40)"}));
}

TEST(StackVertically, HiddenChildrenAreSkippedAndFloatingOnesPlacedInOrder) {
    FakeChildren c;
    c.Add().info.visible = false;
    c.Add().info.floating = true;
    c.Add();
    StackVertically(c, Room(10, 100));
    EXPECT_EQ(c.placed, (Lines{"1 float", "2 (0,0,10,100)"}));
}

TEST(StackVertically, ScrollPositionsShiftTheStart) {
    FakeChildren c;
    c.Add(0, 300);
    StackParams p = Room(100, 200);
    p.rc = TRect{10, 20, 110, 220};
    p.scrollX = 3;
    p.scrollY = 50;
    const int needed = StackVertically(c, p);
    EXPECT_EQ(c.placed, (Lines{"0 (7,-30,107,270)"}));
    EXPECT_EQ(needed, 300);
}

TEST(StackVertically, SecondPassEstimatesWithTheRemainingHeight) {
    FakeChildren c;
    c.Add(0, 30).info.padding = TRect{0, 4, 0, 6};
    c.Add(0, 10);
    StackVertically(c, Room(80, 100, 2));
    ASSERT_EQ(c.asked.size(), 4u);
    EXPECT_EQ(c.asked[2].cy, 96);               // 100 - top padding 4
    EXPECT_EQ(c.asked[3].cy, 96 - 30 - 2 - 6);  // less the child, the gap and the bottom padding
    EXPECT_EQ(c.asked[3].cx, 80);
}

TEST(StackVertically, MoreFixedThanRoom_AutoChildrenGetZero) {
    FakeChildren c;
    c.Add(0, 150);
    c.Add();
    const int needed = StackVertically(c, Room(10, 100));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,10,150)", "1 (0,150,10,150)"}));
    EXPECT_EQ(needed, 150);
}

TEST(StackVertically, NoFlowChildren_NeedsMinusOneGap) {
    FakeChildren c;
    c.Add().info.visible = false;
    EXPECT_EQ(StackVertically(c, Room(10, 100, 6)), -6);
}

TEST(StackVertically, AbsurdSizesDoNotOverflow) {
    FakeChildren c;
    auto& huge = c.Add(0, INT_MAX);
    huge.info.maxHeight = INT_MAX;
    huge.info.padding = TRect{0, INT_MAX, 0, INT_MAX};
    c.Add();
    const int needed = StackVertically(c, Room(10, 100, INT_MAX));
    EXPECT_EQ(needed, INT_MAX);
}

TEST(StackHorizontally, TwoAutoChildrenWithGapTen_Get45And35) {
    FakeChildren c;
    c.Add();
    c.Add();
    StackHorizontally(c, Room(100, 20, 10));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,45,20)", "1 (55,0,90,20)"}));
}

TEST(StackHorizontally, RightPaddingLiesInsideTheRectangle) {
    FakeChildren c;
    auto& first = c.Add(30, 0);
    first.info.padding = TRect{5, 2, 5, 3};
    c.Add(10, 0).info.fixedHeight = 8;
    StackHorizontally(c, Room(200, 50, 1));
    EXPECT_EQ(c.placed, (Lines{"0 (5,2,40,47)", "1 (41,0,51,8)"}));
}

TEST(StackHorizontally, OnlyXFollowsTheScrollPosition) {
    FakeChildren c;
    c.Add(50, 0);
    StackParams p = Room(100, 30);
    p.rc = TRect{10, 20, 110, 50};
    p.scrollX = 5;
    p.scrollY = 99;
    StackHorizontally(c, p);
    EXPECT_EQ(c.placed, (Lines{"0 (5,20,55,50)"}));
}

TEST(StackHorizontally, CrossSizeUsesTheRectangleNotTheWidenedRoom) {
    FakeChildren c;
    c.Add(10, 0);
    StackParams p = Room(100, 30);
    p.available.cy = 500;  // widened by a vertical scroll range
    StackHorizontally(c, p);
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,10,30)"}));
}

TEST(PlaceFloating, NegativePosCountsFromTheRightAndBottom) {
    // "pos" -50,10,-10,30: fixed x = -10, y = 10, width 40, height 20.
    FloatPlacement f;
    f.fixedX = -10;
    f.fixedY = 10;
    f.fixedWidth = 40;
    f.fixedHeight = 20;
    const TRect r = PlaceFloating(TRect{100, 100, 300, 200}, f);
    EXPECT_EQ(r, (TRect{250, 110, 290, 130}));
}

TEST(PlaceFloating, NegativeYCountsFromTheBottom) {
    FloatPlacement f;
    f.fixedX = 5;
    f.fixedY = -4;
    f.fixedWidth = 10;
    f.fixedHeight = 6;
    EXPECT_EQ(PlaceFloating(TRect{0, 0, 50, 50}, f), (TRect{5, 40, 15, 46}));
}

TEST(PlaceFloating, RelativeFirstTimeOnlyRecordsTheParentSize) {
    FloatPlacement f;
    f.fixedX = 10;
    f.fixedY = 10;
    f.fixedWidth = 20;
    f.fixedHeight = 20;
    f.relative = true;
    f.moveX = 50;
    f.zoomY = 100;
    EXPECT_EQ(PlaceFloating(TRect{0, 0, 200, 100}, f), (TRect{10, 10, 30, 30}));
    EXPECT_EQ(f.recorded.cx, 200);
    EXPECT_EQ(f.recorded.cy, 100);
}

TEST(PlaceFloating, RelativeMovesAndZoomsByPercentOfTheChange) {
    FloatPlacement f;
    f.fixedX = 10;
    f.fixedY = 10;
    f.fixedWidth = 20;
    f.fixedHeight = 20;
    f.relative = true;
    f.recorded = LayoutSize{200, 100};
    f.moveX = 50;
    f.moveY = 33;
    f.zoomX = 10;
    f.zoomY = 100;
    // The parent grew by 101 x 31.
    const TRect r = PlaceFloating(TRect{0, 0, 301, 131}, f);
    // left 10 + 101*50/100 = 60; top 10 + 31*33/100 = 20;
    // right = 60 + 101*10/100 + 20 = 90; bottom = 20 + 31 + 20 = 71.
    EXPECT_EQ(r, (TRect{60, 20, 90, 71}));
    EXPECT_EQ(f.recorded.cx, 301);
}

TEST(PlaceFloating, ShrinkingParentTruncatesTowardZero) {
    FloatPlacement f;
    f.fixedWidth = 10;
    f.fixedHeight = 10;
    f.relative = true;
    f.recorded = LayoutSize{100, 100};
    f.moveX = 50;
    f.moveY = 50;
    // dx = dy = -3: -3 * 50 / 100 = -1 (not -2).
    EXPECT_EQ(PlaceFloating(TRect{0, 0, 97, 97}, f), (TRect{-1, -1, 9, 9}));
}

TEST(SeparatorRect, HorizontalRightAndLeftStrips) {
    const TRect rc{10, 0, 110, 40};
    EXPECT_EQ(SeparatorRect(rc, 4, false), (TRect{106, 0, 110, 40}));
    EXPECT_EQ(SeparatorRect(rc, -4, false), (TRect{10, 0, 14, 40}));
}

TEST(SeparatorRect, VerticalStripsNeverExceedTheRectangle) {
    const TRect rc{0, 10, 50, 16};
    EXPECT_EQ(SeparatorRect(rc, 4, true), (TRect{0, 12, 50, 16}));
    EXPECT_EQ(SeparatorRect(rc, 10, true), rc);
    EXPECT_EQ(SeparatorRect(rc, -4, true), (TRect{0, 10, 50, 14}));
    EXPECT_EQ(SeparatorRect(rc, -10, true), rc);
}

TEST(DragSeparator, RightEdgeFollowsThePointer) {
    SeparatorDrag d{0, 100, 98};
    EXPECT_TRUE(DragSeparator(d, 108, 4, 0, 9999));
    EXPECT_EQ(d.end, 110);
    EXPECT_EQ(d.last, 108);
}

TEST(DragSeparator, MovesAwayFromTheSeparatorAreIgnored) {
    // Moving right while left of the strip, or left while right of the edge.
    SeparatorDrag d{0, 100, 50};
    EXPECT_FALSE(DragSeparator(d, 60, 4, 0, 9999));
    EXPECT_EQ(d.end, 100);
    EXPECT_EQ(d.last, 60);
    d.last = 130;
    EXPECT_FALSE(DragSeparator(d, 120, 4, 0, 9999));
    EXPECT_EQ(d.end, 100);
}

TEST(DragSeparator, LeftEdgeSeparatorMovesTheStart) {
    SeparatorDrag d{100, 200, 102};
    EXPECT_TRUE(DragSeparator(d, 90, -4, 0, 9999));
    EXPECT_EQ(d.start, 88);
    EXPECT_EQ(d.end, 200);
}

TEST(DragSeparator, BelowMinWidthStopsAtMinWidth) {
    SeparatorDrag d{0, 100, 98};
    EXPECT_TRUE(DragSeparator(d, 8, 4, 30, 9999));
    EXPECT_EQ(d.end, 30);
    // Already at the minimum: a further move left is ignored.
    EXPECT_FALSE(DragSeparator(d, 2, 4, 30, 9999));
    EXPECT_EQ(d.end, 30);
}

TEST(DragSeparator, AboveMaxWidthStopsAtMaxWidth) {
    SeparatorDrag d{0, 100, 98};
    EXPECT_TRUE(DragSeparator(d, 300, 4, 0, 150));
    EXPECT_EQ(d.end, 150);
    d.last = 149;
    EXPECT_FALSE(DragSeparator(d, 160, 4, 0, 150));
    EXPECT_EQ(d.end, 150);
}

TEST(DragSeparator, LeftEdgeBelowMinMovesTheStartBack) {
    SeparatorDrag d{100, 200, 102};
    EXPECT_TRUE(DragSeparator(d, 190, -4, 20, 9999));
    EXPECT_EQ(d.start, 180);
}

TEST(ClampToRange, MaxWinsWhenMinExceedsMax) {
    EXPECT_EQ(ClampToRange(5, 10, 20), 10);
    EXPECT_EQ(ClampToRange(25, 10, 20), 20);
    EXPECT_EQ(ClampToRange(5, 30, 20), 20);
}

// At 144 DPI in fine units (a 96th of a pixel): the fixed child's estimate
// (21 scaled, 32) is taken as 21 unrounded, the gaps of 5 as 7.5 pixels, and
// the auto children share the room in whole 96-DPI pixels (34, not 34.5),
// as the 96-DPI layout 0..21, 26..60, 65..90 does: each edge is that
// layout's edge scaled and rounded once (31.5, 39, 90, 97.5, 135), where
// rounding each measure first (32, 8, 51) puts b's bottom at 91 and c's top
// at 99.
TEST(StackVertically, AtAScaleTheMeasuresAddUpUnroundedAndAutoSharesAreWhole96DpiPixels) {
    FakeChildren c;
    c.Add(0, 32).info.fixedHeight = 21;
    c.Add();
    c.Add();
    const int needed = StackVertically(c, FineStackParams(TRect{0, 0, 960, 14400}, 144, 5, LayoutSize{}, 0, 0));
    EXPECT_EQ(c.placed, (Lines{"0 (0,0,960,3024)", "1 (0,3744,960,8640)", "2 (0,9360,960,12960)"}));
    EXPECT_EQ(needed, 135);
    ASSERT_FALSE(c.asked.empty());
    EXPECT_EQ(c.asked.front().cy, 150);  // children are asked in pixels
}

// The one rounding rule of the display scale: n * dpi / 96, half away from zero.
#include <gtest/gtest.h>

#include <climits>

#include "Loom/Render/DpiScale.h"

using Loom::DpiScale;
using Loom::TRect;

TEST(DpiScale, At96EveryMeasureIsItsOwnNumber) {
    const DpiScale s;
    for (int n : {INT_MIN, -9999, -1, 0, 1, 7, 9999, INT_MAX}) {
        EXPECT_EQ(s.Scale(n), n);
        EXPECT_EQ(s.Unscale(n), n);
    }
}

TEST(DpiScale, CommonScalesRoundHalfAwayFromZero) {
    struct Case {
        int dpi;
        int n;
        int scaled;
    };
    const Case cases[] = {
        {120, 5, 6},   {120, 2, 3}, {120, -2, -3}, {120, 10, 13},      {120, -10, -13}, {120, 3, 4},    {144, 1, 2},
        {144, -1, -2}, {144, 3, 5}, {144, 4, 6},   {144, 9999, 14999}, {192, 7, 14},    {192, -7, -14}, {192, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DpiScale(c.dpi).Scale(c.n), c.scaled) << c.dpi << " " << c.n;
}

TEST(DpiScale, OddScalesRoundTheSameWay) {
    struct Case {
        int dpi;
        int n;
        int scaled;
    };
    const Case cases[] = {
        {108, 8, 9},   {108, 4, 5}, {108, -4, -5}, {108, 3, 3}, {108, -3, -3}, {168, 1, 2}, {168, 2, 4},
        {168, -2, -4}, {168, 3, 5}, {168, -3, -5}, {288, 3, 9}, {288, -3, -9}, {288, 1, 3},
    };
    for (const Case& c : cases) EXPECT_EQ(DpiScale(c.dpi).Scale(c.n), c.scaled) << c.dpi << " " << c.n;
}

// What the layout writes back (a dragged separator, a moved floating child)
// becomes the same 96-DPI number it was made from.
TEST(DpiScale, UnscaleUndoesScaleAtEveryDpiFrom96Up) {
    for (int dpi : {96, 108, 120, 144, 168, 192, 288}) {
        const DpiScale s(dpi);
        for (int n = -500; n <= 500; ++n) ASSERT_EQ(s.Unscale(s.Scale(n)), n) << dpi;
    }
}

TEST(DpiScale, HugeMeasuresStayWithinTheIntRange) {
    EXPECT_EQ(DpiScale(192).Scale(INT_MAX), INT_MAX);
    EXPECT_EQ(DpiScale(192).Scale(INT_MIN), INT_MIN);
    EXPECT_EQ(DpiScale(288).Scale(INT_MAX / 3), INT_MAX / 3 * 3);
}

TEST(DpiScale, NoDpiIsTakenAs96) {
    EXPECT_TRUE(DpiScale(0).IsIdentity());
    EXPECT_TRUE(DpiScale(-120).IsIdentity());
}

TEST(DpiScale, EdgesScaleEachOnItsOwn) {
    const TRect scaled = DpiScale(120).ScaleEdges(TRect{1, 2, 3, -2});
    EXPECT_EQ(scaled, (TRect{1, 3, 4, -3}));
}

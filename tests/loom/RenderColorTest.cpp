#include <gtest/gtest.h>
#include <windows.h>

#include "Loom/Render/Render.h"
#include "Loom/Render/RenderBlend.h"
#include "RenderTestSurface.h"

using Loom::CRenderBlend;
using Loom::CRenderClip;
using Loom::CRenderer;
using LoomTest::RenderTestSurface;

namespace {

int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }

// Each case runs with the platform's AlphaBlend and GradientFill and with
// the render engine's own replacements.
class RenderColorTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { CRenderBlend::ForceFallback(GetParam()); }
    void TearDown() override { CRenderBlend::ForceFallback(false); }
};

}  // namespace

TEST_P(RenderColorTest, DrawColor_HalfAlphaBlendsOverTheBackground) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    CRenderer::DrawColor(s.dc(), RECT{2, 2, 6, 6}, 0x80000080);
    uint32_t c = s.Rgb(3, 3);
    EXPECT_NEAR(R(c), 127, 2);
    EXPECT_NEAR(G(c), 127, 2);
    EXPECT_NEAR(B(c), 64 + 127, 2);  // not brighter than a true half blend
    EXPECT_EQ(s.CountNot(RECT{2, 2, 6, 6}, c), 0);
    EXPECT_EQ(s.Rgb(6, 6), 0xFFFFFFu);
    EXPECT_EQ(s.Rgb(1, 1), 0xFFFFFFu);
}

TEST_P(RenderColorTest, DrawColor_OpaqueFillsAndTransparentDrawsNothing) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 5, 10}, 0xFF123456);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 5, 10}, 0x123456), 0);
    CRenderer::DrawColor(s.dc(), RECT{5, 0, 10, 10}, 0x00123456);
    CRenderer::DrawColor(s.dc(), RECT{5, 0, 10, 10}, 0);
    EXPECT_EQ(s.CountNot(RECT{5, 0, 10, 10}, 0xFFFFFF), 0);
}

TEST_P(RenderColorTest, DrawColor_EmptyOrInvertedRectangleDrawsNothing) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    CRenderer::DrawColor(s.dc(), RECT{5, 5, 5, 9}, 0xFF000000);
    CRenderer::DrawColor(s.dc(), RECT{8, 8, 2, 2}, 0xFF000000);
    CRenderer::DrawColor(s.dc(), RECT{8, 8, 2, 2}, 0x80000000);
    CRenderer::DrawColor(nullptr, RECT{0, 0, 5, 5}, 0xFF000000);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 10, 10}, 0xFFFFFF), 0);
}

TEST_P(RenderColorTest, DrawColor_HugeRectangleIsBlendedWhereVisible) {
    RenderTestSurface s(4, 4, 0xFF000000);
    CRenderer::DrawColor(s.dc(), RECT{-2000000000, -2000000000, 2000000000, 2000000000}, 0x80FFFFFF);
    EXPECT_NEAR(G(s.Rgb(2, 2)), 128, 2);
}

TEST_P(RenderColorTest, DrawGradient_TwoHalfAlphaColoursAtHalfOpacity) {
    RenderTestSurface s(4, 64, 0xFFFFFFFF);
    CRenderer::DrawGradient(s.dc(), RECT{0, 0, 4, 64}, 0x80FF0000, 0x800000FF, true, 64);
    uint32_t top = s.Rgb(1, 0), bottom = s.Rgb(1, 63), middle = s.Rgb(1, 32);
    // Red over white at half opacity on top, blue at the bottom.
    EXPECT_NEAR(R(top), 255, 3);
    EXPECT_NEAR(G(top), 127, 3);
    EXPECT_NEAR(B(top), 127, 5);
    EXPECT_NEAR(B(bottom), 255, 3);
    EXPECT_NEAR(R(bottom), 127, 5);
    EXPECT_NEAR(G(middle), 127, 3);
    EXPECT_GT(R(top), R(middle));
    EXPECT_GT(R(middle), R(bottom));
}

TEST_P(RenderColorTest, DrawGradient_OpaqueRunsFromTopToBottomWhateverVertical) {
    RenderTestSurface s(8, 32, 0xFFFFFFFF);
    CRenderer::DrawGradient(s.dc(), RECT{0, 0, 8, 32}, 0xFF000000, 0xFFFFFFFF, false, 16);
    EXPECT_LT(G(s.Rgb(4, 0)), 40);
    EXPECT_GT(G(s.Rgb(4, 31)), 215);
    EXPECT_EQ(s.Rgb(0, 5), s.Rgb(7, 5));  // horizontal bands
    for (int y = 1; y < 32; ++y) EXPECT_GE(G(s.Rgb(4, y)), G(s.Rgb(4, y - 1))) << y;
}

TEST_P(RenderColorTest, DrawGradient_ZeroOpacityAndBadRectanglesDrawNothing) {
    RenderTestSurface s(8, 8, 0xFFFFFFFF);
    CRenderer::DrawGradient(s.dc(), RECT{0, 0, 8, 8}, 0x00000000, 0x01000000, true, 8);
    CRenderer::DrawGradient(s.dc(), RECT{8, 8, 0, 0}, 0xFF000000, 0xFF000000, true, 8);
    CRenderer::DrawGradient(s.dc(), RECT{2, 2, 2, 6}, 0x80000000, 0x80000000, true, -5);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 8, 8}, 0xFFFFFF), 0);
}

INSTANTIATE_TEST_SUITE_P(PlatformAndOwnBlend, RenderColorTest, ::testing::Values(false, true));

TEST(RenderGradientBands, WithoutGradientFillBandsRunFromTheSecondColourAtTheBottomUp) {
    CRenderBlend::ForceFallback(true);
    RenderTestSurface s(2, 8, 0xFFFFFFFF);
    CRenderer::DrawGradient(s.dc(), RECT{0, 0, 2, 8}, 0xFF000000, 0xFF0000FF, true, 2);  // 2 bands
    CRenderBlend::ForceFallback(false);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 2, 4}, 0x000000), 0);
    EXPECT_EQ(s.CountNot(RECT{0, 4, 2, 8}, 0x0000FF), 0);
}

TEST(RenderLines, LineFromLeftTopToRightBottom) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    CRenderer::DrawLine(s.dc(), RECT{1, 5, 9, 5}, 1, 0xFFFF0000);
    EXPECT_EQ(s.CountNot(RECT{1, 5, 9, 6}, 0xFF0000), 0);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 10, 5}, 0xFFFFFF), 0);
    CRenderer::DrawLine(s.dc(), RECT{3, 0, 3, 10}, 0, 0xFF00FF00);  // no width: nothing
    CRenderer::DrawLine(s.dc(), RECT{3, 0, 3, 10}, -4, 0xFF00FF00);
    EXPECT_EQ(s.Rgb(3, 0), 0xFFFFFFu);
}

TEST(RenderLines, RectFramesInsideWithoutFilling) {
    RenderTestSurface s(12, 12, 0xFFFFFFFF);
    CRenderer::DrawRect(s.dc(), RECT{1, 1, 11, 11}, 2, 0xFF0000FF);
    EXPECT_EQ(s.Rgb(1, 1), 0x0000FFu);
    EXPECT_EQ(s.Rgb(2, 2), 0x0000FFu);
    EXPECT_EQ(s.Rgb(10, 10), 0x0000FFu);
    EXPECT_EQ(s.Rgb(11, 11), 0xFFFFFFu);
    EXPECT_EQ(s.CountNot(RECT{3, 3, 9, 9}, 0xFFFFFF), 0);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 12, 1}, 0xFFFFFF), 0);
    CRenderer::DrawRect(s.dc(), RECT{9, 9, 3, 3}, 1, 0xFF000000);
    CRenderer::DrawRect(s.dc(), RECT{3, 3, 9, 9}, -1, 0xFF000000);
    EXPECT_EQ(s.CountNot(RECT{3, 3, 9, 9}, 0xFFFFFF), 0);
}

TEST(RenderLines, RoundRectLeavesTheCornersOut) {
    RenderTestSurface s(20, 20, 0xFFFFFFFF);
    CRenderer::DrawRoundRect(s.dc(), RECT{0, 0, 20, 20}, 1, 8, 8, 0xFF000000);
    EXPECT_EQ(s.Rgb(0, 0), 0xFFFFFFu);
    EXPECT_EQ(s.Rgb(10, 0), 0x000000u);
    EXPECT_EQ(s.Rgb(0, 10), 0x000000u);
    EXPECT_EQ(s.Rgb(10, 10), 0xFFFFFFu);
}

TEST(RenderClip, ClipToRectAndRestoreAtTheEnd) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    {
        CRenderClip clip = CRenderClip::ClipToRect(s.dc(), RECT{2, 2, 5, 5});
        CRenderer::DrawColor(s.dc(), RECT{0, 0, 10, 10}, 0xFF000000);
    }
    EXPECT_EQ(s.CountNot(RECT{2, 2, 5, 5}, 0), 0);
    EXPECT_EQ(s.Rgb(5, 5), 0xFFFFFFu);
    EXPECT_EQ(s.Rgb(1, 1), 0xFFFFFFu);
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 10, 10}, 0xFF00FF00);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 10, 10}, 0x00FF00), 0);
}

TEST(RenderClip, NestedClipsGiveBackTheOuterClip) {
    RenderTestSurface s(20, 20, 0xFFFFFFFF);
    CRenderClip outer;
    CRenderClip::GenerateRoundClip(s.dc(), RECT{0, 0, 20, 20}, RECT{0, 0, 19, 19}, 10, 10, outer);
    {
        CRenderClip inner = CRenderClip::ClipToRect(s.dc(), RECT{5, 5, 10, 10});
        CRenderer::DrawColor(s.dc(), RECT{0, 0, 20, 20}, 0xFF0000FF);
    }
    // Back in the rounded clip: the corner stays out, the middle is drawn.
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 20, 20}, 0xFF000000);
    EXPECT_EQ(s.Rgb(0, 0), 0xFFFFFFu);
    EXPECT_EQ(s.Rgb(10, 10), 0x000000u);
    outer.Restore();
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 1, 1}, 0xFF00FF00);
    EXPECT_EQ(s.Rgb(0, 0), 0x00FF00u);
}

TEST(RenderClip, EmptyClipShowsNothingAndMovedClipRestoresOnce) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    CRenderClip a = CRenderClip::ClipToRect(s.dc(), RECT{5, 5, 5, 5});
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 10, 10}, 0xFF000000);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 10, 10}, 0xFFFFFF), 0);
    CRenderClip b = std::move(a);
    a.Restore();  // moved from: does nothing
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 10, 10}, 0xFF000000);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 10, 10}, 0xFFFFFF), 0);
    b.Restore();
    CRenderer::DrawColor(s.dc(), RECT{0, 0, 10, 10}, 0xFF000000);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 10, 10}, 0), 0);
}

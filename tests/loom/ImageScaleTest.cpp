// Which drawn image a window's DPI takes, where the scaled images are found,
// and the filter that makes an image at a scale nobody drew.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Loom/Render/ImageScale.h"

using namespace Loom::ImageScale;

namespace {

// Opaque grey of that level, premultiplied (alpha in the top byte).
uint32_t Grey(uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

std::vector<uint32_t> Resampled(const std::vector<uint32_t>& src, int sw, int sh, int dw, int dh) {
    std::vector<uint32_t> dst(static_cast<size_t>(dw * dh), 0xDEADBEEF);
    Resample(src.data(), sw, sh, dst.data(), dw, dh);
    return dst;
}

}  // namespace

TEST(ImageScale, EachDpiTriesItsOwnThenTheLargerThenTheSmaller) {
    EXPECT_EQ(DrawnDpiOrder(96), (std::vector<int>{96}));
    EXPECT_EQ(DrawnDpiOrder(0), (std::vector<int>{96}));  // a window that reports none
    EXPECT_EQ(DrawnDpiOrder(144), (std::vector<int>{144, 192, 96}));
    EXPECT_EQ(DrawnDpiOrder(192), (std::vector<int>{192, 144, 96}));
    EXPECT_EQ(DrawnDpiOrder(108), (std::vector<int>{144, 192, 96}));
    EXPECT_EQ(DrawnDpiOrder(168), (std::vector<int>{192, 144, 96}));
    EXPECT_EQ(DrawnDpiOrder(288), (std::vector<int>{192, 144, 96}));
    EXPECT_EQ(DrawnDpiOrder(72), (std::vector<int>{96, 144, 192}));
}

TEST(ImageScale, ScaledResourcesAreTheNumberPlusOneOrTwoThousand) {
    EXPECT_EQ(ScaledResourceId(160, 96), 160);
    EXPECT_EQ(ScaledResourceId(160, 144), 1160);
    EXPECT_EQ(ScaledResourceId(160, 192), 2160);
    EXPECT_EQ(ScaledResourceId(160, 120), 0);    // never drawn at 125 %
    EXPECT_EQ(ScaledResourceId(65000, 144), 0);  // beyond a resource number
    EXPECT_EQ(ScaledResourceId(63535, 192), 65535);
    EXPECT_EQ(ScaledResourceId(0, 144), 0);
}

TEST(ImageScale, ScaledFilesLieBesideTheFileWithASuffixBeforeTheExtension) {
    EXPECT_EQ(ScaledFileName("skin/button.png", 144), "skin/button@150.png");
    EXPECT_EQ(ScaledFileName("skin\\button.png", 192), "skin\\button@200.png");
    EXPECT_EQ(ScaledFileName("button.png", 96), "button.png");
    EXPECT_EQ(ScaledFileName("skin.d/button", 144), "skin.d/button@150");  // the folder's dot is no extension
    EXPECT_EQ(ScaledFileName("skin/.hidden", 144), "skin/.hidden@150");
    EXPECT_EQ(ScaledFileName("button.png", 120), "");
    EXPECT_EQ(ScaledFileName("", 144), "");
}

// The button image: 5 x 29 with corners of 2. At 125 % it is 6 x 36 and
// its corners of 3 would meet, leaving no middle to stretch: the far ones
// give way. Corners that met at 96 already, and ones that still leave a
// middle, stay as they are.
TEST(ImageScale, CornersThatRoundingMadeMeetLeaveTheMiddleAPixel) {
    using Loom::TRect;
    EXPECT_EQ((TRect{3, 3, 2, 3}), CornersKeepingMiddle(TRect{3, 3, 3, 3}, 6, 36, TRect{2, 2, 2, 2}, 5, 29));
    EXPECT_EQ((TRect{3, 18, 3, 17}), CornersKeepingMiddle(TRect{3, 18, 3, 18}, 8, 36, TRect{2, 14, 2, 14}, 5, 29));
    EXPECT_EQ((TRect{3, 3, 3, 3}), CornersKeepingMiddle(TRect{3, 3, 3, 3}, 6, 36, TRect{2, 2, 3, 2}, 5, 29));
    EXPECT_EQ((TRect{3, 3, 3, 3}), CornersKeepingMiddle(TRect{3, 3, 3, 3}, 8, 44, TRect{2, 2, 2, 2}, 5, 29));
}

TEST(ImageScale, ShrinkingAveragesTheCoveredArea) {
    // Halving: each pixel is the mean of a 2 x 2 block.
    const std::vector<uint32_t> four = {Grey(0),   Grey(100), Grey(200), Grey(200),  //
                                        Grey(100), Grey(200), Grey(40),  Grey(40)};
    EXPECT_EQ(Resampled(four, 4, 2, 2, 1), (std::vector<uint32_t>{Grey(100), Grey(120)}));
    // Three to two: each takes a whole pixel and half of the middle one.
    EXPECT_EQ(Resampled({Grey(0), Grey(90), Grey(240)}, 3, 1, 2, 1), (std::vector<uint32_t>{Grey(30), Grey(190)}));
    // Eight to seven, as 200 % is filtered to 175 %: the pixel that straddles
    // a sharp edge takes both sides by their share, the rest stay as they were.
    const std::vector<uint32_t> edge = {Grey(0), Grey(0), Grey(0), Grey(0), Grey(255), Grey(255), Grey(255), Grey(255)};
    const std::vector<uint32_t> seven = Resampled(edge, 8, 1, 7, 1);
    EXPECT_EQ(seven[0], Grey(0));
    EXPECT_EQ(seven[2], Grey(0));
    EXPECT_EQ(seven[3] >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>(seven[3] & 0xFF), 128, 1);  // half of its area on each side
    EXPECT_EQ(seven[4], Grey(255));
    EXPECT_EQ(seven[6], Grey(255));
}

TEST(ImageScale, EnlargingInterpolatesBetweenNeighboursAndKeepsTheEdges) {
    // Two to four: the outer pixels keep their value, the inner ones mix 3:1.
    EXPECT_EQ(Resampled({Grey(0), Grey(200)}, 2, 1, 4, 1),
              (std::vector<uint32_t>{Grey(0), Grey(50), Grey(150), Grey(200)}));
    // A single pixel fills any size.
    EXPECT_EQ(Resampled({Grey(77)}, 1, 1, 3, 2), std::vector<uint32_t>(6, Grey(77)));
}

TEST(ImageScale, TheSameSizeCopiesAndTransparencyStaysPremultiplied) {
    const std::vector<uint32_t> mixed = {0xFFFF0000u, 0x80008000u, 0x00000000u, 0xFF0000FFu};
    EXPECT_EQ(Resampled(mixed, 2, 2, 2, 2), mixed);
    // Half red and half transparent: half-covered red, never a colour above its alpha.
    const std::vector<uint32_t> half = Resampled({0xFFFF0000u, 0x00000000u}, 2, 1, 1, 1);
    EXPECT_EQ(half[0], 0x80800000u);
    // Nothing happens for an empty size.
    std::vector<uint32_t> untouched = {0x12345678u};
    Resample(mixed.data(), 2, 2, untouched.data(), 0, 1);
    EXPECT_EQ(untouched[0], 0x12345678u);
}

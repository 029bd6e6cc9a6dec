#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

#include "Loom/Render/RenderPixels.h"
#include "Loom/Render/ValueReaders.h"

using Loom::RenderPixels;
using Loom::ValueReaders;

namespace {

// A heap copy without slack, so a read past the NUL is caught by ASan.
std::unique_ptr<char[]> Exact(const char* s) {
    std::unique_ptr<char[]> p(new char[std::strlen(s) + 1]);
    std::memcpy(p.get(), s, std::strlen(s) + 1);
    return p;
}

}  // namespace

TEST(ValueReadersNumberList, FourNumbersWithCommas) {
    int v[4];
    auto status = ValueReaders::ReadNumberList("1,-2,30,400", v, 4);
    EXPECT_TRUE(status.ok);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], -2);
    EXPECT_EQ(v[2], 30);
    EXPECT_EQ(v[3], 400);
}

TEST(ValueReadersNumberList, ExactlyOneSeparatorIsSkipped) {
    // " -5 , 7": after -5 only the blank is skipped, so ", 7" reads as 0
    // (no digits) and its comma is the separator.
    int v[4];
    ValueReaders::ReadNumberList(" -5 , 7,8", v, 4);
    EXPECT_EQ(v[0], -5);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], 7);
    EXPECT_EQ(v[3], 8);
}

TEST(ValueReadersNumberList, ShortListStopsAtTheEndWithoutOverread) {
    auto text = Exact("1,2");
    int v[4] = {9, 9, 9, 9};
    auto status = ValueReaders::ReadNumberList(text.get(), v, 4);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.pos, 3u);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(v[3], 0);
    auto empty = Exact("");
    status = ValueReaders::ReadNumberList(empty.get(), v, 4);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(status.pos, 0u);
    status = ValueReaders::ReadNumberList(nullptr, v, 2);
    EXPECT_EQ(v[1], 0);
}

TEST(ValueReadersNumberList, HugeNumbersClampToThirtyTwoBits) {
    int v[3];
    ValueReaders::ReadNumberList("99999999999999999999999,-99999999999,2147483648", v, 3);
    EXPECT_EQ(v[0], INT_MAX);
    EXPECT_EQ(v[1], INT_MIN);
    EXPECT_EQ(v[2], INT_MAX);
    EXPECT_EQ(ValueReaders::ReadInt("-2147483648"), INT_MIN);
}

TEST(ValueReadersNumberList, SignWithoutDigitsReadsZero) {
    size_t end = 99;
    EXPECT_EQ(ValueReaders::ReadInt("-x", &end), 0);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(ValueReaders::ReadInt("  42px", &end), 42);
    EXPECT_EQ(end, 4u);
}

TEST(ValueReadersBool, OnlyLowerCaseTrueIsTrue) {
    EXPECT_TRUE(ValueReaders::ReadBool("true"));
    EXPECT_FALSE(ValueReaders::ReadBool("True"));
    EXPECT_FALSE(ValueReaders::ReadBool("true "));
    EXPECT_FALSE(ValueReaders::ReadBool("1"));
    EXPECT_FALSE(ValueReaders::ReadBool(""));
    EXPECT_FALSE(ValueReaders::ReadBool(nullptr));
}

TEST(ValueReadersColor, HashIsOptionalAndDigitsAreAarrggbb) {
    EXPECT_EQ(ValueReaders::ReadColor("#FFFF00FF"), 0xFFFF00FFu);
    EXPECT_EQ(ValueReaders::ReadColor("ff0000"), 0x00FF0000u);
    EXPECT_EQ(ValueReaders::ReadColor(" #80aBcDeF"), 0x80ABCDEFu);
    EXPECT_EQ(ValueReaders::ReadColor("#12zz"), 0x12u);
}

TEST(ValueReadersColor, BadOrHugeColoursAreBounded) {
    EXPECT_EQ(ValueReaders::ReadColor("#123456789ABCDEF0123"), 0xFFFFFFFFu);
    EXPECT_EQ(ValueReaders::ReadColor("#"), 0u);
    EXPECT_EQ(ValueReaders::ReadColor("red"), 0u);
    EXPECT_EQ(ValueReaders::ReadColor(nullptr), 0u);
}

TEST(RenderPixels, OpaquePixelsAreCopiedAndHalfTransparentOnesPremultiplied) {
    const uint8_t rgba[] = {0x10, 0x20, 0x30, 0xFF, 200, 100, 50, 0x80};
    uint32_t out[2];
    EXPECT_TRUE(RenderPixels::PremultiplyRgba(rgba, out, 2, 0));
    EXPECT_EQ(out[0], 0xFF102030u);
    // 200 * 128 / 255 = 100, 100 * 128 / 255 = 50, 50 * 128 / 255 = 25 (truncated)
    EXPECT_EQ(out[1], 0x80643219u);
}

TEST(RenderPixels, OpaqueImageNeedsNoBlendingUnlessMasked) {
    const uint8_t rgba[] = {0xFF, 0x00, 0xFF, 0xFF, 0x01, 0x02, 0x03, 0xFF};
    uint32_t out[2];
    EXPECT_FALSE(RenderPixels::PremultiplyRgba(rgba, out, 2, 0));
    EXPECT_TRUE(RenderPixels::PremultiplyRgba(rgba, out, 2, 0xFFFF00FF));
    EXPECT_EQ(out[0], 0u);
    EXPECT_EQ(out[1], 0xFF010203u);
}

TEST(RenderPixels, BlendOverHalfOpaqueColour) {
    uint32_t src = RenderPixels::Premultiply(0x80000080);  // half-opaque navy
    EXPECT_EQ(src, 0x80000040u);
    uint32_t out = RenderPixels::BlendOver(0xFFFFFFFF, src, 255, true);
    EXPECT_NEAR(int(out & 0xFF), 0x40 + 127, 1);
    EXPECT_NEAR(int((out >> 8) & 0xFF), 127, 1);
    // Constant opacity alone: half of white over black.
    out = RenderPixels::BlendOver(0xFF000000, 0xFFFFFFFF, 128, false);
    EXPECT_NEAR(int(out & 0xFF), 128, 1);
    // Nothing changes at opacity 0.
    EXPECT_EQ(RenderPixels::BlendOver(0xFF123456, 0xFFFFFFFF, 0, true), 0xFF123456u);
}

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Loom/Render/Render.h"
#include "Loom/Render/RenderBlend.h"
#include "RenderTestContext.h"
#include "testkit/RenderTestPng.h"
#include "RenderTestSurface.h"
#include "platform/Wide.h"

using Loom::CRenderBlend;
using Loom::CRenderer;
using LoomTest::RenderTestContext;
using LoomTest::RenderTestPng;
using LoomTest::RenderTestSurface;

namespace {

// Colours of the 6 x 6 nine-slice test image (2-pixel corners), as in images/nine.png.
const uint32_t kTL = 0xFF0000, kTop = 0x00FFFF, kTR = 0x00FF00, kLeft = 0x808080, kMid = 0x008000, kRight = 0x404040,
               kBL = 0x0000FF, kBottom = 0xFF00FF, kBR = 0xFFFF00;

std::vector<uint32_t> NinePixels() {
    const uint32_t rows[3][3] = {{kTL, kTop, kTR}, {kLeft, kMid, kRight}, {kBL, kBottom, kBR}};
    std::vector<uint32_t> px(36);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) px[y * 6 + x] = 0xFF000000 | rows[y / 2][x / 2];
    return px;
}

// A folder of PNG files made for these tests, in the temporary folder.
class RenderImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char tmp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, tmp);
        folder = std::string(tmp) + "loom-render-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
        Png("nine.png", 6, 6, NinePixels());
        // Opaque red, half-opaque green, transparent, opaque magenta.
        Png("mixed.png", 2, 2, {0xFFFF0000, 0x8000FF00, 0x00000000, 0xFFFF00FF});
        Png("magenta.png", 2, 1, {0xFFFF00FF, 0xFF102030});
        Png("white.png", 4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
        Png("stripes.png", 2, 1, {0xFFFF0000, 0xFF0000FF});  // tile: red, blue
        Png("bands.png", 1, 2, {0xFFFF0000, 0xFF0000FF});    // tile: red over blue
        Png("checker.png", 2, 2, {0xFFFF0000, 0xFF0000FF, 0xFF00FF00, 0xFFFFFF00});
        RenderTestPng::Write(folder + "empty.png", {});
        RenderTestPng::Write(folder + "garbage.png", {'n', 'o', 't', ' ', 'p', 'n', 'g'});
        auto cut = RenderTestPng::Encode(6, 6, NinePixels());
        cut.resize(cut.size() / 2);
        RenderTestPng::Write(folder + "truncated.png", cut);
    }
    static void Png(const char* name, int w, int h, const std::vector<uint32_t>& px) {
        ASSERT_TRUE(RenderTestPng::Write(folder + name, RenderTestPng::Encode(w, h, px)));
    }
    void TearDown() override { CRenderBlend::ForceFallback(false); }

    // The image's pixels; the tests check that the first row is the top one.
    static const uint32_t* Bits(const Loom::TImagePtr& image) {
        DIBSECTION ds{};
        EXPECT_EQ(::GetObjectA(image->hBitmap, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
        return static_cast<const uint32_t*>(ds.dsBm.bmBits);
    }
    void DrawNine(HDC dc, const RECT& dest, const RECT& corners, bool hole = false) {
        const Loom::TImageInfo* img = context.FindOrLoadImage("nine.png", "", 0);
        ASSERT_NE(img, nullptr);
        RECT source{0, 0, 6, 6};
        CRenderer::DrawImage(dc, img->hBitmap, dest, dest, source, corners, img->alphaChannel, 255, hole);
    }

    static std::string folder;
    RenderTestContext context{folder};
};

std::string RenderImageTest::folder;

}  // namespace

TEST_F(RenderImageTest, LoadImage_FilePremultipliesAndMasks) {
    auto image = CRenderer::LoadImage("mixed.png", nullptr, 0xFFFF00FF, nullptr, folder.c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->nX, 2);
    EXPECT_EQ(image->nY, 2);
    EXPECT_TRUE(image->alphaChannel);
    const uint32_t* px = Bits(image);
    EXPECT_EQ(px[0], 0xFFFF0000u);
    EXPECT_EQ(px[1], 0x80008000u);  // 255 * 128 / 255 = 128
    EXPECT_EQ(px[2], 0u);
    EXPECT_EQ(px[3], 0u);  // the mask colour
}

TEST_F(RenderImageTest, LoadImage_OpaqueImageHasNoAlphaUntilMasked) {
    auto plain = CRenderer::LoadImage("magenta.png", nullptr, 0, nullptr, folder.c_str());
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->alphaChannel);
    EXPECT_EQ(Bits(plain)[0], 0xFFFF00FFu);
    auto masked = CRenderer::LoadImage("magenta.png", nullptr, 0xFFFF00FF, nullptr, folder.c_str());
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->alphaChannel);
    EXPECT_EQ(Bits(masked)[0], 0u);
    EXPECT_EQ(Bits(masked)[1], 0xFF102030u);
}

TEST_F(RenderImageTest, LoadImage_ResourceByNumberNameAndNumericType) {
    auto byNumber = CRenderer::LoadImage(MAKEINTRESOURCEA(164), "PNG", 0);
    ASSERT_TRUE(byNumber);
    EXPECT_EQ(byNumber->nX, 6);
    EXPECT_EQ(Bits(byNumber)[0], 0xFFFF0000u);
    EXPECT_EQ(Bits(byNumber)[35], 0xFFFFFF00u);
    EXPECT_TRUE(CRenderer::LoadImage(MAKEINTRESOURCEA(164), "png", 0));  // type names ignore case
    EXPECT_TRUE(CRenderer::LoadImage("NINE", "PNG", 0));
    EXPECT_TRUE(CRenderer::LoadImage(MAKEINTRESOURCEA(165), MAKEINTRESOURCEA(200), 0));
    auto masked = CRenderer::LoadImage(MAKEINTRESOURCEA(164), "PNG", 0xFFFF00FF);
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->alphaChannel);
    EXPECT_EQ(Bits(masked)[4 * 6 + 2], 0u);  // the magenta bottom edge
}

TEST_F(RenderImageTest, LoadImage_FailuresGiveNothing) {
    EXPECT_FALSE(CRenderer::LoadImage(MAKEINTRESOURCEA(999), "PNG", 0));
    EXPECT_FALSE(CRenderer::LoadImage(MAKEINTRESOURCEA(164), "GIF", 0));
    EXPECT_FALSE(CRenderer::LoadImage("missing.png", nullptr, 0, nullptr, folder.c_str()));
    EXPECT_FALSE(CRenderer::LoadImage("empty.png", nullptr, 0, nullptr, folder.c_str()));
    EXPECT_FALSE(CRenderer::LoadImage("garbage.png", nullptr, 0, nullptr, folder.c_str()));
    EXPECT_FALSE(CRenderer::LoadImage("truncated.png", nullptr, 0, nullptr, folder.c_str()));
    EXPECT_FALSE(CRenderer::LoadImage("", nullptr, 0, nullptr, folder.c_str()));
    EXPECT_FALSE(CRenderer::LoadImage(nullptr, nullptr, 0));
}

TEST_F(RenderImageTest, LoadImage_NameNotUnderTheResourcePathIsTriedAsAPath) {
    auto image = CRenderer::LoadImage((folder + "nine.png").c_str(), nullptr, 0, nullptr, "Z:\\nowhere\\");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->nY, 6);
    // A resource name that is not found is tried as a file too.
    EXPECT_TRUE(CRenderer::LoadImage((folder + "nine.png").c_str(), "PNG", 0));
}

TEST_F(RenderImageTest, DrawImage_CornersOneToOneWhileTheMiddleStretches) {
    RenderTestSurface s(20, 16);
    DrawNine(s.dc(), RECT{0, 0, 20, 16}, RECT{2, 2, 2, 2});
    struct {
        int x, y;
        uint32_t rgb;
    } expect[] = {{0, 0, kTL},       {1, 1, kTL},    {18, 0, kTR},    {19, 1, kTR},     {0, 14, kBL},
                  {1, 15, kBL},      {18, 14, kBR},  {19, 15, kBR},   {2, 0, kTop},     {17, 1, kTop},
                  {0, 2, kLeft},     {1, 13, kLeft}, {18, 2, kRight}, {19, 13, kRight}, {2, 14, kBottom},
                  {17, 15, kBottom}, {2, 2, kMid},   {10, 8, kMid},   {17, 13, kMid}};
    for (auto& e : expect) EXPECT_EQ(s.Rgb(e.x, e.y), e.rgb) << e.x << "," << e.y;
    EXPECT_EQ(s.CountNot(RECT{2, 2, 18, 14}, kMid), 0);
}

TEST_F(RenderImageTest, DrawImage_HoleLeavesTheMiddleAlone) {
    RenderTestSurface s(20, 16, 0xFFFFFFFF);
    DrawNine(s.dc(), RECT{0, 0, 20, 16}, RECT{2, 2, 2, 2}, true);
    EXPECT_EQ(s.CountNot(RECT{2, 2, 18, 14}, 0xFFFFFF), 0);
    EXPECT_EQ(s.Rgb(0, 0), kTL);
    EXPECT_EQ(s.Rgb(10, 0), kTop);
}

TEST_F(RenderImageTest, DrawImage_SameSizeCopyOnlyInsideThePaintRectangle) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    const Loom::TImageInfo* img = context.FindOrLoadImage("nine.png", "", 0);
    ASSERT_NE(img, nullptr);
    RECT dest{2, 2, 8, 8}, paint{5, 0, 10, 10}, source{0, 0, 6, 6}, none{0, 0, 0, 0};
    CRenderer::DrawImage(s.dc(), img->hBitmap, dest, paint, source, none, false);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 5, 10}, 0xFFFFFF), 0);
    EXPECT_EQ(s.Rgb(5, 2), kTop);  // image column 3, row 0
    EXPECT_EQ(s.Rgb(7, 7), kBR);
}

TEST_F(RenderImageTest, DrawImage_TilingRepeatsAndCutsTheLastTile) {
    const Loom::TImageInfo* img = context.FindOrLoadImage("stripes.png", "", 0);
    ASSERT_NE(img, nullptr);
    RenderTestSurface s(7, 3);
    RECT dest{0, 0, 7, 3}, source{0, 0, 2, 1}, none{0, 0, 0, 0};
    CRenderer::DrawImage(s.dc(), img->hBitmap, dest, dest, source, none, false, 255, false, true, false);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 3; ++y) EXPECT_EQ(s.Rgb(x, y), x % 2 ? 0x0000FFu : 0xFF0000u) << x << "," << y;

    img = context.FindOrLoadImage("bands.png", "", 0);
    ASSERT_NE(img, nullptr);
    RenderTestSurface v(3, 5);
    RECT vdest{0, 0, 3, 5}, vsource{0, 0, 1, 2};
    CRenderer::DrawImage(v.dc(), img->hBitmap, vdest, vdest, vsource, none, false, 255, false, false, true);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(v.Rgb(1, y), y % 2 ? 0x0000FFu : 0xFF0000u) << y;

    img = context.FindOrLoadImage("checker.png", "", 0);
    ASSERT_NE(img, nullptr);
    RenderTestSurface b(5, 5);
    RECT bdest{0, 0, 5, 5}, bsource{0, 0, 2, 2};
    CRenderer::DrawImage(b.dc(), img->hBitmap, bdest, bdest, bsource, none, false, 255, false, true, true);
    const uint32_t cell[2][2] = {{0xFF0000, 0x0000FF}, {0x00FF00, 0xFFFF00}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Rgb(x, y), cell[y % 2][x % 2]) << x << "," << y;
}

TEST_F(RenderImageTest, DrawImage_TiledMiddleOfAHugeDestinationOnlyWhereItIsPainted) {
    const Loom::TImageInfo* img = context.FindOrLoadImage("stripes.png", "", 0);
    ASSERT_NE(img, nullptr);
    RenderTestSurface s(8, 4);
    RECT dest{-2000000000, -2000000000, 2000000000, 2000000000}, paint{0, 0, 8, 4}, source{0, 0, 2, 1};
    RECT none{0, 0, 0, 0};
    DWORD start = ::GetTickCount();
    CRenderer::DrawImage(s.dc(), img->hBitmap, dest, paint, source, none, false, 255, false, true, true);
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_EQ(s.Rgb(0, 0), 0xFF0000u);
    EXPECT_EQ(s.Rgb(1, 3), 0x0000FFu);
}

TEST_F(RenderImageTest, DrawImage_AlphaAndFadeBlendOverTheBackground) {
    for (bool fallback : {false, true}) {
        CRenderBlend::ForceFallback(fallback);
        const Loom::TImageInfo* mixed = context.FindOrLoadImage("mixed.png", "", 0);
        ASSERT_NE(mixed, nullptr);
        RenderTestSurface s(2, 2, 0xFF0000FF);
        RECT dest{0, 0, 2, 2}, source{0, 0, 2, 2}, none{0, 0, 0, 0};
        CRenderer::DrawImage(s.dc(), mixed->hBitmap, dest, dest, source, none, mixed->alphaChannel);
        EXPECT_EQ(s.Rgb(0, 0), 0xFF0000u) << fallback;
        uint32_t half = s.Rgb(1, 0);  // half green over blue
        EXPECT_NEAR(int((half >> 8) & 0xFF), 128, 2) << fallback;
        EXPECT_NEAR(int(half & 0xFF), 127, 2) << fallback;
        EXPECT_EQ(s.Rgb(0, 1), 0x0000FFu) << fallback;  // transparent

        const Loom::TImageInfo* white = context.FindOrLoadImage("white.png", "", 0);
        ASSERT_NE(white, nullptr);
        RenderTestSurface f(4, 4, 0xFF000000);
        RECT wdest{0, 0, 4, 4}, wsource{0, 0, 4, 4};
        CRenderer::DrawImage(f.dc(), white->hBitmap, wdest, wdest, wsource, none, false, 128);
        EXPECT_NEAR(int(f.Rgb(2, 2) & 0xFF), 128, 2) << fallback;
    }
}

TEST_F(RenderImageTest, DrawImage_BadRectanglesAndCornersDrawNothingWrong) {
    RenderTestSurface s(10, 10, 0xFFFFFFFF);
    const Loom::TImageInfo* img = context.FindOrLoadImage("nine.png", "", 0);
    ASSERT_NE(img, nullptr);
    RECT full{0, 0, 10, 10}, src{0, 0, 6, 6}, none{0, 0, 0, 0};
    CRenderer::DrawImage(s.dc(), img->hBitmap, RECT{5, 5, 2, 2}, full, src, none, false);  // inverted
    CRenderer::DrawImage(s.dc(), img->hBitmap, full, RECT{3, 3, 3, 9}, src, none, false);  // empty paint
    CRenderer::DrawImage(s.dc(), img->hBitmap, full, full, RECT{-4, 0, 6, 6}, none, false);
    CRenderer::DrawImage(s.dc(), img->hBitmap, full, full, RECT{0, 0, 60, 6}, none, false);
    CRenderer::DrawImage(nullptr, img->hBitmap, full, full, src, none, false);
    CRenderer::DrawImage(s.dc(), nullptr, full, full, src, none, false);
    EXPECT_EQ(s.CountNot(full, 0xFFFFFF), 0);
    // Corners far larger than the image: only parts that exist in the
    // source are drawn, and nothing outside the destination.
    RenderTestSurface c(30, 30, 0xFFFFFFFF);
    CRenderer::DrawImage(c.dc(), img->hBitmap, RECT{10, 10, 20, 20}, RECT{0, 0, 30, 30}, src,
                         RECT{2147483647, -5, 2147483647, 2147483647}, false);
    EXPECT_EQ(c.CountNot(RECT{0, 0, 30, 10}, 0xFFFFFF), 0);
    EXPECT_EQ(c.CountNot(RECT{0, 20, 30, 30}, 0xFFFFFF), 0);
    EXPECT_EQ(c.CountNot(RECT{0, 0, 10, 30}, 0xFFFFFF), 0);
    EXPECT_EQ(c.CountNot(RECT{20, 0, 30, 30}, 0xFFFFFF), 0);
}

TEST_F(RenderImageTest, DrawImageString_BareNameDrawsTheFileOverTheControl) {
    RenderTestSurface s(20, 20, 0xFFFFFFFF);
    RECT item{2, 2, 8, 8}, paint{0, 0, 20, 20};
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, paint, "nine.png"));
    EXPECT_EQ(s.Rgb(2, 2), kTL);
    EXPECT_EQ(s.Rgb(7, 7), kBR);
    EXPECT_EQ(s.CountNot(RECT{8, 0, 20, 20}, 0xFFFFFF), 0);
    EXPECT_EQ(s.CountNot(RECT{0, 8, 20, 20}, 0xFFFFFF), 0);
}

TEST_F(RenderImageTest, DrawImageString_DestBeyondTheControlIsCutAtItsEdge) {
    RenderTestSurface s(40, 20, 0xFFFFFFFF);
    RECT item{10, 0, 30, 20}, paint{0, 0, 40, 20};
    // dest 15..45 from the control's left: cut at the control's right edge (30).
    s.Fill(0xFF000000);
    CRenderer::DrawImageString(s.dc(), &context, item, paint, "file='white.png' dest='15,0,45,20'");
    EXPECT_EQ(s.CountNot(RECT{25, 0, 30, 20}, 0xFFFFFF), 0);
    EXPECT_EQ(s.CountNot(RECT{30, 0, 40, 20}, 0x000000), 0);
    EXPECT_EQ(s.CountNot(RECT{0, 0, 25, 20}, 0x000000), 0);
}

TEST_F(RenderImageTest, DrawImageString_ModifyDestPutsAResourceInTheTopLeftCorner) {
    RenderTestSurface s(40, 40, 0xFF000000);
    RECT item{5, 5, 35, 35};
    EXPECT_TRUE(
        CRenderer::DrawImageString(s.dc(), &context, item, item, "res='164' restype='png'", "dest='0,0,10,10'"));
    EXPECT_EQ(s.Rgb(5, 5), kTL);
    EXPECT_EQ(s.Rgb(14, 14), kBR);
    EXPECT_EQ(s.CountNot(RECT{15, 0, 40, 40}, 0), 0);
    EXPECT_EQ(s.CountNot(RECT{0, 15, 40, 40}, 0), 0);
}

TEST_F(RenderImageTest, DrawImageString_SpriteCellWithMaskAndCorners) {
    RenderTestSurface s(10, 10, 0xFF000000);
    RECT item{0, 0, 10, 10};
    // The bottom middle cell (magenta) of the image, masked away: nothing shows.
    CRenderer::DrawImageString(s.dc(), &context, item, item,
                               "res='164' restype='png' source='2,4,4,6' mask='#FFFF00FF'");
    EXPECT_EQ(s.CountNot(item, 0), 0);
    CRenderer::DrawImageString(s.dc(), &context, item, item, "res='164' restype='png' corner='2,2,2,2'");
    EXPECT_EQ(s.Rgb(0, 0), kTL);
    EXPECT_EQ(s.Rgb(5, 5), kMid);
    EXPECT_EQ(s.Rgb(9, 9), kBR);
}

TEST_F(RenderImageTest, DrawImageString_SeveralImagesInOrder) {
    RenderTestSurface s(10, 10, 0xFF000000);
    RECT item{0, 0, 10, 10};
    CRenderer::DrawImageString(s.dc(), &context, item, item,
                               "file='white.png' dest='0,0,4,4' file='nine.png' dest='2,2,8,8'");
    EXPECT_EQ(s.Rgb(0, 0), 0xFFFFFFu);  // the first image
    EXPECT_EQ(s.Rgb(2, 2), kTL);        // the second, drawn over it
    EXPECT_EQ(s.Rgb(9, 9), 0u);
}

TEST_F(RenderImageTest, DrawImageString_NothingDrawnAwayFromThePaintRectangle) {
    RenderTestSurface s(20, 20, 0xFF000000);
    RECT item{0, 0, 10, 10}, paint{12, 12, 20, 20};
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, paint, "white.png"));
    EXPECT_EQ(s.CountNot(RECT{0, 0, 20, 20}, 0), 0);
}

TEST_F(RenderImageTest, DrawImageString_FailsOnlyWithoutDcOrManager) {
    RenderTestSurface s(10, 10, 0xFF000000);
    RECT item{0, 0, 10, 10};
    EXPECT_FALSE(CRenderer::DrawImageString(nullptr, &context, item, item, "white.png"));
    EXPECT_FALSE(CRenderer::DrawImageString(s.dc(), nullptr, item, item, "white.png"));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, item, "missing.png"));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, item, ""));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, item, nullptr));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, item, "file='white.png' dest='0,0,5"));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, RECT{8, 8, 2, 2}, item, "white.png"));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, item,
                                           "file='white.png' dest='9999999999,-9999999999,99999999999,-1'"));
    EXPECT_TRUE(CRenderer::DrawImageString(s.dc(), &context, item, item,
                                           "file='white.png' source='-5,-5,-1,-1' corner='-3,-3,-3,-3'"));
    // Only the unterminated dest string drew: over the whole control.
    EXPECT_EQ(s.CountNot(item, 0xFFFFFF), 0);
}

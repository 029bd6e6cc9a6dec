// Images at the window's scale: the one drawn for it, the next larger one
// filtered down, the largest filtered up; image strings' sources and
// corners at that scale; nothing changed at 96; nothing kept over a change
// of scale.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Loom/Render/Render.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"
#include "testkit/ResourceCounts.h"

using namespace Loom;
using namespace LoomTest;

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// Colours of the nine-slice test image: corners, edges and middle.
const uint32_t kNine[3][3] = {
    {0xFF0000, 0x00FFFF, 0x00FF00}, {0x808080, 0x008000, 0x404040}, {0x0000FF, 0xFF00FF, 0xFFFF00}};
constexpr uint32_t kTL = 0xFF0000, kTop = 0x00FFFF, kLeft = 0x808080, kMid = 0x008000, kBR = 0xFFFF00;

// Pixel (x, y) of an image record: 0xAARRGGBB, premultiplied.
uint32_t PixelAt(const TImageInfo& image, int x, int y) {
    DIBSECTION dib{};
    if (::GetObjectA(image.hBitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr) return 0xDEADBEEF;
    return static_cast<const uint32_t*>(dib.dsBm.bmBits)[y * image.nX + x];
}

// The test's PNG files in the temporary folder, removed at the end.
class ManagerImageScale : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char tmp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, tmp);
        folder = tmp;
        // Drawn at all three scales, one colour each.
        Solid("loom-scale-a.png", 4, 2, kRed);
        Solid("loom-scale-a@150.png", 6, 3, kGreen);
        Solid("loom-scale-a@200.png", 8, 4, kBlue);
        // Drawn at 100 % only.
        Solid("loom-scale-b.png", 4, 2, kRed);
        // At 100 % and 200 %; the 200 % one has one-pixel black and white columns.
        Solid("loom-scale-c.png", 4, 2, kRed);
        std::vector<uint32_t> stripes(8 * 4);
        for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = i % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF;
        Write("loom-scale-c@200.png", 8, 4, stripes);
        // A sheet of three 2 x 2 cells: red, green, blue, at every scale.
        for (int k : {1, 3, 4}) {  // halves of a 96-DPI pixel: 2, 3 and 4
            const int cell = k == 1 ? 2 : k, w = 3 * cell;
            std::vector<uint32_t> px(static_cast<size_t>(w * cell));
            for (int y = 0; y < cell; ++y)
                for (int x = 0; x < w; ++x) px[y * w + x] = x < cell ? kRed : x < 2 * cell ? kGreen : kBlue;
            Write(k == 1   ? "loom-scale-sheet.png"
                  : k == 3 ? "loom-scale-sheet@150.png"
                           : "loom-scale-sheet@200.png",
                  w, cell, px);
        }
        // The nine-slice image with 2-pixel bands, 3 at 150 % and 4 at 200 %.
        for (int band : {2, 3, 4}) {
            std::vector<uint32_t> px(static_cast<size_t>(9 * band * band));
            for (int y = 0; y < 3 * band; ++y)
                for (int x = 0; x < 3 * band; ++x) px[y * 3 * band + x] = 0xFF000000 | kNine[y / band][x / band];
            Write(band == 2   ? "loom-scale-nine.png"
                  : band == 3 ? "loom-scale-nine@150.png"
                              : "loom-scale-nine@200.png",
                  3 * band, 3 * band, px);
        }
    }
    static void TearDownTestSuite() {
        for (const std::string& f : written) std::remove((folder + f).c_str());
    }
    static void Solid(const char* name, int w, int h, uint32_t argb) {
        Write(name, w, h, std::vector<uint32_t>(static_cast<size_t>(w * h), argb));
    }
    static void Write(const char* name, int w, int h, const std::vector<uint32_t>& px) {
        const std::vector<uint8_t> png = RenderTestPng::Encode(w, h, px);
        std::ofstream(folder + name, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
        written.push_back(name);
    }

    // The image at dpi, its size and its top-left pixel.
    const TImageInfo* At(int dpi, const char* name, const char* type = "") {
        m.SetDpi(dpi);
        return m.FindOrLoadScaledImage(name, type, 0);
    }
    // An image string drawn by the renderer at dpi into a 30 x 30 surface.
    void Draw(int dpi, PixelSurface& s, const char* image, const RECT& item = RECT{0, 0, 30, 30}) {
        m.SetDpi(dpi);
        s.Fill(0x123456);
        ASSERT_TRUE(CRenderer::DrawImageString(s.dc(), &m, item, item, image, nullptr));
    }

    static std::string folder;
    static std::vector<std::string> written;
    ResourcePathScope path{folder};
    CUIManager m;
};

std::string ManagerImageScale::folder;
std::vector<std::string> ManagerImageScale::written;

}  // namespace

TEST_F(ManagerImageScale, TheImageDrawnForTheScaleIsTakenAsItIs) {
    const TImageInfo* image = At(144, "loom-scale-a.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 6);
    EXPECT_EQ(image->nY, 3);
    EXPECT_EQ(PixelAt(*image, 5, 2), kGreen);
    // Kept: the second call filters and loads nothing.
    EXPECT_EQ(m.FindOrLoadScaledImage("loom-scale-a.png", "", 0), image);
    image = At(192, "loom-scale-a.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 8);
    EXPECT_EQ(PixelAt(*image, 0, 0), kBlue);
    // The program's resources: number + 1000 is the 150 % image.
    image = At(144, "402", "PNG");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 6);
    EXPECT_EQ(PixelAt(*image, 3, 3), kBlue);
}

// An image in html text is the image drawn for the scale, its frames cut
// from it: the middle one of the sheet is a 3 x 3 green cell at 144.
TEST_F(ManagerImageScale, HtmlImagesAreTheImageDrawnForTheScale) {
    PixelSurface s(30, 30);
    for (int dpi : {96, 144}) {
        m.SetDpi(dpi);
        s.Fill(0x123456);
        RECT rc{0, 0, 30, 30};
        int links = 0;
        CRenderer::DrawHtmlText(s.dc(), &m, rc, "{i loom-scale-sheet.png 3 1}", 0xFF000000, nullptr, nullptr, links,
                                DT_LEFT | DT_TOP | DT_SINGLELINE);
        // Centred on the text line: only its size and colour are checked.
        int green = 0, other = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) (s.At(x, y) == (kGreen & 0xFFFFFF) ? green : other) += s.At(x, y) != 0x123456u;
        const int cell = dpi == 96 ? 2 : 3;
        EXPECT_EQ(cell * cell, green) << dpi;
        EXPECT_EQ(0, other) << dpi;
    }
}

TEST_F(ManagerImageScale, ADpiNobodyDrewTakesTheNextLargerFilteredDown) {
    // 108: the 150 % image, at 4.5 x 2.25 rounded, 5 x 2.
    const TImageInfo* image = At(108, "loom-scale-a.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 5);
    EXPECT_EQ(image->nY, 2);
    EXPECT_EQ(PixelAt(*image, 4, 1), kGreen);
    // 168: the 200 % one, 7 x 4 (3.5 rounded away from zero).
    image = At(168, "loom-scale-a.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 7);
    EXPECT_EQ(image->nY, 4);
    EXPECT_EQ(PixelAt(*image, 6, 3), kBlue);
    // 144 without a 150 % image: the 200 % one averaged down, so its
    // one-pixel columns become greys rather than picked black or white.
    image = At(144, "loom-scale-c.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 6);
    EXPECT_EQ(PixelAt(*image, 0, 0), 0xFF404040u);  // a whole black column and a third of a white one
    EXPECT_EQ(PixelAt(*image, 1, 1), 0xFF808080u);  // two thirds of each
}

TEST_F(ManagerImageScale, WithNoneLargerTheLargestIsFilteredUp) {
    const TImageInfo* image = At(288, "loom-scale-a.png");  // 300 %: from the 200 % image
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 12);
    EXPECT_EQ(image->nY, 6);
    EXPECT_EQ(PixelAt(*image, 11, 5), kBlue);
    image = At(144, "loom-scale-b.png");  // drawn at 100 % only
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 6);
    EXPECT_EQ(PixelAt(*image, 5, 2), kRed);
    image = At(192, "402", "PNG");  // the resource has no 200 % image: its 150 % one
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->nX, 8);
    EXPECT_EQ(PixelAt(*image, 7, 7), kBlue);
    // At 96 the image itself, and no image is no image at any scale.
    EXPECT_EQ(At(96, "loom-scale-a.png"), m.GetImage("loom-scale-a.png"));
    EXPECT_EQ(At(144, "loom-scale-none.png"), nullptr);
}

TEST_F(ManagerImageScale, SourcesAndCornersAreDrawnAtTheWindowsScale) {
    PixelSurface s(30, 30);
    // 96: two-pixel corners, as always.
    Draw(96, s, "file='loom-scale-nine.png' corner='2,2,2,2'");
    EXPECT_EQ(s.At(1, 1), kTL);
    EXPECT_EQ(s.At(2, 2), kMid);
    EXPECT_EQ(s.At(15, 1), kTop);
    EXPECT_EQ(s.At(1, 15), kLeft);
    EXPECT_EQ(s.At(28, 28), kBR);
    EXPECT_EQ(s.At(27, 27), kMid);
    // 144: three-pixel corners out of the 150 % image, drawn 1:1.
    Draw(144, s, "file='loom-scale-nine.png' corner='2,2,2,2'");
    EXPECT_EQ(s.At(2, 2), kTL);
    EXPECT_EQ(s.At(3, 3), kMid);
    EXPECT_EQ(s.At(15, 2), kTop);
    EXPECT_EQ(s.At(27, 27), kBR);
    EXPECT_EQ(s.At(26, 26), kMid);
    // 168: four-pixel corners (3.5 rounded away from zero) out of the 200 %
    // image filtered to 11 x 11; the middle starts at the fifth pixel.
    Draw(168, s, "file='loom-scale-nine.png' corner='2,2,2,2'");
    EXPECT_EQ(s.At(2, 2), kTL);
    EXPECT_EQ(s.At(4, 15), kMid);
    EXPECT_EQ(s.At(15, 15), kMid);
    EXPECT_EQ(s.At(28, 28), kBR);
    // A cell of a sheet: the 96-DPI source '2,0,4,2' is the green cell at
    // every scale, and nothing of its neighbours comes with it.
    // Drawn 1:1 into a dest of its scaled size (3 x 4 at 168: the edges 2
    // and 4 are 4 and 7 there).
    for (int dpi : {96, 144, 168, 192}) {
        SCOPED_TRACE(dpi);
        const DpiScale scale(dpi);
        const int w = scale.Scale(4) - scale.Scale(2), h = scale.Scale(2);
        Draw(dpi, s, "file='loom-scale-sheet.png' source='2,0,4,2'", RECT{0, 0, w, h});
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(s.At(x, 0), kGreen & 0xFFFFFF) << x;
            EXPECT_EQ(s.At(x, h - 1), kGreen & 0xFFFFFF) << x;
        }
        EXPECT_EQ(s.At(w, 0), 0x123456u);
    }
}

TEST_F(ManagerImageScale, AChangeOfScaleLetsGoOfTheOldScalesImages) {
    m.FindOrLoadImage("loom-scale-a.png", "", 0);
    m.FindOrLoadImage("loom-scale-b.png", "", 0);
    // Once through every scale first, so that fonts and caches exist.
    for (int dpi : {144, 168, 96}) At(dpi, "loom-scale-a.png"), At(dpi, "loom-scale-b.png");
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int round = 0; round < 20; ++round) {
        for (int dpi : {144, 168, 288}) {
            ASSERT_NE(At(dpi, "loom-scale-a.png"), nullptr);
            ASSERT_NE(At(dpi, "loom-scale-b.png"), nullptr);
        }
        EXPECT_GT(CountGdiObjects(), before);  // the scaled images live while their scale does
        m.SetDpi(96);
        EXPECT_EQ(CountGdiObjects(), before);
    }
}

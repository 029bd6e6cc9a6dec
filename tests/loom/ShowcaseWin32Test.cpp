// The visible check: the showcase window painted on the virtual display,
// saved as showcase.png in the build tree, and probed pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Loom/Render/Render.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"
#include "testkit/Showcase.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// Channel distance of two 0x00RRGGBB colours: the largest difference.
int Distance(DWORD a, DWORD b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    }
    return worst;
}

DWORD Rgb(DWORD argb) { return argb & 0x00FFFFFF; }

// Pixels of rc within tolerance of colour.
int CountNear(const PixelSurface& s, const RECT& rc, DWORD colour, int tolerance) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (Distance(s.At(x, y), Rgb(colour)) <= tolerance) ++n;
    return n;
}

// The 32-bit pixels of a loaded image (top-down, premultiplied).
const uint32_t* ImageBits(const TImageInfo* image) {
    DIBSECTION ds{};
    if (image == nullptr || ::GetObjectA(image->hBitmap, sizeof ds, &ds) != int(sizeof ds)) return nullptr;
    ::GdiFlush();
    return static_cast<const uint32_t*>(ds.dsBm.bmBits);
}

class ShowcaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The fonts come first: html text adds its bold and italic variants
        // to the same list when it is first painted.
        ASSERT_TRUE(window.Open(kShowcaseWidth, kShowcaseHeight, nullptr));
        PrepareShowcaseManager(window.Manager());
        tree = BuildShowcase();
        window.Manager().SetRootControl(tree.root);
        window.Paint();
    }
    void Capture() { CaptureClient(window.GetHWND(), shot); }
    const TImageInfo* Image(int id) { return window.Manager().FindOrLoadImage(std::to_string(id), "PNG", 0); }

    TestWindow window;
    ShowcaseTree tree;
    PixelSurface shot{kShowcaseWidth, kShowcaseHeight};
};

TEST_F(ShowcaseTest, Screenshot_SavedAsPng_ReadsBackWithTheSamePixels) {
    Capture();
    std::vector<uint32_t> argb(static_cast<size_t>(kShowcaseWidth) * kShowcaseHeight);
    for (int y = 0; y < kShowcaseHeight; ++y)
        for (int x = 0; x < kShowcaseWidth; ++x) argb[y * kShowcaseWidth + x] = 0xFF000000 | shot.At(x, y);
    const std::string path = std::string("Z:") + LOOM_SHOWCASE_PNG;
    ASSERT_TRUE(RenderTestPng::Write(path, RenderTestPng::Encode(kShowcaseWidth, kShowcaseHeight, argb)));

    // The file decodes (through the toolkit's own loader) to the same picture.
    TImagePtr back = CRenderer::LoadImage(path.c_str(), nullptr, 0);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->nX, kShowcaseWidth);
    ASSERT_EQ(back->nY, kShowcaseHeight);
    EXPECT_FALSE(back->alphaChannel);
    const uint32_t* bits = ImageBits(back.get());
    ASSERT_NE(bits, nullptr);
    int differing = 0;
    for (size_t i = 0; i < argb.size(); ++i) differing += bits[i] != argb[i];
    EXPECT_EQ(differing, 0);
}

TEST_F(ShowcaseTest, Tree_HoldsAboutOneHundredFiftyControlsInNestedLayouts) {
    const int count = CountControls(tree.root);
    EXPECT_GE(count, 140);
    EXPECT_LE(count, 170);
    EXPECT_EQ(tree.pages->GetCurSel(), 0);
    EXPECT_FALSE(tree.secondPage->IsVisible());
    // The layouts placed the tree inside the client area.
    EXPECT_EQ(tree.root->GetPos().right, kShowcaseWidth);
    EXPECT_EQ(tree.root->GetPos().bottom, kShowcaseHeight);
    EXPECT_EQ(tree.titleBar->GetHeight(), 34);
    EXPECT_GT(tree.firstEdit->GetWidth(), 80);
}

TEST_F(ShowcaseTest, TitleBar_GradientRunsFromTheFirstColourToTheSecond) {
    Capture();
    const RECT bar = tree.titleBar->GetPos();
    const int x = (tree.titleGap->GetPos().left + tree.titleGap->GetPos().right) / 2;
    ASSERT_LT(tree.titleGap->GetPos().left, tree.titleGap->GetPos().right);
    const DWORD top = shot.At(x, bar.top), bottom = shot.At(x, bar.bottom - 1);
    const DWORD middle = shot.At(x, (bar.top + bar.bottom) / 2);
    EXPECT_LE(Distance(top, Rgb(kShowcaseTitleTop)), 8) << std::hex << top;
    EXPECT_LE(Distance(bottom, Rgb(kShowcaseTitleBottom)), 8) << std::hex << bottom;
    // Halfway down, every channel lies between the two ends.
    for (int shift = 0; shift <= 16; shift += 8) {
        const int m = (middle >> shift) & 0xFF;
        EXPECT_LT(m, int((top >> shift) & 0xFF));
        EXPECT_GT(m, int((bottom >> shift) & 0xFF));
    }
}

TEST_F(ShowcaseTest, RoundedPanels_DrawTheirBorderAndLeaveTheCornersOut) {
    Capture();
    const RECT side = tree.sidebar->GetPos();
    const int middleY = (side.top + side.bottom) / 2;
    EXPECT_EQ(shot.At(side.left, middleY), Rgb(kShowcaseSidebarBorder));
    EXPECT_EQ(shot.At(side.right - 1, middleY), Rgb(kShowcaseSidebarBorder));
    // Outside the 9 x 9 corner ellipse the window's background shows.
    EXPECT_EQ(shot.At(side.left, side.top), Rgb(kShowcasePageColour));
    EXPECT_EQ(shot.At(side.right - 1, side.bottom - 1), Rgb(kShowcasePageColour));
    // A square box: a one-pixel frame around white.
    const RECT edit = tree.firstEdit->GetPos();
    EXPECT_EQ(shot.At(edit.left, (edit.top + edit.bottom) / 2), Rgb(kShowcaseEditBorder));
    EXPECT_EQ(shot.At(edit.left, edit.top), Rgb(kShowcaseEditBorder));
    EXPECT_EQ(shot.At(edit.left + 2, edit.top + 2), 0xFFFFFFu);
}

TEST_F(ShowcaseTest, ButtonFace_CornersAreDrawnOneToOneFromTheImage) {
    Capture();
    const TImageInfo* face = Image(kShowcaseButtonImage);
    const uint32_t* bits = ImageBits(face);
    ASSERT_NE(bits, nullptr);
    ASSERT_EQ(face->nX, 24);
    const RECT b = tree.readButton->GetPos();
    ASSERT_GT(b.right - b.left, 24);  // stretched: only the corners stay 1:1
    int opaque = 0;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            // Top-left and bottom-right corners, where the image is opaque.
            const uint32_t tl = bits[y * 24 + x], br = bits[(18 + y) * 24 + 18 + x];
            if ((tl >> 24) == 0xFF) {
                EXPECT_EQ(shot.At(b.left + x, b.top + y), tl & 0xFFFFFF) << x << "," << y;
                ++opaque;
            }
            if ((br >> 24) == 0xFF) {
                EXPECT_EQ(shot.At(b.right - 6 + x, b.bottom - 6 + y), br & 0xFFFFFF) << x << "," << y;
                ++opaque;
            }
        }
    }
    EXPECT_GT(opaque, 20);
    // The transparent corner pixel shows the page beneath.
    ASSERT_EQ(bits[0] >> 24, 0u);
    EXPECT_EQ(shot.At(b.left, b.top), Rgb(kShowcasePageColour));
}

TEST_F(ShowcaseTest, SpriteCell_MaskColourBecomesTransparent) {
    Capture();
    const RECT icon = tree.deviceIcon->GetPos();
    ASSERT_EQ(icon.right - icon.left, 16);
    // The first cell is a green disc on magenta: green in the middle, no
    // magenta anywhere, the sidebar's own gradient in the corner.
    EXPECT_EQ(shot.At(icon.left + 8, icon.top + 8), 0x2E8B57u);
    EXPECT_EQ(CountNear(shot, icon, 0xFFFF00FF, 0), 0);
    const DWORD corner = shot.At(icon.left, icon.top);
    EXPECT_GT(corner & 0xFF, 0xD0u) << std::hex << corner;  // light: the sidebar's gradient
}

TEST_F(ShowcaseTest, Photo_IsCopiedPixelForPixelAtItsDestination) {
    Capture();
    const TImageInfo* photo = Image(kShowcasePhotoImage);
    const uint32_t* bits = ImageBits(photo);
    ASSERT_NE(bits, nullptr);
    ASSERT_EQ(photo->nX, 64);
    ASSERT_EQ(photo->nY, 48);
    const RECT at = tree.photo->GetPos();
    int differing = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            differing += shot.At(at.left + 8 + x, at.top + 8 + y) != (bits[y * 64 + x] & 0xFFFFFF);
        }
    }
    EXPECT_EQ(differing, 0);
    // Around it the panel image: its white middle.
    EXPECT_EQ(shot.At(at.left + 100, at.top + 30), 0xFFFFFFu);
}

TEST_F(ShowcaseTest, HtmlText_DrawsColoursAndRecordsItsLink) {
    Capture();
    EXPECT_GT(CountNear(shot, tree.title->GetPos(), 0xFFFFFFFF, 40), 40);  // white text on the blue bar
    const RECT about = tree.about->GetPos();
    EXPECT_GT(CountNear(shot, about, 0xFF2F62A8, 30), 20);  // the {c} run
    EXPECT_GT(CountNear(shot, about, 0xFF1F6FD0, 30), 20);  // the link
    ASSERT_EQ(tree.about->GetLinkCount(), 1);
    EXPECT_EQ(tree.about->GetLinkText(0), "notes");
    RECT link = tree.about->GetLinkRect(0), inside{};
    EXPECT_TRUE(::IntersectRect(&inside, &link, &about));
    EXPECT_TRUE(::EqualRect(&inside, &link));
    // The link's own rectangle holds the link colour.
    EXPECT_GT(CountNear(shot, link, 0xFF1F6FD0, 30), 10);
}

TEST_F(ShowcaseTest, HoveredLink_IsRepaintedInTheHoverColour) {
    const RECT link = tree.about->GetLinkRect(0);
    ASSERT_EQ(tree.about->GetLinkCount(), 1);
    window.MouseMove((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    window.Paint();
    Capture();
    EXPECT_GT(CountNear(shot, link, 0xFFD3215F, 30), 10);
    EXPECT_EQ(CountNear(shot, link, 0xFF1F6FD0, 30), 0);
}

TEST_F(ShowcaseTest, ThreeColours_GiveTwoGradientHalves) {
    Capture();
    const RECT rc = tree.threeColours->GetPos();
    const int x = (rc.left + rc.right) / 2, middle = (rc.top + rc.bottom) / 2;
    EXPECT_LE(Distance(shot.At(x, rc.top + 1), 0xFFFFFF), 24);
    EXPECT_LE(Distance(shot.At(x, middle), 0x9DB8E0), 8);
    EXPECT_LE(Distance(shot.At(x, rc.bottom - 2), 0xFFFFFF), 24);
}

TEST_F(ShowcaseTest, SecondTab_ReplacesTheFirstPage) {
    ASSERT_TRUE(tree.pages->SelectItem(1));
    window.Paint();
    Capture();
    EXPECT_TRUE(tree.secondPage->IsVisible());
    EXPECT_FALSE(tree.channels->IsVisible());
    const RECT page = tree.secondPage->GetPos();
    EXPECT_EQ(shot.At(page.right - 4, page.bottom - 4), Rgb(kShowcaseSecondPageColour));
    EXPECT_EQ(CountNear(shot, page, kShowcaseEditBorder, 0), 0);  // no channel boxes left
    ASSERT_FALSE(window.notifications.empty());
    EXPECT_EQ(window.notifications.back(), "tabselect pages 1 0");
}

TEST_F(ShowcaseTest, ThousandRepaints_LeakNoGdiObjectsOrHandles) {
    for (int i = 0; i < 5; ++i) window.Paint();  // fonts, images and bitmaps made
    const int gdiBefore = CountGdiObjects();
    const int handlesBefore = CountHandles();
    ASSERT_GT(gdiBefore, 0);
    for (int i = 0; i < 1000; ++i) {
        ::InvalidateRect(window.GetHWND(), nullptr, FALSE);
        ::UpdateWindow(window.GetHWND());
    }
    TestWindow::Pump();
    EXPECT_EQ(CountGdiObjects(), gdiBefore);
    EXPECT_EQ(CountHandles(), handlesBefore);
}

}  // namespace

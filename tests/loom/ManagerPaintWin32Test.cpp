// Painting through the paint manager: layout before paint, double buffering,
// the controls' background, border and clip rules, and no leaks.
#include <gtest/gtest.h>

#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

int Red(DWORD rgb) { return (rgb >> 16) & 0xFF; }
int Blue(DWORD rgb) { return rgb & 0xFF; }

}  // namespace

TEST(ManagerPaint, ColoursReachTheWindowThroughTheOffscreenBitmap) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FF3366CC\"");
    root->Add(
        Leaf("float=\"true\" pos=\"10,10,30,30\" bkcolor=\"#FF00FF00\" bordercolor=\"#FFFF0000\" bordersize=\"1\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(60, 40, root));
    PixelSurface s(60, 40);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(5, 5), 0x3366CCu);
    EXPECT_EQ(s.At(20, 20), 0x00FF00u);
    EXPECT_EQ(s.At(10, 20), 0xFF0000u);  // the frame lies inside the control
    EXPECT_EQ(s.At(40, 20), 0x3366CCu);
}

TEST(ManagerPaint, LayoutRunsInsideThePaintBeforeDrawing) {
    auto* root = Make<CHorizontalLayoutUI>("bkcolor=\"#FFFFFFFF\"");
    auto* left = Leaf("width=\"20\" bkcolor=\"#FF0000FF\"");
    root->Add(left);
    TestWindow w;
    ASSERT_TRUE(w.Open(60, 20, root));
    left->SetFixedWidth(40);
    EXPECT_EQ(left->GetPos().right, 20);  // only requested so far
    EXPECT_TRUE(w.Manager().IsLayoutNeeded());
    ::UpdateWindow(w.GetHWND());
    EXPECT_EQ(left->GetPos().right, 40);
    EXPECT_FALSE(w.Manager().IsLayoutNeeded());
    PixelSurface s(60, 20);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(30, 10), 0x0000FFu);
    EXPECT_EQ(s.At(50, 10), 0xFFFFFFu);
}

// Only two corners are invalid (their bounds are the whole window, the region
// is not): what the layout moves must still be painted.
TEST(ManagerPaint, LayoutInAPartlyInvalidWindowRepaintsWhatItMoves) {
    auto* root = Make<CHorizontalLayoutUI>("bkcolor=\"#FFFFFFFF\"");
    auto* left = Leaf("width=\"20\" bkcolor=\"#FF0000FF\"");
    root->Add(left);
    TestWindow w;
    ASSERT_TRUE(w.Open(60, 20, root));
    left->SetFixedWidth(40);
    ::ValidateRect(w.GetHWND(), nullptr);
    const RECT corners[] = {{0, 0, 5, 5}, {55, 15, 60, 20}};
    for (const RECT& corner : corners) ::InvalidateRect(w.GetHWND(), &corner, FALSE);
    ::UpdateWindow(w.GetHWND());
    PixelSurface s(60, 20);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(30, 10), 0x0000FFu);
    EXPECT_EQ(s.At(50, 10), 0xFFFFFFu);
}

TEST(ManagerPaint, TwoColoursGiveAGradientAndThreeColoursTwoHalves) {
    auto* root = Make<CVerticalLayoutUI>("");
    root->Add(Leaf("bkcolor=\"#FF000000\" bkcolor2=\"#FFFFFFFF\""));
    root->Add(Leaf("bkcolor=\"#FF000000\" bkcolor2=\"#FFFFFFFF\" bkcolor3=\"#FF000000\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(20, 200, root));
    PixelSurface s(20, 200);
    PrintClient(w.GetHWND(), s);
    // Upper child: dark at the top, light at the bottom.
    EXPECT_LT(Red(s.At(10, 2)), 40);
    EXPECT_GT(Red(s.At(10, 97)), 200);
    // Lower child: dark, light in the middle, dark again.
    EXPECT_LT(Red(s.At(10, 102)), 40);
    EXPECT_GT(Red(s.At(10, 148)), 200);
    EXPECT_LT(Red(s.At(10, 197)), 40);
}

TEST(ManagerPaint, TranslucentBackgroundBlendsOverTheParent) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\"");
    root->Add(Leaf("bkcolor=\"#800000FF\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(40, 40, root));
    PixelSurface s(40, 40);
    PrintClient(w.GetHWND(), s);
    const DWORD mixed = s.At(20, 20);
    EXPECT_EQ(Blue(mixed), 255);
    EXPECT_GT(Red(mixed), 100);
    EXPECT_LT(Red(mixed), 160);
    EXPECT_EQ(s.At(5, 5), 0xFFFFFFu);
}

TEST(ManagerPaint, FocusBorderOnlyWhileFocusedAndNoBlackFrameOtherwise) {
    auto* root = Make<CHorizontalLayoutUI>("bkcolor=\"#FFFFFFFF\"");
    auto* onlyFocus = Leaf("name=\"a\" width=\"20\" focusbordercolor=\"#FF00FF00\" bordersize=\"2\"");
    auto* both =
        Leaf("name=\"b\" width=\"20\" bordercolor=\"#FF0000FF\" focusbordercolor=\"#FF00FF00\" bordersize=\"2\"");
    root->Add(onlyFocus);
    root->Add(both);
    TestWindow w;
    ASSERT_TRUE(w.Open(40, 20, root));
    PixelSurface s(40, 20);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(0, 10), 0xFFFFFFu);   // no border colour, not focused: nothing
    EXPECT_EQ(s.At(20, 10), 0x0000FFu);  // the plain border
    w.Manager().SetFocus(onlyFocus);
    s.Fill(0xFFFFFF);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(0, 10), 0x00FF00u);
    w.Manager().SetFocus(both);
    s.Fill(0xFFFFFF);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(0, 10), 0xFFFFFFu);
    EXPECT_EQ(s.At(20, 10), 0x00FF00u);
}

TEST(ManagerPaint, SideBordersDrawOnlyTheirEdges) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\" inset=\"5,5,5,5\"");
    root->Add(Leaf("bordercolor=\"#FFFF0000\" bordersize=\"0,3,0,0\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(40, 40, root));
    PixelSurface s(40, 40);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(20, 5), 0xFF0000u);   // the top edge
    EXPECT_EQ(s.At(5, 20), 0xFFFFFFu);   // no left edge
    EXPECT_EQ(s.At(20, 33), 0xFFFFFFu);  // no bottom edge
}

TEST(ManagerPaint, RoundCornersClipTheBackground) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\" inset=\"5,5,5,5\"");
    root->Add(Leaf("bkcolor=\"#FF000000\" borderround=\"12,12\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(40, 40, root));
    PixelSurface s(40, 40);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(5, 5), 0xFFFFFFu);  // the corner stays outside
    EXPECT_EQ(s.At(20, 20), 0x000000u);
    EXPECT_EQ(s.At(20, 5), 0x000000u);  // the straight edge is inside
}

TEST(ManagerPaint, ChildrenAreClippedToTheClientAreaButFloatingOnesReachTheInset) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\"");
    auto* box = Make<CContainerUI>("float=\"true\" pos=\"0,0,40,40\" inset=\"10,10,10,10\"");
    box->Add(Leaf("bkcolor=\"#FF0000FF\""));
    box->Add(Leaf("float=\"true\" pos=\"0,0,5,5\" bkcolor=\"#FFFF0000\""));
    root->Add(box);
    TestWindow w;
    ASSERT_TRUE(w.Open(60, 60, root));
    // The plain child covers the inner rectangle only.
    PixelSurface s(60, 60);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(20, 20), 0x0000FFu);
    EXPECT_EQ(s.At(8, 20), 0xFFFFFFu);
    EXPECT_EQ(s.At(2, 2), 0xFF0000u);  // the floating child sits in the inset
    // A plain child moved over the inset is still cut at the inner rectangle.
    box->GetItemAt(0)->SetPos(RECT{0, 0, 40, 40});
    s.Fill(0xFFFFFF);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(8, 20), 0xFFFFFFu);
    EXPECT_EQ(s.At(12, 20), 0x0000FFu);
}

TEST(ManagerPaint, HiddenChildrenAreNotPainted) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\"");
    root->Add(Leaf("bkcolor=\"#FF000000\" visible=\"false\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(20, 20, root));
    PixelSurface s(20, 20);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(10, 10), 0xFFFFFFu);
}

TEST(ManagerPaint, DraggedSeparatorDrawsADarkOverlay) {
    auto* root = Make<CHorizontalLayoutUI>("bkcolor=\"#FFFFFFFF\"");
    auto* side = Make<CHorizontalLayoutUI>("width=\"40\" sepwidth=\"4\"");
    root->Add(side);
    root->Add(Leaf(""));
    TestWindow w;
    ASSERT_TRUE(w.Open(80, 20, root));
    w.ButtonDown(38, 10);
    w.MouseMove(50, 10, MK_LBUTTON);
    w.Paint();
    PixelSurface s(80, 20);
    CaptureClient(w.GetHWND(), s);
    EXPECT_LT(Red(s.At(51, 10)), 0x60);  // the dragged strip, 0xAA black over white
    EXPECT_EQ(s.At(30, 10), 0xFFFFFFu);
    w.ButtonUp(50, 10);
    w.Paint();
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(51, 10), 0xFFFFFFu);
    EXPECT_EQ(side->GetPos().right, 52);
}

TEST(ManagerPaint, ShowDirtyFramesThePaintedArea) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\"");
    TestWindow w;
    ASSERT_TRUE(w.Open(40, 40, root));
    w.Manager().SetShowUpdateRect(true);
    RECT area{10, 10, 30, 30};
    ::InvalidateRect(w.GetHWND(), &area, FALSE);
    ::UpdateWindow(w.GetHWND());
    PixelSurface s(40, 40);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(10, 20), 0xDC0000u);
    EXPECT_EQ(s.At(20, 20), 0xFFFFFFu);
    EXPECT_EQ(s.At(5, 20), 0xFFFFFFu);
}

TEST(ManagerPaint, DirectPaintingWithoutTheOffscreenBitmap) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FF123456\"");
    TestWindow w;
    ASSERT_TRUE(w.Open(20, 20, root));
    w.Manager().SetOffscreenPaint(false);
    w.Paint();
    PixelSurface s(20, 20);
    CaptureClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(10, 10), 0x123456u);
}

TEST(ManagerPaint, ThousandRepaintsLeakNoGdiObjectsOrHandles) {
    auto* root = Make<CVerticalLayoutUI>("bkcolor=\"#FF101010\" bkcolor2=\"#FFF0F0F0\" bkcolor3=\"#FF202020\"");
    root->Add(Leaf("bkcolor=\"#80FF0000\" bordercolor=\"#FF0000FF\" bordersize=\"2\" borderround=\"6,6\""));
    root->Add(Leaf("bkcolor=\"#FF00FF00\" bkcolor2=\"#8000FF00\" bordercolor=\"#FF000000\" bordersize=\"1,2,3,4\""));
    root->Add(Leaf("bkimage=\"no-such-image.png\" focusbordercolor=\"#FFFF0000\" bordersize=\"1\""));
    auto* side = Make<CHorizontalLayoutUI>("height=\"20\" sepwidth=\"4\" bkcolor=\"#FFFFFF00\"");
    root->Add(side);
    TestWindow w;
    ASSERT_TRUE(w.Open(120, 160, root));
    w.Manager().SetBackgroundTransparent(true);
    w.Manager().SetShowUpdateRect(true);
    // Warm up: fonts measured, offscreen and background bitmaps made.
    for (int i = 0; i < 5; ++i) w.Paint();
    const int gdiBefore = CountGdiObjects();
    const int handlesBefore = CountHandles();
    ASSERT_GT(gdiBefore, 0);
    ASSERT_GT(handlesBefore, 0);
    for (int i = 0; i < 1000; ++i) {
        if (i % 50 == 0) root->RequestLayout();  // the bitmaps are made again
        ::InvalidateRect(w.GetHWND(), nullptr, FALSE);
        ::UpdateWindow(w.GetHWND());
    }
    TestWindow::Pump();
    EXPECT_EQ(CountGdiObjects(), gdiBefore);
    EXPECT_EQ(CountHandles(), handlesBefore);
}

TEST(ManagerPaint, ManagerReleasesItsGdiObjectsWhenDestroyed) {
    // One window's life: objects made while it lives, none left after it,
    // the images of the scales it went through included.
    auto life = [](int before) {
        TestWindow w;
        auto* root = Make<CContainerUI>("bkcolor=\"#FF101010\" bkimage=\"file='402' restype='PNG'\"");
        ASSERT_TRUE(w.Open(50, 50, root));
        w.Manager().AddFont("Arial", 14, true, false, false);
        w.Manager().SetDefaultFont("Arial", 12, false, false, false);
        w.Manager().SetBackgroundTransparent(true);
        w.Paint();
        for (int dpi : {144, 168}) {
            w.Manager().SetDpi(dpi);
            w.Paint();
            EXPECT_NE(w.Manager().FindOrLoadScaledImage("402", "PNG", 0), nullptr);
        }
        EXPECT_GT(CountGdiObjects(), before);
    };
    // What lives for the whole program exists before counting: the shared
    // test window, the red pen made for the first manager, and what Wine
    // keeps after a first window's life (its cache of window device
    // contexts and their regions, grown on demand and kept for reuse).
    life(0);
    const int before = CountGdiObjects();
    life(before);
    EXPECT_EQ(CountGdiObjects(), before);
}

// A child's own clip narrows its parent's: an overflowing nested container,
// a scrolled one and a rounded child never paint over the parent's inset or
// border.
TEST(ManagerPaint, NestedClipsStayInsideTheParentsClientArea) {
    auto* root = Make<CHorizontalLayoutUI>("bkcolor=\"#FFFFFFFF\"");
    // Overflowing: a 300-pixel container in a 100-pixel column.
    auto* overflow = Make<CVerticalLayoutUI>("inset=\"10,10,10,10\" bordercolor=\"#FF000000\" bordersize=\"1\"");
    auto* tall = Make<CContainerUI>("height=\"300\" bkcolor=\"#FFFF0000\"");
    overflow->Add(tall);
    // Scrolled: the same, with a bar, scrolled half-way.
    auto* scrolled =
        Make<CVerticalLayoutUI>("inset=\"10,10,10,10\" bordercolor=\"#FF000000\" bordersize=\"1\" vscrollbar=\"true\"");
    scrolled->Add(Make<CContainerUI>("height=\"300\" bkcolor=\"#FFFF0000\""));
    // Rounded: a child whose round clip reaches past the inset.
    auto* rounded = Make<CVerticalLayoutUI>("inset=\"10,10,10,10\" bordercolor=\"#FF000000\" bordersize=\"1\"");
    rounded->Add(Leaf("height=\"300\" bkcolor=\"#FFFF0000\" borderround=\"8,8\""));
    root->Add(overflow);
    root->Add(scrolled);
    root->Add(rounded);
    TestWindow w;
    ASSERT_TRUE(w.Open(300, 100, root));
    scrolled->SetScrollPos(SIZE{0, 100});
    w.Paint();
    PixelSurface s(300, 100);
    CaptureClient(w.GetHWND(), s);
    for (int column = 0; column < 3; ++column) {
        const int left = column * 100;
        SCOPED_TRACE(column);
        EXPECT_EQ(s.At(left + 50, 50), 0xFF0000u);  // inside the client area
        for (int x = left + 1; x < left + 99; ++x) {
            ASSERT_EQ(s.At(x, 95), 0xFFFFFFu) << "bottom inset painted at x " << x;
            ASSERT_EQ(s.At(x, 5), 0xFFFFFFu) << "top inset painted at x " << x;
        }
        EXPECT_EQ(s.At(left + 50, 99), 0x000000u);  // the border is still there
    }
}

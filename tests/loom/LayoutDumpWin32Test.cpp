// Layouts laid out in a real window and compared as text dumps.
#include <gtest/gtest.h>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/TabLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

TEST(LayoutDump, VerticalTwoAutoChildrenWithGapTen_Get45And35) {
    TestWindow w;
    ASSERT_TRUE(w.Open(
        60, 100, Box<CVerticalLayoutUI>("name=\"v\" childpadding=\"10\"", {Leaf("name=\"a\""), Leaf("name=\"b\"")})));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "VerticalLayoutUI v (0,0,60,100)\n"
              "  ControlUI a (0,0,60,45)\n"
              "  ControlUI b (0,55,60,90)\n");
}

TEST(LayoutDump, VerticalThreeAutoChildren_33_33_34) {
    TestWindow w;
    ASSERT_TRUE(
        w.Open(30, 100, Box<CVerticalLayoutUI>("", {Leaf("name=\"a\""), Leaf("name=\"b\""), Leaf("name=\"c\"")})));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "VerticalLayoutUI (0,0,30,100)\n"
              "  ControlUI a (0,0,30,33)\n"
              "  ControlUI b (0,33,30,66)\n"
              "  ControlUI c (0,66,30,100)\n");
}

TEST(LayoutDump, VerticalMaxHeightTwentyThenAuto_20_80) {
    TestWindow w;
    ASSERT_TRUE(w.Open(30, 100, Box<CVerticalLayoutUI>("", {Leaf("name=\"a\" maxheight=\"20\""), Leaf("name=\"b\"")})));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "VerticalLayoutUI (0,0,30,100)\n"
              "  ControlUI a (0,0,30,20)\n"
              "  ControlUI b (0,20,30,100)\n");
}

TEST(LayoutDump, VerticalPaddingLiesInsideTheChildsRectangle) {
    TestWindow w;
    ASSERT_TRUE(
        w.Open(100, 200,
               Box<CVerticalLayoutUI>("childpadding=\"4\"", {Leaf("name=\"a\" height=\"30\" padding=\"5,5,5,5\""),
                                                             Leaf("name=\"b\" height=\"10\"")})));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "VerticalLayoutUI (0,0,100,200)\n"
              "  ControlUI a (5,5,95,40)\n"
              "  ControlUI b (0,44,100,54)\n");
}

TEST(LayoutDump, HorizontalWithInsetAndFixedWidths) {
    TestWindow w;
    ASSERT_TRUE(
        w.Open(200, 50,
               Box<CHorizontalLayoutUI>("inset=\"10,5,10,5\" childpadding=\"2\"",
                                        {Leaf("name=\"a\" width=\"40\""), Leaf("name=\"b\" padding=\"3,4,3,4\""),
                                         Leaf("name=\"c\" width=\"30\" height=\"12\"")})));
    // Room 180 wide, 80 of it fixed (a 40, c 30, gaps 4, b's padding 6). b
    // is the last auto child: what remains after a (135 after its left
    // padding) less its right padding and the 40 still counted as fixed,
    // which holds b's own padding and the gaps again: 92.
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "HorizontalLayoutUI (0,0,200,50)\n"
              "  ControlUI a (10,5,50,45)\n"
              "  ControlUI b (55,9,150,41)\n"
              "  ControlUI c (152,5,182,17)\n");
}

TEST(LayoutDump, NestedLayoutsAndHiddenChild) {
    TestWindow w;
    auto* row =
        Box<CHorizontalLayoutUI>("name=\"row\" height=\"20\"",
                                 {Leaf("name=\"l\""), Leaf("name=\"hidden\" visible=\"false\""), Leaf("name=\"r\"")});
    ASSERT_TRUE(w.Open(100, 60, Box<CVerticalLayoutUI>("name=\"root\"", {row, Leaf("name=\"rest\"")})));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "VerticalLayoutUI root (0,0,100,60)\n"
              "  HorizontalLayoutUI row (0,0,100,20)\n"
              "    ControlUI l (0,0,50,20)\n"
              "    ControlUI hidden (0,0,0,0) hidden\n"
              "    ControlUI r (50,0,100,20)\n"
              "  ControlUI rest (0,20,100,60)\n");
}

TEST(LayoutDump, FloatingChildWithNegativePosCountsFromTheRightEdge) {
    TestWindow w;
    auto* root = Box<CContainerUI>("name=\"root\" inset=\"3,3,3,3\"",
                                   {Leaf("name=\"f\" float=\"true\" pos=\"-50,10,-10,30\""), Leaf("name=\"fill\"")});
    ASSERT_TRUE(w.Open(200, 100, root));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "ContainerUI root (0,0,200,100)\n"
              "  ControlUI f (150,10,190,30)\n"
              "  ControlUI fill (3,3,197,97)\n");
}

TEST(LayoutDump, RelativeFloatingChildFollowsTheWindowSize) {
    TestWindow w;
    auto* root =
        Box<CVerticalLayoutUI>("", {Leaf("name=\"f\" float=\"true\" pos=\"10,10,30,20\" relativepos=\"50,0,100,0\"")});
    ASSERT_TRUE(w.Open(100, 100, root));
    CControlUI* f = w.Manager().FindControl("f");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetPos().left, 10);
    ::SetWindowPos(w.GetHWND(), nullptr, 0, 0, 140, 100, SWP_NOMOVE | SWP_NOZORDER);
    w.Paint();
    // 40 wider: moved by 20, grown by 40.
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "VerticalLayoutUI (0,0,140,100)\n"
              "  ControlUI f (30,10,90,20)\n");
}

TEST(LayoutDump, TabLayoutPlacesOnlyTheSelectedPage) {
    TestWindow w;
    int hiddenPlacements = 0;
    auto* tab = Box<CTabLayoutUI>(
        "name=\"tab\" inset=\"2,2,2,2\"",
        {Leaf("name=\"p0\""), Leaf("name=\"p1\" width=\"50\" padding=\"1,1,1,1\""), Leaf("name=\"p2\"")});
    struct Counter {
        int* count;
        bool OnSize(void*) {
            ++*count;
            return true;
        }
    } counter{&hiddenPlacements};
    tab->GetItemAt(2)->OnSize += CDelegate::Make(&counter, &Counter::OnSize);
    ASSERT_TRUE(w.Open(100, 80, tab));
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "TabLayoutUI tab (0,0,100,80)\n"
              "  ControlUI p0 (2,2,98,78)\n"
              "  ControlUI p1 (0,0,0,0) hidden\n"
              "  ControlUI p2 (0,0,0,0) hidden\n");
    ASSERT_TRUE(tab->SelectItem(1));
    w.Paint();
    EXPECT_EQ(DumpLayout(w.Manager().GetRoot()),
              "TabLayoutUI tab (0,0,100,80)\n"
              "  ControlUI p0 (2,2,98,78) hidden\n"
              "  ControlUI p1 (3,3,53,77)\n"
              "  ControlUI p2 (0,0,0,0) hidden\n");
    EXPECT_EQ(hiddenPlacements, 0);
    EXPECT_EQ(w.notifications.back(), "tabselect tab 1 0");
}

TEST(LayoutDump, TabLayoutInsertBeforeSelectionKeepsOnePageVisible) {
    TestWindow w;
    auto* tab = Box<CTabLayoutUI>("name=\"tab\"", {Leaf("name=\"p0\""), Leaf("name=\"p1\"")});
    ASSERT_TRUE(w.Open(50, 50, tab));
    ASSERT_TRUE(tab->SelectItem(1));
    ASSERT_TRUE(tab->AddAt(Leaf("name=\"new\""), 0));
    w.Paint();
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_EQ(DumpLayout(tab),
              "TabLayoutUI tab (0,0,50,50)\n"
              "  ControlUI new (0,0,0,0) hidden\n"
              "  ControlUI p0 (0,0,50,50) hidden\n"
              "  ControlUI p1 (0,0,50,50)\n");
}

TEST(LayoutDump, TabLayoutRemovingTheSelectedPageSelectsTheFirst) {
    TestWindow w;
    auto* tab = Box<CTabLayoutUI>("", {Leaf("name=\"p0\""), Leaf("name=\"p1\""), Leaf("name=\"p2\"")});
    ASSERT_TRUE(w.Open(50, 50, tab));
    ASSERT_TRUE(tab->SelectItem(2));
    ASSERT_TRUE(tab->RemoveAt(0));
    EXPECT_EQ(tab->GetCurSel(), 1);  // p2 moved down with its index
    ASSERT_TRUE(tab->RemoveAt(1));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(tab->GetItemAt(0)->IsVisible());
    EXPECT_FALSE(tab->SelectItem(1));
    tab->RemoveAll();
    EXPECT_EQ(tab->GetCurSel(), -1);
}

TEST(LayoutDump, VerticalBarAppearsWithRange100AndNarrowsTheChildren) {
    TestWindow w;
    auto* list = Box<CVerticalLayoutUI>(
        "name=\"list\" vscrollbar=\"true\"",
        {Leaf("name=\"a\" height=\"100\""), Leaf("name=\"b\" height=\"100\""), Leaf("name=\"c\" height=\"100\"")});
    ASSERT_TRUE(w.Open(120, 200, list));
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 100);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(DumpLayout(list),
              "VerticalLayoutUI list (0,0,120,200)\n"
              "  ControlUI a (0,0,104,100)\n"
              "  ControlUI b (0,100,104,200)\n"
              "  ControlUI c (0,200,104,300)\n");
    const RECT& barPos = bar->GetPos();
    EXPECT_EQ(barPos.left, 104);
    EXPECT_EQ(barPos.right, 120);
    EXPECT_EQ(barPos.bottom, 200);
}

TEST(LayoutDump, VerticalBarHidesWhenTheContentFitsAgain) {
    TestWindow w;
    auto* list = Box<CVerticalLayoutUI>("name=\"list\" vscrollbar=\"true\"",
                                        {Leaf("name=\"a\" height=\"150\""), Leaf("name=\"b\" height=\"150\"")});
    ASSERT_TRUE(w.Open(100, 200, list));
    ASSERT_TRUE(list->GetVerticalScrollBar()->IsVisible());
    list->EndDown();
    EXPECT_EQ(list->GetScrollPos().cy, 100);
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, -100);
    list->GetItemAt(1)->SetFixedHeight(20);
    w.Paint();
    EXPECT_FALSE(list->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(list->GetVerticalScrollBar()->GetScrollPos(), 0);
    EXPECT_EQ(DumpLayout(list),
              "VerticalLayoutUI list (0,0,100,200)\n"
              "  ControlUI a (0,0,100,150)\n"
              "  ControlUI b (0,150,100,170)\n");
}

// The horizontal bar's range comes from what the children need at the
// client width, not from the width the bar's range already added: an auto
// child spans the scrolled content, and the bar hides once everything fits.
TEST(LayoutDump, HorizontalBarFollowsTheWidestChildAndHidesWhenItFits) {
    TestWindow w;
    auto* list = Box<CVerticalLayoutUI>(
        "name=\"list\" hscrollbar=\"true\"",
        {Leaf("name=\"wide\" width=\"300\" height=\"20\""), Leaf("name=\"auto\" height=\"20\"")});
    ASSERT_TRUE(w.Open(200, 100, list));
    CScrollBarUI* bar = list->GetHorizontalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 100);
    EXPECT_EQ(list->GetItemAt(1)->GetWidth(), 300);
    ::SetWindowPos(w.GetHWND(), nullptr, 0, 0, 600, 100, SWP_NOMOVE | SWP_NOZORDER);
    w.Paint();
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(DumpLayout(list),
              "VerticalLayoutUI list (0,0,600,100)\n"
              "  ControlUI wide (0,0,300,20)\n"
              "  ControlUI auto (0,20,600,40)\n");
}

// A wider window that still needs the bar narrows its range, and the auto
// child spans the content again, not the old range.
TEST(LayoutDump, HorizontalBarRangeChangeLaysTheChildrenOutAgain) {
    TestWindow w;
    auto* list = Box<CVerticalLayoutUI>(
        "name=\"list\" hscrollbar=\"true\"",
        {Leaf("name=\"wide\" width=\"300\" height=\"20\""), Leaf("name=\"auto\" height=\"20\"")});
    ASSERT_TRUE(w.Open(200, 100, list));
    ::SetWindowPos(w.GetHWND(), nullptr, 0, 0, 250, 100, SWP_NOMOVE | SWP_NOZORDER);
    w.Paint();
    EXPECT_EQ(list->GetHorizontalScrollBar()->GetScrollRange(), 50);
    EXPECT_EQ(DumpLayout(list),
              "VerticalLayoutUI list (0,0,250,100)\n"
              "  ControlUI wide (0,0,300,20)\n"
              "  ControlUI auto (0,20,300,40)\n");
}

TEST(LayoutDump, ScrollKeysMoveTheChildren) {
    TestWindow w;
    auto* list = Box<CVerticalLayoutUI>("name=\"list\" vscrollbar=\"true\" inset=\"0,5,0,5\"",
                                        {Leaf("name=\"a\" height=\"600\"")});
    ASSERT_TRUE(w.Open(100, 200, list));
    const int line = w.Manager().GetDefaultFontInfo().tmHeight + 8;
    list->LineDown();
    EXPECT_EQ(list->GetScrollPos().cy, line);
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, 5 - line);
    list->PageDown();  // 200 - 5 - 5
    EXPECT_EQ(list->GetScrollPos().cy, line + 190);
    list->HomeUp();
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, 5);
    list->PageUp();  // clamped at 0: nothing moves
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    list->EndDown();
    EXPECT_EQ(list->GetScrollPos().cy, 600 - 190);
}

TEST(LayoutDump, SetPosWithRightLeftOfLeftGivesEmptyRectangle) {
    CControlUI c;
    c.SetPos(RECT{50, 20, 10, 5});
    EXPECT_EQ(c.GetPos().left, 50);
    EXPECT_EQ(c.GetPos().right, 50);
    EXPECT_EQ(c.GetPos().bottom, 20);
}

TEST(LayoutDump, DraggingSeparatorBelowMinWidthStopsAtMinWidth) {
    TestWindow w;
    auto* side = Make<CHorizontalLayoutUI>("name=\"side\" width=\"100\" minwidth=\"40\" sepwidth=\"4\"");
    auto* root = Box<CHorizontalLayoutUI>("name=\"root\"", {side, Leaf("name=\"rest\"")});
    ASSERT_TRUE(w.Open(300, 50, root));
    ASSERT_EQ(side->GetPos().right, 100);
    EXPECT_EQ(side->GetControlFlags(), static_cast<UINT>(ControlFlagSetCursor));
    w.ButtonDown(98, 10);
    EXPECT_TRUE(side->IsDragging());
    EXPECT_EQ(w.Manager().GetPostPaintCount(), 1);
    w.MouseMove(60, 10, MK_LBUTTON);
    EXPECT_EQ(side->GetFixedWidth(), 62);
    w.MouseMove(5, 10, MK_LBUTTON);
    EXPECT_EQ(side->GetFixedWidth(), 40);
    w.Paint();  // the overlay bar is drawn, the layout is not changed yet
    EXPECT_EQ(side->GetPos().right, 100);
    w.MouseMove(2, 10, MK_LBUTTON);
    EXPECT_EQ(side->GetFixedWidth(), 40);
    w.ButtonUp(2, 10);
    EXPECT_FALSE(side->IsDragging());
    EXPECT_EQ(w.Manager().GetPostPaintCount(), 0);
    w.Paint();
    EXPECT_EQ(DumpLayout(root),
              "HorizontalLayoutUI root (0,0,300,50)\n"
              "  HorizontalLayoutUI side (0,0,40,50)\n"
              "  ControlUI rest (40,0,300,50)\n");
}

TEST(LayoutDump, ImmediateVerticalSeparatorRelaysOutWhileDragging) {
    TestWindow w;
    auto* top = Make<CVerticalLayoutUI>("name=\"top\" height=\"60\" sepheight=\"6\" sepimm=\"true\" maxheight=\"80\"");
    auto* root = Box<CVerticalLayoutUI>("name=\"root\"", {top, Leaf("name=\"rest\"")});
    ASSERT_TRUE(w.Open(50, 200, root));
    w.ButtonDown(10, 57);
    EXPECT_EQ(w.Manager().GetPostPaintCount(), 0);
    w.MouseMove(10, 157, MK_LBUTTON);
    w.Paint();
    EXPECT_EQ(DumpLayout(root),
              "VerticalLayoutUI root (0,0,50,200)\n"
              "  VerticalLayoutUI top (0,0,50,80)\n"
              "  ControlUI rest (0,80,50,200)\n");
    w.ButtonUp(10, 157);
}

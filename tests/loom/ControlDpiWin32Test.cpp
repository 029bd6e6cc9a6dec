// What the controls paint and measure at another display scale: borders,
// round corners, text padding, list columns dragged at a scale, the tree's
// indent. Markup gives 96-DPI numbers; the window shows them at its DPI.
#include <gtest/gtest.h>

#include "Loom/Control/LabelUI.h"
#include "Loom/Control/ListContainerElementUI.h"
#include "Loom/Control/ListHeaderItemUI.h"
#include "Loom/Control/ListUI.h"
#include "Loom/Control/TreeNodeUI.h"
#include "Loom/Control/TreeToggleUI.h"
#include "Loom/Control/TreeViewUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// The window as a change of display leaves it: the given DPI and the 96-DPI
// client size scaled, laid out and painted again.
void ShowAt(TestWindow& w, int dpi, int cx, int cy) {
    const DpiScale scale(dpi);
    w.Manager().SetDpi(dpi);
    ::SetWindowPos(w.GetHWND(), nullptr, 0, 0, scale.Scale(cx), scale.Scale(cy), SWP_NOMOVE | SWP_NOZORDER);
    w.Paint();
}

// The first column from the left in which a pixel is not white, or -1.
int FirstInkColumn(const PixelSurface& s, int width, int top, int bottom) {
    for (int x = 0; x < width; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (s.At(x, y) != 0xFFFFFFu) return x;
        }
    }
    return -1;
}

}  // namespace

// A border of 1 is 1.5 pixels at 144 DPI: it paints 2, inside the control.
TEST(PaintDpi, ABorderOfOneIsTwoPixelsAt144) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FF3366CC\"");
    root->Add(
        Leaf("float=\"true\" pos=\"10,10,30,30\" bkcolor=\"#FF00FF00\" bordercolor=\"#FFFF0000\" bordersize=\"1\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(60, 40, root));
    ShowAt(w, 144, 60, 40);
    PixelSurface s(90, 60);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(14, 30), 0x3366CCu);
    EXPECT_EQ(s.At(15, 30), 0xFF0000u);
    EXPECT_EQ(s.At(16, 30), 0xFF0000u);
    EXPECT_EQ(s.At(17, 30), 0x00FF00u);
    EXPECT_EQ(s.At(44, 30), 0xFF0000u);  // the right edge, 43 and 44
    EXPECT_EQ(s.At(42, 30), 0x00FF00u);
}

// A round corner of 12 is 18 at 144 DPI: a pixel that a 12-pixel corner
// keeps inside lies outside the scaled one.
TEST(PaintDpi, RoundCornersClipAtTheScale) {
    auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\" inset=\"5,5,5,5\"");
    root->Add(Leaf("bkcolor=\"#FF000000\" borderround=\"12,12\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(40, 40, root));
    PixelSurface at96(40, 40);
    PrintClient(w.GetHWND(), at96);
    EXPECT_EQ(at96.At(7, 7), 0x000000u);

    ShowAt(w, 144, 40, 40);
    PixelSurface s(60, 60);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(10, 10), 0xFFFFFFu);  // the inset is 8 now; two pixels into the corner
    EXPECT_EQ(s.At(30, 8), 0x000000u);   // the straight edge is inside
    EXPECT_EQ(s.At(30, 30), 0x000000u);
}

// The text moves by the scaled padding, 10 at 96 DPI being 15 at 144, and
// by an html text's own space, {x 20} being 30.
TEST(PaintDpi, TextPaddingAndHtmlSpacesMoveTheTextByTheirScaledWidths) {
    auto inkAt144 = [](const char* attributes) {
        auto* root = Make<CContainerUI>("bkcolor=\"#FFFFFFFF\"");
        auto* label = Make<CLabelUI>("text=\"H\" textcolor=\"#FF000000\" align=\"left\"");
        label->ApplyAttributeList(attributes);
        root->Add(label);
        TestWindow w;
        if (!w.Open(80, 30, root)) return -100;
        ShowAt(w, 144, 80, 30);
        PixelSurface s(120, 45);
        PrintClient(w.GetHWND(), s);
        return FirstInkColumn(s, 120, 0, 45);
    };
    const int plain = inkAt144("");
    ASSERT_GE(plain, 0);
    EXPECT_EQ(inkAt144("textpadding=\"10,0,0,0\""), plain + 15);
    const int html = inkAt144("showhtml=\"true\"");
    ASSERT_GE(html, 0);
    EXPECT_EQ(inkAt144("showhtml=\"true\" text=\"{x 20}H\""), html + 30);
}

// A column dragged at 144 DPI keeps its width in 96-DPI numbers: shown at 96
// again it is the width the drag gave, unscaled, and not scaled twice.
TEST(PaintDpi, HeaderColumnDraggedAt144IsStoredAt96) {
    auto* list = new CListUI;
    for (int i = 0; i < 2; ++i) list->Add(Make<CListContainerElementUI>("height=\"20\""));
    auto* h0 = Make<CListHeaderItemUI>("name=\"h0\" width=\"80\" text=\"Name\"");
    list->Add(h0);
    list->Add(Make<CListHeaderItemUI>("name=\"h1\" text=\"Value\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(200, 100, list));
    ShowAt(w, 144, 200, 100);
    ASSERT_EQ(list->GetListInfo()->columnRects[0].right, 120);
    // The separator strip is 6 pixels at this scale: 115 is on it, 4 pixels
    // from the edge would miss it.
    w.ButtonDown(115, 5);
    w.MouseMove(160, 5, MK_LBUTTON);  // 45 pixels on: 165 wide
    w.ButtonUp(160, 5);
    w.Paint();
    EXPECT_EQ(h0->GetFixedWidth(), 110);
    EXPECT_EQ(list->GetListInfo()->columnRects[0].right, 165);
    EXPECT_EQ(list->GetListInfo()->columnRects[1].left, 165);

    ShowAt(w, 96, 200, 100);
    EXPECT_EQ(list->GetListInfo()->columnRects[0].right, 110);
    EXPECT_EQ(h0->GetFixedWidth(), 110);
}

// Each level is indented 16 pixels at 96 DPI, 24 at 144; a node without a
// folder button keeps its room, scaled with the indent.
TEST(PaintDpi, TreeIndentIsScaled) {
    auto node = [](const char* name) {
        auto* n = new CTreeNodeUI;
        n->SetName(name);
        n->SetText(name);
        n->SetFixedHeight(20);
        return n;
    };
    auto* view = new CTreeViewUI;
    CTreeNodeUI* a = node("A");
    CTreeNodeUI* a1 = node("A1");
    CTreeNodeUI* a1a = node("A1a");
    a1->Add(a1a);
    a->Add(a1);
    view->Add(a);
    TestWindow w;
    ASSERT_TRUE(w.Open(200, 150, view));
    ShowAt(w, 144, 200, 150);
    EXPECT_EQ(a->GetFolderButton()->GetPos().left, 0);
    EXPECT_EQ(a1->GetFolderButton()->GetPos().left, 24);
    EXPECT_EQ(a1->GetFolderButton()->GetPos().right, 48);
    EXPECT_EQ(a1a->GetPos().top, 60);
    // A1a's indent: two levels and the folder button's room, 48 at 96 DPI.
    EXPECT_EQ(a1a->GetLine()->GetItemAt(0)->GetPos().right, 72);
}

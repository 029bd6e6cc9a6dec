// Layouts laid out in a real window at other display scales: the dump at a
// scale is the 96-DPI dump with every edge scaled, each within 1 px, however
// many measures an edge sums and however deep it is nested; and a change of
// scale lays the window out again from the 96-DPI numbers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "Loom/Control/LabelUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/TabLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// Every edge of a layout at a scale lies within this many pixels of the
// 96-DPI edge scaled.
constexpr int kTolerance = 1;

struct LayoutCase {
    const char* name;
    int cx;
    int cy;
    std::function<CControlUI*()> make;
};

// The layouts of the 96-DPI dump tests, and one larger mixed one.
std::vector<LayoutCase> Cases() {
    return {
        {"gap", 60, 100,
         [] {
             return Box<CVerticalLayoutUI>("name=\"v\" childpadding=\"10\"", {Leaf("name=\"a\""), Leaf("name=\"b\"")});
         }},
        {"three auto", 30, 100,
         [] {
             return Box<CVerticalLayoutUI>("", {Leaf("name=\"a\""), Leaf("name=\"b\""), Leaf("name=\"c\"")});
         }},
        {"max height", 30, 100,
         [] {
             return Box<CVerticalLayoutUI>("", {Leaf("name=\"a\" maxheight=\"20\""), Leaf("name=\"b\"")});
         }},
        {"padding", 100, 200,
         [] {
             return Box<CVerticalLayoutUI>("childpadding=\"4\"", {Leaf("name=\"a\" height=\"30\" padding=\"5,5,5,5\""),
                                                                  Leaf("name=\"b\" height=\"10\"")});
         }},
        {"inset and fixed widths", 200, 50,
         [] {
             return Box<CHorizontalLayoutUI>("inset=\"10,5,10,5\" childpadding=\"2\"",
                                             {Leaf("name=\"a\" width=\"40\""), Leaf("name=\"b\" padding=\"3,4,3,4\""),
                                              Leaf("name=\"c\" width=\"30\" height=\"12\"")});
         }},
        {"nested and hidden", 100, 60,
         [] {
             auto* row = Box<CHorizontalLayoutUI>(
                 "name=\"row\" height=\"20\"",
                 {Leaf("name=\"l\""), Leaf("name=\"hidden\" visible=\"false\""), Leaf("name=\"r\"")});
             return Box<CVerticalLayoutUI>("name=\"root\"", {row, Leaf("name=\"rest\"")});
         }},
        {"floating from the right", 200, 100,
         [] {
             return Box<CContainerUI>("name=\"root\" inset=\"3,3,3,3\"",
                                      {Leaf("name=\"f\" float=\"true\" pos=\"-50,10,-10,30\""), Leaf("name=\"fill\"")});
         }},
        {"relative floating", 100, 100,
         [] {
             return Box<CVerticalLayoutUI>(
                 "", {Leaf("name=\"f\" float=\"true\" pos=\"10,10,30,20\" relativepos=\"50,0,100,0\"")});
         }},
        {"tab", 100, 80,
         [] {
             auto* tab = Box<CTabLayoutUI>(
                 "name=\"tab\" inset=\"2,2,2,2\" selectedid=\"1\"",
                 {Leaf("name=\"p0\""), Leaf("name=\"p1\" width=\"50\" padding=\"1,1,1,1\""), Leaf("name=\"p2\"")});
             return tab;
         }},
        {"vertical bar", 120, 200,
         [] {
             return Box<CVerticalLayoutUI>("name=\"list\" vscrollbar=\"true\"",
                                           {Leaf("name=\"a\" height=\"100\""), Leaf("name=\"b\" height=\"100\""),
                                            Leaf("name=\"c\" height=\"100\"")});
         }},
        {"horizontal bar", 200, 100,
         [] {
             return Box<CVerticalLayoutUI>(
                 "name=\"list\" hscrollbar=\"true\"",
                 {Leaf("name=\"wide\" width=\"300\" height=\"20\""), Leaf("name=\"auto\" height=\"20\"")});
         }},
        {"mixed", 333, 247,
         [] {
             auto* header =
                 Box<CHorizontalLayoutUI>("name=\"header\" height=\"27\" inset=\"4,3,4,3\" childpadding=\"5\"",
                                          {Leaf("name=\"icon\" width=\"21\""),
                                           Make<CLabelUI>("name=\"title\" text=\"Radio\" padding=\"2,0,2,0\""),
                                           Leaf("name=\"close\" width=\"17\" height=\"17\" padding=\"0,2,0,0\"")});
             auto* side = Box<CVerticalLayoutUI>(
                 "name=\"side\" width=\"93\" minwidth=\"60\" sepwidth=\"3\" inset=\"1,1,1,1\" childpadding=\"3\"",
                 {Leaf("name=\"s1\" height=\"23\""), Leaf("name=\"s2\" height=\"23\" maxwidth=\"70\""),
                  Leaf("name=\"s3\" minheight=\"31\" maxheight=\"45\""), Leaf("name=\"s4\"")});
             auto* list = Box<CVerticalLayoutUI>(
                 "name=\"list\" vscrollbar=\"true\" inset=\"2,2,2,2\" childpadding=\"1\"",
                 {Leaf("name=\"r1\" height=\"41\""), Leaf("name=\"r2\" height=\"41\" padding=\"7,0,7,0\""),
                  Leaf("name=\"r3\" height=\"41\""), Leaf("name=\"r4\" height=\"41\""),
                  Leaf("name=\"r5\" height=\"41\"")});
             auto* pages = Box<CTabLayoutUI>(
                 "name=\"pages\" inset=\"3,3,3,3\"",
                 {list, Leaf("name=\"other\""), Leaf("name=\"badge\" float=\"true\" pos=\"-25,5,-5,15\"")});
             auto* body = Box<CHorizontalLayoutUI>("name=\"body\" childpadding=\"2\"", {side, pages});
             auto* status = Box<CHorizontalLayoutUI>(
                 "name=\"status\" height=\"19\" inset=\"3,1,3,1\"",
                 {Leaf("name=\"st1\""), Leaf("name=\"st2\" width=\"61\""), Leaf("name=\"st3\" width=\"13\"")});
             return Box<CVerticalLayoutUI>("name=\"root\" inset=\"1,1,1,1\"", {header, body, status});
         }},
    };
}

// A dump line: what stands outside the parentheses and the four edges.
struct DumpLine {
    std::string outside;
    long edges[4] = {0, 0, 0, 0};
};

std::vector<DumpLine> ParseDump(const std::string& dump) {
    std::vector<DumpLine> lines;
    std::istringstream in(dump);
    std::string text;
    while (std::getline(in, text)) {
        DumpLine line;
        const size_t open = text.rfind('(');
        const size_t close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open) {
            line.outside = text;
        } else {
            line.outside = text.substr(0, open) + text.substr(close + 1);
            const char* p = text.c_str() + open + 1;
            for (long& edge : line.edges) {
                char* end = nullptr;
                edge = std::strtol(p, &end, 10);
                p = end + 1;  // past the comma
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// What a dump reads when its window did not open.
constexpr const char* kNotOpened = "not opened";

// Same controls in the same order, each edge within tolerance px of the
// 96-DPI edge scaled.
::testing::AssertionResult IsScaledDump(const std::string& base, const std::string& scaled, int dpi, int tolerance) {
    if (base == kNotOpened || scaled == kNotOpened) return ::testing::AssertionFailure() << "a window did not open";
    const std::vector<DumpLine> a = ParseDump(base);
    const std::vector<DumpLine> b = ParseDump(scaled);
    if (a.size() != b.size()) return ::testing::AssertionFailure() << "line count differs:\n" << base << scaled;
    const DpiScale scale(dpi);
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].outside != b[i].outside)
            return ::testing::AssertionFailure() << "line " << i << " differs:\n" << base << scaled;
        for (int e = 0; e < 4; ++e) {
            const long want = scale.Scale(static_cast<int>(a[i].edges[e]));
            if (std::labs(b[i].edges[e] - want) > tolerance)
                return ::testing::AssertionFailure() << "line " << i << " edge " << e << " is " << b[i].edges[e]
                                                     << ", not " << want << " at " << dpi << " DPI:\n"
                                                     << base << scaled;
        }
    }
    return ::testing::AssertionSuccess();
}

void Resize(TestWindow& w, int cx, int cy) {
    ::SetWindowPos(w.GetHWND(), nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    w.Paint();
}

std::string DumpAt96(const LayoutCase& c) {
    TestWindow w;
    if (!w.Open(c.cx, c.cy, c.make())) return kNotOpened;
    return DumpLayout(w.Manager().GetRoot());
}

// The window as a change of display opens it: laid out at 96 DPI first, then
// given the new DPI and its scaled size.
std::string DumpAt(const LayoutCase& c, int dpi) {
    TestWindow w;
    if (!w.Open(c.cx, c.cy, c.make())) return kNotOpened;
    const DpiScale scale(dpi);
    w.Manager().SetDpi(dpi);
    Resize(w, scale.Scale(c.cx), scale.Scale(c.cy));
    return DumpLayout(w.Manager().GetRoot());
}

void ExpectEveryLayoutScaled(int dpi) {
    for (const LayoutCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(IsScaledDump(DumpAt96(c), DumpAt(c, dpi), dpi, kTolerance));
    }
}

}  // namespace

TEST(LayoutDpi, At120EveryEdgeIsScaled) { ExpectEveryLayoutScaled(120); }
TEST(LayoutDpi, At144EveryEdgeIsScaled) { ExpectEveryLayoutScaled(144); }
TEST(LayoutDpi, At192EveryEdgeIsScaled) { ExpectEveryLayoutScaled(192); }
// DPIs no monitor setting of the program was tried at.
TEST(LayoutDpi, At108And168And288EveryEdgeIsScaled) {
    ExpectEveryLayoutScaled(108);
    ExpectEveryLayoutScaled(168);
    ExpectEveryLayoutScaled(288);
}

// 96 -> 144 -> 96 lays out from the 96-DPI numbers each time: nothing is
// scaled twice and the way back is exact.
TEST(LayoutDpi, ScaleThereAndBackGivesThe96DumpExactly) {
    for (const LayoutCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        ASSERT_TRUE(w.Open(c.cx, c.cy, c.make()));
        const std::string at96 = DumpLayout(w.Manager().GetRoot());
        w.Manager().SetDpi(144);
        Resize(w, DpiScale(144).Scale(c.cx), DpiScale(144).Scale(c.cy));
        EXPECT_TRUE(IsScaledDump(at96, DumpLayout(w.Manager().GetRoot()), 144, kTolerance));
        w.Manager().SetDpi(96);
        Resize(w, c.cx, c.cy);
        EXPECT_EQ(DumpLayout(w.Manager().GetRoot()), at96);
    }
}

// A separator dragged at 144 DPI stops at the minimum width scaled and keeps
// the width it leaves in 96-DPI numbers.
TEST(LayoutDpi, SeparatorDraggedAtAScaleKeeps96DpiNumbers) {
    TestWindow w;
    auto* side = Make<CHorizontalLayoutUI>("name=\"side\" width=\"100\" minwidth=\"40\" sepwidth=\"4\"");
    auto* root = Box<CHorizontalLayoutUI>("name=\"root\"", {side, Leaf("name=\"rest\"")});
    ASSERT_TRUE(w.Open(450, 75, root));
    w.Manager().SetDpi(144);
    w.Paint();
    ASSERT_EQ(side->GetPos().right, 150);
    w.ButtonDown(146, 10);  // within the separator, 6 px at this scale
    ASSERT_TRUE(side->IsDragging());
    w.MouseMove(110, 10, MK_LBUTTON);
    EXPECT_EQ(side->GetFixedWidth(), 76);  // 114 px
    w.MouseMove(5, 10, MK_LBUTTON);
    EXPECT_EQ(side->GetFixedWidth(), 40);  // 60 px, the minimum
    w.ButtonUp(5, 10);
    w.Paint();
    EXPECT_EQ(side->GetPos().right, 60);
    w.Manager().SetDpi(96);
    w.Paint();
    EXPECT_EQ(side->GetPos().right, 40);
}

// The manager's fonts are asked at the scale's height and made again when
// the scale changes; their 96-DPI size is what the font list answers.
TEST(LayoutDpi, FontsTakeTheirHeightAtTheScale) {
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 50, Leaf("")));
    CUIManager& m = w.Manager();
    auto height = [](HFONT font) {
        LOGFONTW lf{};
        return ::GetObjectW(font, sizeof(lf), &lf) == sizeof(lf) ? static_cast<long>(lf.lfHeight) : 0L;
    };
    ASSERT_NE(m.AddFont("Tahoma", 12, false, false, false), nullptr);
    const long default96 = height(m.GetDefaultFont());
    ASSERT_NE(default96, 0);
    EXPECT_EQ(height(m.GetFont(0)), -12);
    const int tm96 = m.GetFontInfo(0).tmHeight;

    m.SetDpi(168);
    EXPECT_EQ(height(m.GetFont(0)), -21);
    EXPECT_EQ(height(m.GetDefaultFont()), DpiScale(168).Scale(default96));
    EXPECT_GT(m.GetFontInfo(0).tmHeight, tm96);  // the metrics are measured again
    EXPECT_EQ(m.GetFont("Tahoma", 12, false, false, false), m.GetFont(0));
    ASSERT_NE(m.AddFont("Tahoma", 10, true, false, false), nullptr);
    EXPECT_EQ(height(m.GetFont(1)), DpiScale(168).Scale(-10));

    m.SetDpi(96);
    EXPECT_EQ(height(m.GetFont(0)), -12);
    EXPECT_EQ(height(m.GetFont(1)), -10);
    EXPECT_EQ(height(m.GetDefaultFont()), default96);
    EXPECT_EQ(m.GetFontInfo(0).tmHeight, tm96);
}

// The window's minimum and maximum track sizes are given at 96 DPI and
// answered at the scale.
TEST(LayoutDpi, MinAndMaxInfoAreAnsweredAtTheScale) {
    TestWindow w;
    ASSERT_TRUE(w.Open(30, 30, nullptr));
    w.Manager().SetMinInfo(201, 0);
    w.Manager().SetMaxInfo(0, 301);
    w.Manager().SetDpi(144);
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3, 4};
    LRESULT result = 0;
    EXPECT_FALSE(w.Manager().MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result));
    EXPECT_EQ(info.ptMinTrackSize.x, 302);
    EXPECT_EQ(info.ptMinTrackSize.y, 2);
    EXPECT_EQ(info.ptMaxTrackSize.x, 3);
    EXPECT_EQ(info.ptMaxTrackSize.y, 452);
}

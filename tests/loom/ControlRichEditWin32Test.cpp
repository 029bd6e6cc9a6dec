// The rich edit: text through the system's windowless text services (under
// Wine its rich edit library), painting, typing, Return and Tab.
#include <gtest/gtest.h>

#include <algorithm>

#include "Loom/Control/RichEditUI.h"
#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "ControlTestSupport.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

int DarkPixels(const PixelSurface& s, const RECT& rc) {
    int dark = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if ((s.At(x, y) & 0xFF) < 0x80) ++dark;
        }
    }
    return dark;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

// A white editor "edit", 200 by 40, at the top of a 200 by 80 window, above
// a tab stop "next". Text services are made when the window attaches it.
struct Editor {
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    CRichEditUI* edit = Make<CRichEditUI>("name=\"edit\" height=\"40\" bkcolor=\"#FFFFFFFF\" textcolor=\"#FF000000\"");
    ProbeUI* next = new ProbeUI("next", nullptr, ControlFlagTabStop);
    explicit Editor(const char* attributes = "") {
        edit->ApplyAttributeList(attributes);
        root->Add(edit);
        root->Add(next);
    }
};

}  // namespace

TEST(RichEdit, TextRoundTripsThroughTheTextServicesIncludingChinese) {
    TestWindow w;
    Editor e;
    e.edit->SetText("set before the window");
    ASSERT_TRUE(w.Open(200, 80, e.root));
    ASSERT_TRUE(e.edit->HasTextServices());
    EXPECT_EQ(e.edit->GetText(), "set before the window");
    ASSERT_EQ(::GetACP(), 936u);
    const std::string chinese = "频率 410.00000 MHz 发射";
    e.edit->SetText(chinese);
    EXPECT_EQ(e.edit->GetText(), chinese);
    e.edit->SetText("one\r\ntwo");
    EXPECT_EQ(e.edit->GetText(), "one\r\ntwo");
    e.edit->SetText("");
    EXPECT_EQ(e.edit->GetText(), "");
}

TEST(RichEdit, TextIsPaintedThroughTheServices) {
    TestWindow w;
    Editor e;
    ASSERT_TRUE(w.Open(200, 80, e.root));
    ASSERT_TRUE(e.edit->HasTextServices());
    const RECT area = e.edit->GetPos();
    PixelSurface s(200, 80);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(DarkPixels(s, area), 0);
    e.edit->SetText("WWWW");
    w.Paint();
    s.Fill(0xFFFFFF);
    PrintClient(w.GetHWND(), s);
    EXPECT_GT(DarkPixels(s, area), 20);
}

TEST(RichEdit, TypedCharactersIncludingChineseOnesReachTheText) {
    TestWindow w;
    Editor e;
    ASSERT_TRUE(w.Open(200, 80, e.root));
    e.edit->SetFocus();
    w.Send(WM_CHAR, 'o', 1);
    w.Send(WM_CHAR, 'k', 1);
    w.Send(WM_CHAR, L'频', 1);  // the window is a wide window: one message, one character
    EXPECT_EQ(e.edit->GetText(), "ok频");
}

TEST(RichEdit, ReturnSendsReturnUnlessTheEditorWantsIt) {
    TestWindow w;
    Editor e;
    ASSERT_TRUE(w.Open(200, 80, e.root));
    e.edit->SetFocus();
    w.Send(WM_CHAR, 'a', 1);
    w.Key(WM_KEYDOWN, VK_RETURN);
    w.Send(WM_CHAR, '\r', 1);
    EXPECT_EQ(Of(w, "return"), std::vector<std::string>{"return edit 0 0"});
    EXPECT_EQ(e.edit->GetText(), "a");

    e.edit->SetAttribute("wantreturn", "true");
    w.Key(WM_KEYDOWN, VK_RETURN);
    w.Send(WM_CHAR, '\r', 1);
    EXPECT_EQ(Of(w, "return").size(), 1u);
    EXPECT_EQ(Count(e.edit->GetText(), "\r\n"), 1u);
}

TEST(RichEdit, ReadOnlyAndSingleLineSettingsReachTheServices) {
    TestWindow w;
    Editor e("readonly=\"true\" multiline=\"false\" wantreturn=\"true\"");
    ASSERT_TRUE(w.Open(200, 80, e.root));
    e.edit->SetText("fixed");
    e.edit->SetFocus();
    w.Send(WM_CHAR, 'q', 1);
    EXPECT_EQ(e.edit->GetText(), "fixed");
    // A single-line editor reports Return even when it wants returns.
    w.Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(Of(w, "return").size(), 1u);
    e.edit->SetReadOnly(false);
    w.Send(WM_CHAR, 'q', 1);
    EXPECT_EQ(Count(e.edit->GetText(), "q"), 1u);
}

TEST(RichEdit, TabMovesTheFocusUnlessTheEditorWantsTabs) {
    TestWindow w;
    Editor e;
    ASSERT_TRUE(w.Open(200, 80, e.root));
    e.edit->SetFocus();
    ::PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_TAB, 1);
    TestWindow::Pump();
    EXPECT_EQ(w.Manager().GetFocus(), e.next);

    e.edit->SetAttribute("wanttab", "true");
    e.edit->SetFocus();
    ::PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_TAB, 1);
    TestWindow::Pump();
    EXPECT_EQ(w.Manager().GetFocus(), e.edit);
    EXPECT_EQ(Count(e.edit->GetText(), "\t"), 1u);
}

TEST(RichEdit, VerticalBarFollowsTheServicesAndTheWheelScrollsThem) {
    TestWindow w;
    Editor e("vscrollbar=\"true\" autovscroll=\"true\"");
    ASSERT_TRUE(w.Open(200, 80, e.root));
    CScrollBarUI* bar = e.edit->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    w.Paint();
    EXPECT_FALSE(bar->IsVisible());
    std::string lines;
    for (int i = 0; i < 12; ++i) lines += "line " + std::to_string(i) + "\r\n";
    e.edit->SetText(lines);
    w.Paint();
    w.Paint();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_GT(bar->GetScrollRange(), 0);
    EXPECT_EQ(bar->GetPos().right, 200);
    EXPECT_LE(e.edit->GetClientArea().right, bar->GetPos().left);
    POINT pt{50, 20};
    ::ClientToScreen(w.GetHWND(), &pt);
    w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_GT(bar->GetScrollPos(), 0);
}

TEST(RichEdit, WithoutTextServicesKeepsItsTextAndPaintsOnlyItsBackground) {
    // Never attached to a window: no text services are made.
    CRichEditUI edit;
    edit.SetAttribute("bkcolor", "#FFFFFFFF");
    edit.SetText("kept");
    EXPECT_FALSE(edit.HasTextServices());
    EXPECT_EQ(edit.GetText(), "kept");
    edit.SetPos(RECT{0, 0, 100, 30});
    UIEvent key;
    key.kind = EventKeyDown;
    key.key = 'x';
    edit.DoEvent(key);
    UIEvent press;
    press.kind = EventButtonDown;
    edit.DoEvent(press);
    PixelSurface s(100, 30);
    s.Fill(0x000000);
    edit.DoPaint(s.dc(), RECT{0, 0, 100, 30});
    EXPECT_EQ(s.At(50, 15), 0xFFFFFFu);
    EXPECT_EQ(DarkPixels(s, RECT{0, 0, 100, 30}), 0);
    EXPECT_EQ(edit.GetText(), "kept");
}

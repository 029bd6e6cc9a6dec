// The scroll bar in a real window: its own position without an owner, the
// buttons, the thumb drag, the repeat timer, and the owner's scrolling.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// A window whose root holds one bar at (0, 0, 16, 200).
struct BarWindow {
    CScrollBarUI* bar = Make<CScrollBarUI>("name=\"bar\" range=\"100\" linesize=\"7\"");
    TestWindow w;

    BarWindow() {
        auto* root = new CVerticalLayoutUI;
        root->Add(bar);
        w.Open(100, 200, root);
        w.notifications.clear();
    }
    void Click(int x, int y) {
        w.ButtonDown(x, y);
        w.ButtonUp(x, y);
    }
    // Delivers one tick of the bar's repeat timer as the system would.
    bool Tick() {
        for (const TTimerInfo& t : w.Manager().GetTimers()) {
            if (t.control != bar || t.localId != CScrollBarUI::kRepeatTimerId || t.killed) continue;
            w.Send(WM_TIMER, t.sysId);
            return true;
        }
        return false;
    }
};

}  // namespace

TEST(ScrollBar, PositionClampsAndTheThumbFollowsRangeChanges) {
    BarWindow b;
    b.bar->SetScrollPos(-5);
    EXPECT_EQ(b.bar->GetScrollPos(), 0);
    b.bar->SetScrollPos(500);
    EXPECT_EQ(b.bar->GetScrollPos(), 100);
    const RECT atEnd = b.bar->GetThumbRect();
    EXPECT_EQ(atEnd.bottom, 184);
    b.bar->SetScrollRange(-3);
    EXPECT_EQ(b.bar->GetScrollRange(), 0);
    EXPECT_EQ(b.bar->GetScrollPos(), 0);
    const RECT full = b.bar->GetThumbRect();
    EXPECT_EQ(full.top, 16);
    EXPECT_EQ(full.bottom, 184);
    b.bar->SetAttribute("showbutton1", "false");
    EXPECT_EQ(b.bar->GetThumbRect().top, 0);
    EXPECT_TRUE(b.w.notifications.empty());  // set from code: no "scroll"
}

TEST(ScrollBar, ButtonsWithoutOwnerMoveByTheLineSizeAndSendScroll) {
    BarWindow b;
    b.Click(8, 190);
    EXPECT_EQ(b.bar->GetScrollPos(), 7);
    b.Click(8, 5);
    b.Click(8, 5);  // already at 0: no change, no notification
    EXPECT_EQ(b.bar->GetScrollPos(), 0);
    EXPECT_EQ(b.w.notifications, (std::vector<std::string>{"setfocus bar 0 0", "scroll bar 0 0", "scroll bar 0 0"}));
}

TEST(ScrollBar, TrackPressPagesByTheBarLengthTowardThePointer) {
    BarWindow b;
    b.bar->SetScrollRange(1000);
    b.Click(8, 150);  // below the thumb
    EXPECT_EQ(b.bar->GetScrollPos(), 200);
    b.Click(8, 17);  // above it
    EXPECT_EQ(b.bar->GetScrollPos(), 0);
}

TEST(ScrollBar, ThumbDragMovesThePositionInProportionToTheFreeTrack) {
    BarWindow b;
    // Thumb 112 long on a 168 track: 56 pixels of travel span the range.
    b.w.ButtonDown(8, 50);
    b.w.MouseMove(8, 78, MK_LBUTTON);
    EXPECT_EQ(b.bar->GetScrollPos(), 50);
    EXPECT_EQ(b.bar->GetThumbRect().top, 44);
    b.w.MouseMove(8, 10, MK_LBUTTON);  // past the start
    EXPECT_EQ(b.bar->GetScrollPos(), 0);
    b.w.ButtonUp(8, 10);
    b.w.MouseMove(8, 120);  // released: moving no longer scrolls
    EXPECT_EQ(b.bar->GetScrollPos(), 0);
}

TEST(ScrollBar, HeldButtonRepeatsFromTheSixthTickUntilReleased) {
    BarWindow b;
    b.w.ButtonDown(8, 190);
    EXPECT_EQ(b.bar->GetScrollPos(), 7);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(b.Tick());
    EXPECT_EQ(b.bar->GetScrollPos(), 7);
    ASSERT_TRUE(b.Tick());
    EXPECT_EQ(b.bar->GetScrollPos(), 14);
    ASSERT_TRUE(b.Tick());
    EXPECT_EQ(b.bar->GetScrollPos(), 21);
    b.w.ButtonUp(8, 190);
    EXPECT_FALSE(b.Tick());  // the timer stopped
}

TEST(ScrollBar, WithOwnerTheOwnerScrollsAndNoScrollIsSent) {
    auto* box = Make<CVerticalLayoutUI>("vscrollbar=\"true\"");
    for (int i = 0; i < 10; ++i) box->Add(Make<CControlUI>("height=\"50\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 200, box));
    CScrollBarUI* bar = box->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 300);
    w.notifications.clear();
    const int line = w.Manager().GetDefaultFontInfo().tmHeight + 8;
    w.ButtonDown(92, 190);
    w.ButtonUp(92, 190);
    EXPECT_EQ(box->GetScrollPos().cy, line);
    EXPECT_EQ(box->GetItemAt(0)->GetPos().top, -line);
    w.ButtonDown(92, 150);  // the track below the thumb: a page of the box
    w.ButtonUp(92, 150);
    EXPECT_EQ(box->GetScrollPos().cy, line + 200);
    for (const std::string& n : w.notifications) EXPECT_EQ(n.find("scroll"), std::string::npos) << n;
}

TEST(ScrollBar, PartsPaintTheirImagesByState) {
    // One-colour images in the temporary folder, named by colour.
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    const auto image = [&dir](const char* name, uint32_t argb) {
        const std::string path = std::string(dir) + name;
        const std::vector<uint8_t> png = RenderTestPng::Encode(4, 4, std::vector<uint32_t>(16, argb));
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
        return "file='" + path + "'";
    };
    BarWindow b;
    b.bar->SetAttribute("bknormalimage", image("loom-bar-bk.png", 0xFF808080).c_str());
    b.bar->SetAttribute("button1normalimage", image("loom-bar-b1.png", 0xFFFF0000).c_str());
    b.bar->SetAttribute("button2normalimage", image("loom-bar-b2.png", 0xFF00FF00).c_str());
    b.bar->SetAttribute("thumbnormalimage", image("loom-bar-thumb.png", 0xFF0000FF).c_str());
    b.bar->SetAttribute("thumbhotimage", image("loom-bar-hot.png", 0xFFFFFF00).c_str());
    b.bar->SetScrollPos(100);  // thumb at 72..184, bare track above it
    b.w.Paint();
    PixelSurface s(100, 200);
    PrintClient(b.w.GetHWND(), s);
    EXPECT_EQ(s.At(8, 8), 0xFF0000u);
    EXPECT_EQ(s.At(8, 192), 0x00FF00u);
    EXPECT_EQ(s.At(8, 100), 0x0000FFu);
    EXPECT_EQ(s.At(8, 40), 0x808080u);
    b.w.MouseMove(8, 100);
    PrintClient(b.w.GetHWND(), s);
    EXPECT_EQ(s.At(8, 100), 0xFFFF00u);
    EXPECT_EQ(s.At(8, 8), 0xFF0000u);  // a part without a hot image keeps its normal one
    for (const char* name :
         {"loom-bar-bk.png", "loom-bar-b1.png", "loom-bar-b2.png", "loom-bar-thumb.png", "loom-bar-hot.png"}) {
        std::remove((std::string(dir) + name).c_str());
    }
}

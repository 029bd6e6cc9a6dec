// The composite controls of the windows: the labelled combo and edit rows
// and the titled frame, laid out, painted and driven in a real window.
#include <gtest/gtest.h>

#include <string>

#include "Loom/Control/ListLabelElementUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "app/GroupBoxUI.h"
#include "app/LabelAndComboUI.h"
#include "app/LabelAndEditUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// The stand-in pictures of the test program (AppTest.rc), as 0xRRGGBB.
constexpr DWORD kComboNormal = 0x2060A0;
constexpr DWORD kComboDisabled = 0xB04080;
constexpr DWORD kEditNormal = 0xE0C000;
constexpr DWORD kEditDisabled = 0x806040;

// A window of cx by cy whose root stacks the given control above a filler.
struct RowWindow {
    TestWindow w;
    CVerticalLayoutUI* root = new CVerticalLayoutUI;

    RowWindow(CControlUI* control, int cx, int cy) {
        root->Add(control);
        root->Add(new CControlUI);
        w.Open(cx, cy, root);
        w.notifications.clear();
    }
    DWORD PixelAt(int x, int y) {
        w.Paint();
        PixelSurface surface(300, 200);
        PrintClient(w.GetHWND(), surface);
        return surface.At(x, y);
    }
};

CListLabelElementUI* Item(const char* text) {
    auto* item = new CListLabelElementUI;
    item->SetText(text);
    item->SetFixedHeight(20);
    return item;
}

CControlUI* Child(const char* name, int height) {
    auto* child = new CControlUI;
    child->SetName(name);
    child->SetFixedHeight(height);
    return child;
}

// The free pixels between a control and the bottom of what lies above it.
int GapAbove(CControlUI* control, int above) { return control->GetPos().top - above; }

}  // namespace

TEST(LabelAndComboRow, CaptionOfTheGivenWidthThenTheComboInTheRestOfTheRow) {
    auto* row = new CLabelAndComboUI("Protocol:", 70);
    RowWindow rw(row, 300, 40);
    EXPECT_EQ(DumpLayout(rw.root),
              "VerticalLayoutUI (0,0,300,40)\n"
              "  HorizontalLayoutUI (0,0,300,22)\n"
              "    LabelUI (0,1,70,21)\n"
              "    ComboBoxUI (70,1,300,21)\n"
              "  ControlUI (0,22,300,40)\n");
}

TEST(LabelAndComboRow, DisablingGreysCaptionAndComboAndEnablingRestoresThem) {
    auto* row = new CLabelAndComboUI("Protocol:", 70);
    RowWindow rw(row, 300, 40);
    EXPECT_EQ(rw.PixelAt(150, 10), kComboNormal);
    row->SetEnabled(false);
    EXPECT_EQ(rw.PixelAt(150, 10), kComboDisabled);
    EXPECT_FALSE(row->GetLabel()->IsEnabled());  // drawn in the disabled text colour
    row->SetEnabled(true);
    EXPECT_EQ(rw.PixelAt(150, 10), kComboNormal);
    EXPECT_TRUE(row->GetLabel()->IsEnabled());
}

TEST(LabelAndComboRow, TheWheelOverTheRowsComboSelectsAndNotifiesFromTheCombo) {
    auto* row = new CLabelAndComboUI("Rate:", 42);
    row->GetCombo()->SetName("rate");
    row->GetCombo()->Add(Item(" 9600"));
    row->GetCombo()->Add(Item(" 19200"));
    RowWindow rw(row, 300, 40);
    POINT pt{150, 10};
    ::ClientToScreen(rw.w.GetHWND(), &pt);
    rw.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    rw.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(rw.w.notifications, (std::vector<std::string>{"itemselect rate 0 -1", "itemselect rate 1 0"}));
    EXPECT_EQ(row->GetCombo()->GetText(), " 19200");
}

TEST(LabelAndEditRow, CaptionOfTheGivenWidthThenTheEditInTheRestOfTheRow) {
    auto* row = new CLabelAndEditUI("Address:", 70);
    RowWindow rw(row, 300, 40);
    EXPECT_EQ(DumpLayout(rw.root),
              "VerticalLayoutUI (0,0,300,40)\n"
              "  HorizontalLayoutUI (0,0,300,23)\n"
              "    LabelUI (0,0,70,23)\n"
              "    EditUI (70,0,300,23)\n"
              "  ControlUI (0,23,300,40)\n");
}

TEST(LabelAndEditRow, DisablingShowsTheEditsDisabledPictureAndEnablingRestoresIt) {
    auto* row = new CLabelAndEditUI("Address:", 70);
    RowWindow rw(row, 300, 40);
    EXPECT_EQ(rw.PixelAt(150, 11), kEditNormal);
    row->SetEnabled(false);
    EXPECT_EQ(rw.PixelAt(150, 11), kEditDisabled);
    EXPECT_FALSE(row->GetLabel()->IsEnabled());
    row->SetEnabled(true);
    EXPECT_EQ(rw.PixelAt(150, 11), kEditNormal);
}

TEST(GroupBox, FrameLinesAroundTheContentWithTheTitleInTheTopLine) {
    auto* group = new CGroupBoxUI("TX Frequency(MHZ)");
    group->SetFixedHeight(100);
    RowWindow rw(group, 151, 120);
    // 17 bytes: 17 x 6.3 + 2 = 109.1 pixels for the title.
    EXPECT_EQ(DumpLayout(group),
              "ContainerUI (0,0,151,100)\n"
              "  VerticalLayoutUI (0,0,151,100)\n"
              "    HorizontalLayoutUI (0,0,151,12)\n"
              "      HorizontalLayoutUI (0,0,11,12)\n"
              "        ControlUI (0,6,1,12)\n"
              "        ControlUI (1,6,11,7)\n"
              "      LabelUI (11,0,120,12)\n"
              "      HorizontalLayoutUI (120,0,151,12)\n"
              "        ControlUI (120,6,150,7)\n"
              "        ControlUI (150,6,151,12)\n"
              "    HorizontalLayoutUI (0,12,151,99)\n"
              "      ControlUI (0,12,1,99)\n"
              "      VerticalLayoutUI (1,12,150,99)\n"
              "        ControlUI (13,12,138,99)\n"
              "      ControlUI (150,12,151,99)\n"
              "    ControlUI (0,99,151,100)\n");
    EXPECT_EQ(rw.PixelAt(0, 50), 0x888888u);
    EXPECT_EQ(rw.PixelAt(5, 6), 0x888888u);
    EXPECT_EQ(rw.PixelAt(75, 99), 0x888888u);
}

TEST(GroupBox, RetitlingWidensTheTitleByTheLaterEstimate) {
    CGroupBoxUI group("TX Frequency(MHZ)");
    EXPECT_EQ(group.GetTitleLabel()->GetFixedWidth(), 109);
    group.SetTitle("TX Frequency(MHZ)");
    EXPECT_EQ(group.GetTitleLabel()->GetFixedWidth(), 115);  // 17 x 6.7 + 2
    group.SetTitle("端口设置");                              // four characters of two columns
    EXPECT_EQ(group.GetTitleLabel()->GetFixedWidth(), 55);
}

TEST(GroupBox, WithoutATitleThereIsNoTitleLabelAndRetitlingDoesNothing) {
    auto* group = new CGroupBoxUI("");
    group->SetFixedHeight(40);
    group->SetTitle("Port");
    RowWindow rw(group, 100, 60);
    EXPECT_EQ(group->GetTitleLabel(), nullptr);
    // The top line runs unbroken from the left corner to the right edge.
    auto* top = static_cast<CContainerUI*>(static_cast<CContainerUI*>(group->GetItemAt(0))->GetItemAt(0));
    ASSERT_EQ(top->GetCount(), 2);
    EXPECT_EQ(top->GetItemAt(1)->GetPos().left, 11);
    EXPECT_EQ(rw.PixelAt(50, 6), 0x888888u);
}

TEST(GroupBox, ChildrenAreSpreadWithEqualGapsAboveBetweenAndBelow) {
    auto* group = new CGroupBoxUI("Port");
    group->SetFixedHeight(100);  // content 87 high: 87 - 2 x 21 = 3 gaps of 15
    CControlUI* first = Child("first", 21);
    CControlUI* second = Child("second", 21);
    group->Add(first);
    group->Add(second);
    RowWindow rw(group, 151, 120);
    EXPECT_EQ(GapAbove(first, 12), 15);
    EXPECT_EQ(GapAbove(second, first->GetPos().bottom), 15);
    EXPECT_EQ(99 - second->GetPos().bottom, 15);
    EXPECT_EQ(first->GetPos().left, 13);  // the content's inset of 12 inside the left line
    EXPECT_EQ(first->GetPos().right, 138);
}

TEST(GroupBox, InsertingAndRemovingChildrenKeepsTheGapsEqual) {
    auto* group = new CGroupBoxUI("Port");
    group->SetFixedHeight(100);  // content 87 high
    CControlUI* a = Child("a", 21);
    CControlUI* b = Child("b", 21);
    CControlUI* c = Child("c", 21);
    group->Add(a);
    group->Add(c);
    EXPECT_TRUE(group->AddAt(b, 1));  // between a and c
    CControlUI* late = Child("late", 21);
    EXPECT_FALSE(group->AddAt(late, 4));  // past the end: refused, still the caller's
    delete late;
    RowWindow rw(group, 151, 120);
    // 87 - 3 x 21 = 24: four gaps of 6.
    EXPECT_EQ(GapAbove(a, 12), 6);
    EXPECT_EQ(GapAbove(b, a->GetPos().bottom), 6);
    EXPECT_EQ(GapAbove(c, b->GetPos().bottom), 6);
    EXPECT_TRUE(group->Remove(b));
    rw.w.Paint();
    EXPECT_EQ(GapAbove(a, 12), 15);
    EXPECT_EQ(GapAbove(c, a->GetPos().bottom), 15);
    group->RemoveAll();
    CControlUI* d = Child("d", 27);
    group->Add(d);
    rw.w.Paint();
    EXPECT_EQ(GapAbove(d, 12), 30);   // (87 - 27) / 2 above and below
    EXPECT_EQ(group->GetCount(), 1);  // the frame is still there
}

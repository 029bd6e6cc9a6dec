// Buttons, options, check boxes, progress bars and texts in a real window:
// their state words, notifications, option groups and painting.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/CheckBoxUI.h"
#include "Loom/Control/OptionUI.h"
#include "Loom/Control/ProgressUI.h"
#include "Loom/Control/TextUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// The solid-colour PNG resource of the test program, and its colour.
const char* const kSolidImage = "res='401' restype='png'";
constexpr DWORD kSolidColour = 0x20A040;

// A window of the given size whose root stacks the controls (each keeps
// its fixed size).
struct ControlWindow {
    TestWindow window;
    CVerticalLayoutUI* root = new CVerticalLayoutUI;

    bool Open(std::initializer_list<CControlUI*> controls, int cx = 200, int cy = 160) {
        for (CControlUI* control : controls) root->Add(control);
        return window.Open(cx, cy, root);
    }
    void ClickAt(const CControlUI* control) {
        const RECT& rc = control->GetPos();
        const int x = (rc.left + rc.right) / 2;
        const int y = (rc.top + rc.bottom) / 2;
        window.ButtonDown(x, y);
        window.ButtonUp(x, y);
    }
    std::vector<std::string> Clicks() const { return OfTypes(window.notifications, {"click", "selectchanged"}); }
    void Print(PixelSurface& surface) {
        surface.Fill(0xFFFFFF);
        PrintClient(window.GetHWND(), surface);
    }
};

}  // namespace

// --- button ------------------------------------------------------------------

TEST(Button, ClickInsideSendsClick) {
    auto* button = Make<CButtonUI>("name=\"b\" height=\"30\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    w.ClickAt(button);
    EXPECT_EQ(w.Clicks(), std::vector<std::string>{"click b 0 0"});
    EXPECT_EQ(button->GetState() & (StatePushed | StateCaptured), 0u);
}

TEST(Button, ReleasedOutsideSendsNothingAndDraggingTogglesPushed) {
    auto* button = Make<CButtonUI>("name=\"b\" height=\"30\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    w.window.ButtonDown(10, 10);
    EXPECT_EQ(button->GetState() & (StatePushed | StateCaptured), static_cast<UINT>(StatePushed | StateCaptured));
    w.window.MouseMove(10, 100, MK_LBUTTON);
    EXPECT_EQ(button->GetState() & StatePushed, 0u);
    w.window.MouseMove(12, 12, MK_LBUTTON);
    EXPECT_NE(button->GetState() & StatePushed, 0u);
    w.window.MouseMove(10, 100, MK_LBUTTON);
    w.window.ButtonUp(10, 100);
    EXPECT_TRUE(w.Clicks().empty());
    EXPECT_EQ(button->GetState() & (StatePushed | StateCaptured), 0u);
}

TEST(Button, DisabledButtonNeitherClicksNorKeepsItsState) {
    auto* button = Make<CButtonUI>("name=\"b\" height=\"30\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    w.window.MouseMove(10, 10);
    EXPECT_NE(button->GetState() & StateHot, 0u);
    button->SetEnabled(false);
    EXPECT_EQ(button->GetState(), 0u);
    w.ClickAt(button);
    EXPECT_TRUE(w.Clicks().empty());
    EXPECT_EQ(button->GetControlFlags(), static_cast<UINT>(ControlFlagTabStop));
    EXPECT_FALSE(button->Activate());
}

TEST(Button, SpaceAndReturnActivateWhenKeyboardEnabled) {
    auto* button = Make<CButtonUI>("name=\"b\" height=\"30\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    button->SetFocus();
    w.window.Key(WM_KEYDOWN, VK_SPACE);
    w.window.Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(w.Clicks().size(), 2u);
    button->SetKeyboardEnabled(false);
    w.window.Key(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(w.Clicks().size(), 2u);
    EXPECT_EQ(button->GetControlFlags(), static_cast<UINT>(ControlFlagSetCursor));
}

TEST(Button, ContextMenuSendsMenuOnlyWithTheMenuFlag) {
    auto* button = Make<CButtonUI>("name=\"b\" height=\"30\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    UIEvent event;
    event.kind = EventContextMenu;
    event.wParam = 7;
    button->Event(event);
    EXPECT_TRUE(OfTypes(w.window.notifications, {"menu"}).empty());
    button->SetContextMenuUsed(true);
    button->Event(event);
    EXPECT_EQ(OfTypes(w.window.notifications, {"menu"}), std::vector<std::string>{"menu b 7 0"});
}

TEST(Button, EstimateSizeIsTheFontHeightPlusEight) {
    auto* button = Make<CButtonUI>("width=\"40\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    const SIZE size = button->EstimateSize(SIZE{200, 200});
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, w.window.Manager().GetDefaultFontInfo().tmHeight + 8);
    EXPECT_EQ(button->GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
}

TEST(Button, HotBackgroundColourFillsWhileTheMouseIsOver) {
    auto* button = Make<CButtonUI>("height=\"30\" hotbkcolor=\"#FF102030\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    PixelSurface s(200, 160);
    w.Print(s);
    EXPECT_EQ(s.At(5, 5), 0xFFFFFFu);
    w.window.MouseMove(10, 10);
    w.Print(s);
    EXPECT_EQ(s.At(5, 5), 0x102030u);
    w.window.MouseMove(10, 100);
    w.Print(s);
    EXPECT_EQ(s.At(5, 5), 0xFFFFFFu);
}

TEST(Button, PushedAndHotTextColoursReplaceTheTextColour) {
    auto* button = Make<CButtonUI>(
        "height=\"40\" text=\"WWWW\" textcolor=\"#FF000000\" pushedtextcolor=\"#FFFF0000\" "
        "hottextcolor=\"#FF0000FF\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button}));
    const auto bluish = [](DWORD c) { return (c & 0xFF) > 150 && ((c >> 16) & 0xFF) < 100; };
    PixelSurface s(200, 160);
    w.Print(s);
    EXPECT_EQ(CountPixels(s, button->GetPos(), IsReddish), 0);
    EXPECT_EQ(CountPixels(s, button->GetPos(), bluish), 0);
    w.window.MouseMove(10, 10);
    w.Print(s);
    EXPECT_GT(CountPixels(s, button->GetPos(), bluish), 0);
    w.window.ButtonDown(10, 10);
    w.Print(s);
    EXPECT_GT(CountPixels(s, button->GetPos(), IsReddish), 0);
    EXPECT_EQ(CountPixels(s, button->GetPos(), bluish), 0);
    w.window.ButtonUp(10, 10);
}

TEST(Button, StatusImagesFollowTheState) {
    auto* button = Make<CButtonUI>("height=\"30\" width=\"60\"");
    button->SetHotImage(kSolidImage);
    auto* normal = Make<CButtonUI>("height=\"30\" width=\"60\"");
    normal->SetNormalImage(kSolidImage);
    normal->SetForeImage(std::string(kSolidImage) + " dest='0,0,10,10'");
    ControlWindow w;
    ASSERT_TRUE(w.Open({button, normal}));
    PixelSurface s(200, 160);
    w.Print(s);
    EXPECT_EQ(CountColour(s, button->GetPos(), kSolidColour), 0);
    EXPECT_EQ(CountColour(s, normal->GetPos(), kSolidColour), 60 * 30);
    w.window.MouseMove(10, 10);
    w.Print(s);
    EXPECT_EQ(CountColour(s, button->GetPos(), kSolidColour), 60 * 30);
}

// --- option and check box ------------------------------------------------------

TEST(CheckBox, ClickedTwiceTogglesOnAndOff) {
    auto* box = Make<CCheckBoxUI>("name=\"cb\" height=\"20\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({box}));
    EXPECT_STREQ(box->GetClass(), "CheckBoxUI");
    EXPECT_NE(box->GetInterface("Option"), nullptr);
    w.ClickAt(box);
    EXPECT_TRUE(box->IsSelected());
    w.ClickAt(box);
    EXPECT_EQ(w.Clicks(), (std::vector<std::string>{"click cb 0 0", "selectchanged cb 0 0", "click cb 0 0",
                                                    "selectchanged cb 0 0"}));
    EXPECT_FALSE(box->IsSelected());
}

TEST(Option, ClickingTheSelectedOptionOfAGroupSendsClickOnly) {
    auto* a = Make<COptionUI>("name=\"a\" height=\"20\" group=\"g\" selected=\"true\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({a}));
    w.ClickAt(a);
    EXPECT_EQ(w.Clicks(), std::vector<std::string>{"click a 0 0"});
    EXPECT_TRUE(a->IsSelected());
}

TEST(Option, SelectingBDeselectsAWithoutANotificationFromA) {
    auto* a = Make<COptionUI>("name=\"a\" height=\"20\" group=\"g\"");
    auto* b = Make<COptionUI>("name=\"b\" height=\"20\" group=\"g\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({a, b}));
    w.ClickAt(a);
    w.ClickAt(b);
    EXPECT_EQ(w.Clicks(),
              (std::vector<std::string>{"click a 0 0", "selectchanged a 0 0", "click b 0 0", "selectchanged b 0 0"}));
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
}

TEST(Option, GroupMembershipFollowsAttachGroupChangeAndDestruction) {
    auto* a = Make<COptionUI>("group=\"g\" height=\"20\"");
    auto* b = Make<COptionUI>("group=\"g\" height=\"20\" selected=\"true\"");
    auto* c = Make<COptionUI>("group=\"h\" height=\"20\" selected=\"true\"");
    ControlWindow w;
    EXPECT_EQ(w.window.Manager().GetOptionGroup("g"), nullptr);
    ASSERT_TRUE(w.Open({a, b, c}));
    CUIManager& m = w.window.Manager();
    ASSERT_NE(m.GetOptionGroup("g"), nullptr);
    EXPECT_EQ(*m.GetOptionGroup("g"), (std::vector<CControlUI*>{a, b}));
    // Moving the selected b into h keeps one selection there: c goes off.
    b->SetGroup("h");
    EXPECT_EQ(*m.GetOptionGroup("g"), std::vector<CControlUI*>{a});
    EXPECT_EQ(*m.GetOptionGroup("h"), (std::vector<CControlUI*>{c, b}));
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    w.root->Remove(a);
    TestWindow::Pump();  // delayed destruction
    EXPECT_EQ(m.GetOptionGroup("g"), nullptr);
    b->SetGroup("");
    EXPECT_EQ(*m.GetOptionGroup("h"), std::vector<CControlUI*>{c});
    w.ClickAt(b);  // no group: a toggle
    EXPECT_FALSE(b->IsSelected());
}

TEST(Option, DisablingKeepsOnlyTheSelectedBit) {
    auto* a = Make<COptionUI>("height=\"20\" selected=\"true\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({a}));
    w.window.MouseMove(10, 10);
    EXPECT_EQ(a->GetState() & (StateSelected | StateHot), static_cast<UINT>(StateSelected | StateHot));
    EXPECT_NE(a->GetState() & StateFocused, 0u);  // the first tab stop took the focus
    a->SetEnabled(false);
    EXPECT_EQ(a->GetState(), static_cast<UINT>(StateSelected));
}

TEST(Option, SelectedLookReplacesTheNormalOneAndNeverShowsPushed) {
    auto* a = Make<COptionUI>(
        "height=\"20\" width=\"50\" selectedbkcolor=\"#FF302010\" normalimage=\"res='401' restype='png'\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({a}));
    PixelSurface s(200, 160);
    w.Print(s);
    EXPECT_EQ(CountColour(s, a->GetPos(), kSolidColour), 50 * 20);
    a->Selected(true);
    w.window.ButtonDown(5, 5);
    w.Print(s);
    EXPECT_EQ(CountColour(s, a->GetPos(), 0x302010), 50 * 20);
    EXPECT_EQ(a->GetState() & StatePushed, 0u);
    w.window.ButtonUp(5, 5);
}

TEST(Option, SelectedTextColourStandsInForTheTextColour) {
    auto* a = Make<COptionUI>("height=\"40\" text=\"WWWW\" selectedtextcolor=\"#FFFF0000\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({a}));
    PixelSurface s(200, 160);
    w.Print(s);
    EXPECT_EQ(CountPixels(s, a->GetPos(), IsReddish), 0);
    a->Selected(true);
    w.Print(s);
    EXPECT_GT(CountPixels(s, a->GetPos(), IsReddish), 0);
}

// --- progress ----------------------------------------------------------------

TEST(Progress, HalfValueDrawsTheForeImageOverTheLeftHalf) {
    auto* bar = Make<CProgressUI>("width=\"200\" min=\"0\" max=\"100\" value=\"50\"");
    bar->SetForeImage(kSolidImage);
    ControlWindow w;
    ASSERT_TRUE(w.Open({bar}, 200, 40));
    EXPECT_EQ(bar->GetHeight(), 12);
    PixelSurface s(200, 40);
    w.Print(s);
    EXPECT_EQ(CountColour(s, RECT{0, 0, 100, 12}, kSolidColour), 100 * 12);
    EXPECT_EQ(CountColour(s, RECT{100, 0, 200, 12}, 0xFFFFFF), 100 * 12);
}

TEST(Progress, ValuesOutsideTheRangeAreIgnored) {
    CProgressUI bar;
    bar.SetAttribute("value", "30");
    bar.SetAttribute("value", "101");
    bar.SetAttribute("value", "-1");
    EXPECT_EQ(bar.GetValue(), 30);
    bar.SetAttribute("max", "20");  // the value now lies above max: painted as max
    bar.SetPos(RECT{0, 0, 100, 10});
    EXPECT_EQ(bar.GetFilledRect().right, 100);
    bar.SetAttribute("min", "40");  // min above max counts as max = min + 1
    EXPECT_EQ(bar.GetFilledRect().right, 0);
}

TEST(Progress, VerticalFillsFromTheBottom) {
    auto* bar = Make<CProgressUI>("width=\"20\" height=\"100\" hor=\"false\" value=\"25\"");
    bar->SetForeImage(kSolidImage);
    ControlWindow w;
    ASSERT_TRUE(w.Open({bar}, 200, 100));
    PixelSurface s(200, 100);
    w.Print(s);
    EXPECT_EQ(CountColour(s, RECT{0, 75, 20, 100}, kSolidColour), 20 * 25);
    EXPECT_EQ(CountColour(s, RECT{0, 0, 20, 75}, kSolidColour), 0);
}

// --- text --------------------------------------------------------------------

TEST(Text, ClickOnALinkSendsLinkWithItsIndex) {
    auto* text = Make<CTextUI>("name=\"t\" height=\"40\" showhtml=\"true\"");
    text->SetText("Go {a one}first{/a} or {a two}second{/a}");
    ControlWindow w;
    ASSERT_TRUE(w.Open({text}, 300, 60));
    w.window.Paint();
    ASSERT_EQ(text->GetLinkCount(), 2);
    EXPECT_EQ(text->GetLinkText(1), "two");
    EXPECT_EQ(text->GetControlFlags(), static_cast<UINT>(ControlFlagSetCursor));
    const RECT link = text->GetLinkRect(1);
    const int x = (link.left + link.right) / 2;
    const int y = (link.top + link.bottom) / 2;
    w.window.MouseMove(x, y);
    EXPECT_EQ(text->GetHoverLink(), 1);
    w.window.ButtonDown(x, y);
    w.window.ButtonUp(x, y);
    EXPECT_EQ(OfTypes(w.window.notifications, {"link"}), std::vector<std::string>{"link t 1 0"});
    // Outside every link: nothing.
    w.window.MouseMove(2, 38);
    EXPECT_EQ(text->GetHoverLink(), -1);
    w.window.ButtonDown(2, 38);
    w.window.ButtonUp(2, 38);
    EXPECT_EQ(OfTypes(w.window.notifications, {"link"}).size(), 1u);
}

TEST(Text, PlainTextHasNoLinks) {
    auto* text = Make<CTextUI>("height=\"40\" text=\"{a x}not a link{/a}\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({text}));
    w.window.Paint();
    EXPECT_EQ(text->GetLinkCount(), 0);
    EXPECT_EQ(text->GetControlFlags(), 0u);
}

TEST(Text, EstimateSizeWrapsInTheAvailableWidth) {
    auto* text = Make<CTextUI>("text=\"one two three four five six seven eight nine ten\"");
    ControlWindow w;
    ASSERT_TRUE(w.Open({text}));
    const int lineHeight = w.window.Manager().GetDefaultFontInfo().tmHeight;
    const SIZE wide = text->EstimateSize(SIZE{1000, 0});
    EXPECT_EQ(wide.cy, lineHeight);
    const SIZE narrow = text->EstimateSize(SIZE{60, 0});
    EXPECT_GT(narrow.cy, 2 * lineHeight);
    EXPECT_LE(narrow.cx, 60);
    text->SetFixedHeight(15);
    EXPECT_EQ(text->EstimateSize(SIZE{60, 0}).cy, 15);
    EXPECT_EQ(text->GetTextStyle(), static_cast<UINT>(DT_WORDBREAK));
}

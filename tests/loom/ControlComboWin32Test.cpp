// The combo: its selection rules and keys, its painting, and the drop-down
// pop-up in real windows. Every opened pop-up costs a close under Wine, so
// each opening checks several things at once.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "Loom/Control/ComboBoxUI.h"
#include "Loom/Control/ComboUI.h"
#include "Loom/Control/ListLabelElementUI.h"
#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"

using namespace Loom;
using namespace LoomTest;

namespace {

CListLabelElementUI* Item(int n, int height) {
    auto* item = new CListLabelElementUI;
    item->SetName("i" + std::to_string(n));
    item->SetText("item " + std::to_string(n));
    item->SetFixedHeight(height);
    return item;
}

CComboUI* MakeCombo(int count, int itemHeight, const char* attributes = "") {
    auto* combo = Make<CComboUI>(attributes);
    combo->SetName("c");
    for (int i = 0; i < count; ++i) combo->Add(Item(i, itemHeight));
    return combo;
}

// A window with a filler above (fillerHeight, 0 for none) and the combo
// below it, 24 high and 200 wide.
struct ComboWindow {
    CComboUI* combo;
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    TestWindow w;

    explicit ComboWindow(CComboUI* c, int windowHeight = 300, bool comboAtBottom = false) : combo(c) {
        combo->SetFixedHeight(24);
        combo->SetFixedWidth(200);
        if (comboAtBottom) root->Add(new CControlUI);
        root->Add(combo);
        if (!comboAtBottom) root->Add(new CControlUI);
        w.Open(300, windowHeight, root);
        w.notifications.clear();
    }
    HWND Popup() const { return combo->GetDropDownWindow(); }
    RECT PopupRect() const {
        RECT rc{0, 0, 0, 0};
        ::GetWindowRect(Popup(), &rc);
        return rc;
    }
    // The pop-up's list, found through the manager of its window.
    CContainerUI* PopupList() const {
        for (CUIManager* m : CUIManager::GetManagers()) {
            if (m->GetPaintWindow() == Popup()) return static_cast<CContainerUI*>(m->GetRoot());
        }
        return nullptr;
    }
    RECT ComboOnScreen() const {
        RECT rc = combo->GetPos();
        ::MapWindowPoints(w.GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    void PopupKey(WPARAM key) { ::SendMessageA(Popup(), WM_KEYDOWN, key, 1); }
    bool WaitClosed() {
        return TestWindow::PumpUntil([this] { return combo->GetDropDownWindow() == nullptr; }, 5000);
    }
    bool Open() {
        w.ButtonDown(10, comboTop() + 10);
        w.ButtonUp(10, comboTop() + 10);
        TestWindow::Pump();
        return Popup() != nullptr;
    }
    int comboTop() const { return combo->GetPos().top; }
};

bool HasPixel(PixelSurface& s, const RECT& rc, DWORD rgb) {
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (s.At(x, y) == rgb) return true;
        }
    }
    return false;
}

}  // namespace

TEST(ComboSelection, RefusedIndexKeepsTheSelectionPastTheEndTakesTheLast) {
    std::unique_ptr<CComboUI> combo(MakeCombo(4, 20));
    combo->GetItemAt(1)->SetVisible(false);
    combo->GetItemAt(2)->SetEnabled(false);
    combo->Add(new CControlUI);  // not a list item
    EXPECT_TRUE(combo->SelectItem(0));
    EXPECT_FALSE(combo->SelectItem(1));
    EXPECT_FALSE(combo->SelectItem(2));
    EXPECT_FALSE(combo->SelectItem(4));
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_TRUE(static_cast<IListItemUI*>(combo->GetItemAt(0)->GetInterface("ListItem"))->IsSelected());
    combo->RemoveAt(4);
    EXPECT_TRUE(combo->SelectItem(99));
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_EQ(combo->GetText(), "item 3");
    EXPECT_FALSE(combo->SelectItem(-1));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetText(), "");
    EXPECT_FALSE(static_cast<IListItemUI*>(combo->GetItemAt(3)->GetInterface("ListItem"))->IsSelected());
    CComboUI empty;
    EXPECT_FALSE(empty.SelectItem(0));
}

TEST(ComboSelection, ItemsFollowInsertAndRemoveAndHidingTheSelectedClearsIt) {
    std::unique_ptr<CComboUI> combo(MakeCombo(3, 20));
    combo->SelectItem(1);
    combo->AddAt(Item(9, 20), 0);
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(static_cast<IListItemUI*>(combo->GetItemAt(3)->GetInterface("ListItem"))->GetIndex(), 3);
    combo->RemoveAt(0);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(static_cast<IListItemUI*>(combo->GetItemAt(2)->GetInterface("ListItem"))->GetIndex(), 2);
    combo->GetItemAt(1)->SetVisible(false);
    EXPECT_EQ(combo->GetCurSel(), -1);
    auto* preselected = Item(7, 20);
    preselected->SetAttribute("selected", "true");
    combo->Add(preselected);
    EXPECT_EQ(combo->GetCurSel(), 3);
}

TEST(ComboKeys, KeysAndWheelSkipHiddenAndDisabledItemsAndStopAtTheEnds) {
    auto* combo = MakeCombo(6, 20);
    combo->GetItemAt(0)->SetEnabled(false);
    combo->GetItemAt(2)->SetVisible(false);
    combo->GetItemAt(5)->SetEnabled(false);
    ComboWindow cw(combo);
    combo->SetFocus();
    cw.w.Key(WM_KEYDOWN, VK_DOWN);  // nothing selected: the first selectable
    EXPECT_EQ(combo->GetCurSel(), 1);
    cw.w.Key(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(combo->GetCurSel(), 3);
    cw.w.Key(WM_KEYDOWN, VK_END);
    EXPECT_EQ(combo->GetCurSel(), 4);
    cw.w.Key(WM_KEYDOWN, VK_DOWN);  // past the last selectable: stays
    EXPECT_EQ(combo->GetCurSel(), 4);
    cw.w.Key(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(combo->GetCurSel(), 1);
    cw.w.Key(WM_KEYDOWN, VK_UP);  // before the first selectable: stays
    EXPECT_EQ(combo->GetCurSel(), 1);
    POINT pt{10, 10};
    ::ClientToScreen(cw.w.GetHWND(), &pt);
    cw.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(combo->GetCurSel(), 3);
    cw.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(cw.w.notifications,
              (std::vector<std::string>{"itemselect c 1 -1", "itemselect c 3 1", "itemselect c 4 3", "itemselect c 1 4",
                                        "itemselect c 3 1", "itemselect c 1 3"}));
    EXPECT_EQ(cw.Popup(), nullptr);
}

TEST(ComboPaint, SelectedTextIsDrawnThroughTheItemWithinTheTextPadding) {
    auto* combo = MakeCombo(2, 20, "itemselectedtextcolor=\"#FFFF0000\" textpadding=\"100,0,0,0\"");
    ComboWindow cw(combo);
    EXPECT_EQ(combo->EstimateSize(SIZE{0, 0}).cy, 24);  // fixed
    combo->SetFixedHeight(0);
    EXPECT_EQ(combo->EstimateSize(SIZE{0, 0}).cy, cw.w.Manager().GetDefaultFontInfo().tmHeight + 12);
    combo->SetFixedHeight(24);
    combo->SelectItem(1);
    cw.w.Paint();
    PixelSurface s(300, 300);
    PrintClient(cw.w.GetHWND(), s);
    EXPECT_FALSE(HasPixel(s, RECT{0, 0, 100, 24}, 0xFF0000));
    EXPECT_TRUE(HasPixel(s, RECT{100, 0, 200, 24}, 0xFF0000));
    EXPECT_FALSE(HasPixel(s, RECT{0, 24, 300, 300}, 0xFF0000));  // items are not painted in the window
}

TEST(ComboPaint, ComboBoxDrawsTheArrowCellOfItsStateInsideTheBorder) {
    // Five 10-pixel cells: normal red, hot green, pushed blue, focused grey, disabled black.
    const uint32_t colors[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080, 0xFF000000};
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 50; ++x) pixels.push_back(colors[x / 10]);
    }
    const std::vector<uint8_t> png = RenderTestPng::Encode(50, 8, pixels);
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "loom-combo-arrow.png";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
    auto* box = Make<CComboBoxUI>("bordersize=\"2\" bordercolor=\"#FFFFFFFE\"");
    box->SetAttribute("arrowimage", ("file='" + path + "'").c_str());
    ComboWindow cw(box);  // the window focuses its first tab stop
    PixelSurface s(300, 300);
    PrintClient(cw.w.GetHWND(), s);
    EXPECT_EQ(s.At(192, 12), 0x808080u);
    cw.w.Manager().SetFocus(nullptr);
    PrintClient(cw.w.GetHWND(), s);
    EXPECT_EQ(s.At(197, 12), 0xFF0000u);  // the last pixel inside the border
    EXPECT_EQ(s.At(188, 12), 0xFF0000u);
    EXPECT_NE(s.At(187, 12), 0xFF0000u);  // one cell wide
    EXPECT_NE(s.At(198, 12), 0xFF0000u);
    box->SetEnabled(false);
    s.Fill(0xFFFFFF);
    PrintClient(cw.w.GetHWND(), s);
    EXPECT_EQ(s.At(192, 12), 0x000000u);
    std::remove(path.c_str());
}

TEST(ComboDropDown, TallListOpensAtTheDropBoxHeightScrollsToTheSelectionAndReturnKeepsIt) {
    auto* combo = MakeCombo(15, 20, "dropboxsize=\"0,150\" itemselectedtextcolor=\"#FFFF0000\"");
    ComboWindow cw(combo);
    combo->SelectItem(0);
    cw.w.notifications.clear();
    ASSERT_TRUE(cw.Open());
    const RECT popup = cw.PopupRect();
    const RECT onScreen = cw.ComboOnScreen();
    EXPECT_EQ(popup.bottom - popup.top, 150);
    EXPECT_EQ(popup.top, onScreen.bottom);
    EXPECT_EQ(popup.left, onScreen.left);
    EXPECT_EQ(popup.right, onScreen.right);
    CContainerUI* list = cw.PopupList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(combo->GetItemAt(0)->GetManager()->GetPaintWindow(), cw.Popup());
    TestWindow::PumpUntil([list] { return list->GetVerticalScrollBar()->IsVisible(); }, 1000);
    EXPECT_TRUE(list->GetVerticalScrollBar()->IsVisible());
    for (int i = 0; i < 9; ++i) cw.PopupKey(VK_DOWN);
    TestWindow::Pump();
    ASSERT_NE(cw.Popup(), nullptr);  // moving the selection leaves it open
    EXPECT_EQ(combo->GetCurSel(), 9);
    const RECT client = list->GetClientArea();
    const RECT item = combo->GetItemAt(9)->GetPos();
    EXPECT_GT(list->GetScrollPos().cy, 0);
    EXPECT_GE(item.top, client.top);
    EXPECT_LE(item.bottom, client.bottom);
    cw.PopupKey(VK_RETURN);
    ASSERT_TRUE(cw.WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 9);
    for (int i = 0; i < combo->GetCount(); ++i) {
        ASSERT_EQ(combo->GetItemAt(i)->GetManager(), &cw.w.Manager());
        ASSERT_EQ(combo->GetItemAt(i)->GetParent(), combo);
    }
    EXPECT_EQ(cw.w.Manager().GetFocus(), combo);
    // "predropdown" before the pop-up takes the items, "dropdown" once it shows them.
    ASSERT_GE(cw.w.notifications.size(), 2u);
    EXPECT_EQ(cw.w.notifications[0], "predropdown c 0 0");
    EXPECT_EQ(cw.w.notifications[1], "dropdown c 0 0");
    EXPECT_EQ(cw.w.notifications.back(), "itemselect c 9 8");
    cw.w.Paint();
    PixelSurface s(300, 300);
    PrintClient(cw.w.GetHWND(), s);
    EXPECT_TRUE(HasPixel(s, RECT{0, 0, 200, 24}, 0xFF0000));
    EXPECT_EQ(combo->GetText(), "item 9");
}

TEST(ComboDropDown, ShortListOpensAsHighAsItsItemsAndEscapeRestoresTheSelection) {
    auto* combo = MakeCombo(3, 20);
    combo->GetItemAt(1)->SetEnabled(false);
    ComboWindow cw(combo);
    combo->SelectItem(0);
    combo->SetFocus();
    cw.w.Key(WM_KEYDOWN, VK_F4);
    TestWindow::Pump();
    ASSERT_NE(cw.Popup(), nullptr);
    const RECT popup = cw.PopupRect();
    EXPECT_EQ(popup.bottom - popup.top, 64);
    EXPECT_FALSE(cw.PopupList()->GetVerticalScrollBar()->IsVisible());
    cw.PopupKey(VK_DOWN);  // the disabled item is skipped
    EXPECT_EQ(combo->GetCurSel(), 2);
    cw.PopupKey(VK_ESCAPE);
    ASSERT_TRUE(cw.WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_FALSE(static_cast<IListItemUI*>(combo->GetItemAt(2)->GetInterface("ListItem"))->IsSelected());
}

// At 144 DPI the pop-up is the combo's width, as high as its items at the
// scale plus the frame (3 x 30 + 6), and lays them out at that scale.
TEST(ComboDropDown, AtAScaleThePopupAndItsItemsAreScaled) {
    ComboWindow cw(MakeCombo(3, 20));
    cw.w.Manager().SetDpi(144);
    cw.w.Paint();
    ASSERT_EQ(cw.combo->GetWidth(), 300);
    cw.combo->SetFocus();
    cw.w.Key(WM_KEYDOWN, VK_F4);
    TestWindow::Pump();
    ASSERT_NE(cw.Popup(), nullptr);
    const RECT popup = cw.PopupRect();
    EXPECT_EQ(popup.right - popup.left, 300);
    EXPECT_EQ(popup.bottom - popup.top, 96);
    EXPECT_EQ(cw.combo->GetItemAt(2)->GetHeight(), 30);
    cw.PopupKey(VK_ESCAPE);
    ASSERT_TRUE(cw.WaitClosed());
}

TEST(ComboDropDown, OpensAboveWithoutRoomBelowAndAClickedItemIsSelected) {
    RECT work{0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    auto* combo = MakeCombo(3, 20);
    ComboWindow cw(combo, work.bottom - 40 - 10, true);
    ASSERT_TRUE(cw.Open());
    const RECT popup = cw.PopupRect();
    EXPECT_EQ(popup.bottom, cw.ComboOnScreen().top);
    EXPECT_EQ(popup.bottom - popup.top, 64);
    TestWindow::Pump();
    ::SendMessageA(cw.Popup(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 50));
    ::SendMessageA(cw.Popup(), WM_LBUTTONUP, 0, MAKELPARAM(20, 50));
    ASSERT_TRUE(cw.WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 2);
}

TEST(ComboDropDown, DestroyingTheOpenComboClosesItAndDestroysEachItemOnce) {
    auto* combo = MakeCombo(3, 20);
    int destroyed = 0;
    struct Counter {
        int* count;
        bool OnDestroy(void*) {
            ++*count;
            return true;
        }
    } counter{&destroyed};
    for (int i = 0; i < 3; ++i) combo->GetItemAt(i)->OnDestroy += CDelegate::Make(&counter, &Counter::OnDestroy);
    ComboWindow cw(combo);
    ASSERT_TRUE(cw.Open());
    const HWND popup = cw.Popup();
    cw.root->Remove(combo);
    TestWindow::Pump();
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(destroyed, 3);
    cw.w.Paint();  // the window goes on without the combo
}

TEST(ComboDropDown, WheelMovesTheSelectionWhileOpenAndLosingTheFocusCloses) {
    auto* combo = MakeCombo(3, 20);
    ComboWindow cw(combo);
    combo->SelectItem(0);
    ASSERT_TRUE(cw.Open());
    const RECT popup = cw.PopupRect();
    ::SendMessageA(cw.Popup(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                   MAKELPARAM(popup.left + 5, popup.top + 5));
    TestWindow::Pump();
    EXPECT_EQ(combo->GetCurSel(), 1);
    ASSERT_NE(cw.Popup(), nullptr);
    ::SetFocus(cw.w.GetHWND());
    ASSERT_TRUE(cw.WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 1);
}

TEST(ComboKeys, ComboWithoutItemsIgnoresKeysAndShowsNoText) {
    auto* combo = MakeCombo(0, 20);
    ComboWindow cw(combo);
    combo->SetFocus();
    cw.w.notifications.clear();
    for (WPARAM key : {VK_DOWN, VK_UP, VK_HOME, VK_END}) cw.w.Key(WM_KEYDOWN, key);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetText(), "");
    EXPECT_TRUE(cw.w.notifications.empty());
}

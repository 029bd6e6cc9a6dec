// The main window from the keyboard alone: Tab's order and its focus cue at
// two display scales (kept as keyboard_focus_DPI.png in the build tree), the
// menus with F10, Alt and the arrows, a combo opened with Alt+Down.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Loom/Core/WindowDpi.h"
#include "app/DlgMain.h"
#include "testkit/LoomTestWindow.h"
#include "tests/app/MainWindowTestSupport.h"

using namespace Loom;

namespace {

constexpr const char* kPortMapKey = "Software\\VelmoraTest\\KeyboardSerialMap";
constexpr const char* kSettingsKey = "Software\\VelmoraTest\\KeyboardSettings";

class KeyboardTest : public MainWindowFixture {
protected:
    void SetUp() override {
        window = OpenTestMainWindow(kPortMapKey, kSettingsKey);
        ASSERT_NE(nullptr, window);
        ::SetForegroundWindow(window->GetHWND());
        Pump();
    }
    // Through the program's own loop: the manager's filters see the keys first.
    void Pump() {
        ::UpdateWindow(window->GetHWND());
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CUIManager::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    void Key(WPARAM key, bool system = false) {
        const HWND wnd = window->GetHWND();
        ::PostMessageW(wnd, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, system ? 0x20000001 : 1);
        ::PostMessageW(wnd, system ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
        Pump();
    }
    CControlUI* Focus() { return window->GetPaintManager().GetFocus(); }
};

// Where a control stands in reading order: the title bar, then the columns
// left to right: the two frequency groups, the parameters, the port and
// command buttons.
int ColumnOf(MainWindowControls& c, CControlUI* control) {
    CControlUI* columns[] = {c.minimizeButton->GetParent(), c.txGroup, c.rxGroup, c.protocolRow->GetParent(),
                             c.portGroup->GetParent()};
    for (CControlUI* p = control; p != nullptr; p = p->GetParent())
        for (int i = 0; i < 5; ++i)
            if (p == columns[i] || (i == 3 && p == c.cancelButton)) return i;
    return -1;
}

// One round of Tab visits each field and button once, column by column and
// top to bottom in each; Shift+Tab goes back. The cue frames the focus at
// each scale in the system's highlight colour, the width of its scale.
TEST_F(KeyboardTest, Tab_VisitsEveryFieldColumnByColumnWithAVisibleCue) {
    MainWindowControls& c = C();
    Key(VK_TAB);
    CControlUI* first = Focus();
    ASSERT_NE(nullptr, first);
    std::vector<CControlUI*> visited{first};
    for (Key(VK_TAB); Focus() != first && visited.size() < 200; Key(VK_TAB)) visited.push_back(Focus());
    ASSERT_EQ(first, Focus()) << "Tab did not come round";
    // The round read from the title bar, where the window starts.
    const auto start = std::find(visited.begin(), visited.end(), c.minimizeButton);
    ASSERT_NE(visited.end(), start);
    std::rotate(visited.begin(), start, visited.end());
    for (size_t i = 1; i < visited.size(); ++i) {
        const int before = ColumnOf(c, visited[i - 1]), now = ColumnOf(c, visited[i]);
        ASSERT_GE(now, 0) << visited[i]->GetClass() << " '" << visited[i]->GetText() << "' is in no column";
        EXPECT_TRUE(now > before || (now == before && visited[i]->GetPos().top >= visited[i - 1]->GetPos().top))
            << i << ": '" << visited[i]->GetText() << "' after '" << visited[i - 1]->GetText() << "'";
    }
    const std::vector<CControlUI*> expected{c.txChannelRow[1]->GetEdit(),
                                            c.txDefaultButton,
                                            c.protocolRow->GetCombo(),
                                            c.serialUnlockButton,
                                            c.rateRow->GetCombo(),
                                            c.connectButton,
                                            c.exportButton};
    for (CControlUI* control : expected)
        EXPECT_EQ(1, std::count(visited.begin(), visited.end(), control)) << control->GetText();
    for (CControlUI* menu : {c.fileMenuHeader, c.helpMenuHeader, c.logoImage})
        EXPECT_EQ(0, std::count(visited.begin(), visited.end(), menu));
    Key(VK_TAB);
    // Shift+Tab is Tab with the Shift key held: the key state says so.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    Key(VK_TAB);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(first, Focus());

    CUIManager& manager = window->GetPaintManager();
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const DpiScale scale(dpi);
        RECT rc{};
        ::GetWindowRect(window->GetHWND(), &rc);
        RECT suggested{rc.left, rc.top, rc.left + scale.Scale(DlgMain::kDesignWidth),
                       rc.top + scale.Scale(DlgMain::kDesignHeight)};
        ::SendMessageW(window->GetHWND(), kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        c.connectButton->SetFocus();
        Pump();
        ASSERT_TRUE(manager.AreKeyboardCuesShown());
        const RECT cue = manager.FocusCueRect(c.connectButton);
        ::GetClientRect(window->GetHWND(), &rc);
        LoomTest::PixelSurface shot(rc.right, rc.bottom);
        LoomTest::CaptureClient(window->GetHWND(), shot);
        const int width = scale.Scale(CUIManager::kFocusCueWidth);
        const int middleY = (cue.top + cue.bottom) / 2, middleX = (cue.left + cue.right) / 2;
        const auto colour = [&shot](int x, int y) {
            const DWORD v = shot.At(x, y);
            return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        };
        for (int k = 0; k < width; ++k) {
            EXPECT_EQ(highlight, colour(cue.left + k, middleY)) << "left edge, column " << k;
            EXPECT_EQ(highlight, colour(middleX, cue.top + k)) << "top edge, row " << k;
        }
        EXPECT_NE(highlight, colour(cue.left + width, middleY)) << "the cue is wider than its scale's";
        EXPECT_TRUE(LoomTest::SaveScreenshot(window->GetHWND(), std::string("Z:") + VELMORA_SHOT_DIR +
                                                                    "/keyboard_focus_" + std::to_string(dpi) + ".png"));
    }
    // A mouse press takes the cue away, as in native windows.
    const POINT pt{(c.connectButton->GetPos().left + 4), (c.connectButton->GetPos().top + 4)};
    ::SendMessageW(window->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(window->GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(manager.AreKeyboardCuesShown());
}

// F10 opens the File menu with its first item lit; the arrows move the
// light and the open menu; Escape closes and gives the focus back; Alt and
// a header's letter opens that menu, Return runs the lit item.
TEST_F(KeyboardTest, Menus_F10AltLettersArrowsReturnAndEscape) {
    MainWindowControls& c = C();
    c.rateRow->GetCombo()->SetFocus();
    Pump();
    Key(VK_F10, true);
    EXPECT_TRUE(c.fileMenu->IsVisible());
    MainMenus& menus = window->Menus();
    EXPECT_EQ(c.connectItem, menus.LitItem());
    Key(VK_DOWN);
    EXPECT_EQ(c.findItem, menus.LitItem());
    Key(VK_UP);
    Key(VK_UP);  // round to the last
    EXPECT_EQ(c.exitItem, menus.LitItem());
    Key(VK_RIGHT);
    EXPECT_FALSE(c.fileMenu->IsVisible());
    EXPECT_TRUE(c.languageMenu->IsVisible());
    EXPECT_EQ(c.languageItem, menus.LitItem());
    Key(VK_ESCAPE);
    EXPECT_FALSE(c.languageMenu->IsVisible());
    EXPECT_EQ(c.rateRow->GetCombo(), Focus());
    EXPECT_FALSE(window->IsEnding()) << "Escape in a menu ends only the menu";

    ::PostMessageW(window->GetHWND(), WM_SYSCHAR, 'l', 0x20000001);
    Pump();
    ASSERT_TRUE(c.languageMenu->IsVisible());
    Key(VK_RETURN);
    EXPECT_FALSE(window->IsChinese());
    EXPECT_FALSE(c.languageMenu->IsVisible());
    EXPECT_EQ(c.rateRow->GetCombo(), Focus());
    // Alt alone, then the item's letter without Alt.
    Key(VK_MENU, true);
    EXPECT_TRUE(c.fileMenu->IsVisible());
    Key(VK_RIGHT);
    ::PostMessageW(window->GetHWND(), WM_CHAR, 'c', 1);  // "Chinese"
    Pump();
    EXPECT_TRUE(window->IsChinese());
}

// Alt+Down opens a focused combo's list, Down moves in it and F4 takes the
// choice and closes it.
TEST_F(KeyboardTest, Combo_AltDownOpensF4Closes) {
    CComboUI* rate = C().rateRow->GetCombo();
    rate->SetFocus();
    Pump();
    const int before = rate->GetCurSel();
    ::PostMessageW(window->GetHWND(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
    Pump();
    const HWND list = rate->GetDropDownWindow();
    ASSERT_NE(nullptr, list);
    ::SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    ::SendMessageW(list, WM_KEYDOWN, VK_F4, 1);
    Pump();
    EXPECT_FALSE(::IsWindow(list));
    EXPECT_EQ(before + 1, rate->GetCurSel());
}

}  // namespace

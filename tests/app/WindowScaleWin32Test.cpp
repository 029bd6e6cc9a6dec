// The main window at the display scales technicians' laptops run (125, 150
// and 200 %), reached as a move to a monitor of that scale reaches it: the
// system's WM_DPICHANGED with the rectangle it suggests. Each state is kept
// as a screenshot in the build tree (main_DPI_LANGUAGE.png, ...).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Loom/Control/ComboUI.h"
#include "Loom/Control/EditUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Core/WindowDpi.h"
#include "Loom/Render/WinRect.h"
#include "app/DlgAbout.h"
#include "app/DlgMain.h"
#include "tests/app/MainWindowTestSupport.h"
#include "app/UiEvents.h"
#include "platform/GdiHandles.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using LoomTest::TestWindow;

namespace {

constexpr const char* kPortMapKey = "Software\\VelmoraTest\\WindowScaleSerialMap";
constexpr const char* kSettingsKey = "Software\\VelmoraTest\\WindowScaleSettings";
constexpr int kDesignWidth = DlgMain::kDesignWidth;
constexpr int kDesignHeight = DlgMain::kDesignHeight;
constexpr int kScales[] = {96, 120, 144, 192};

std::string Shot(const std::string& name) { return std::string("Z:") + VELMORA_SHOT_DIR + "/" + name + ".png"; }

std::vector<CControlUI*> AllControls(CUIManager& manager) {
    std::vector<CControlUI*> all;
    manager.GetRoot()->FindControl(
        [](CControlUI* control, void* list) -> CControlUI* {
            static_cast<std::vector<CControlUI*>*>(list)->push_back(control);
            return nullptr;
        },
        &all, FindAll);
    return all;
}

bool Shown(CControlUI* control) {
    for (CControlUI* c = control; c != nullptr; c = c->GetParent())
        if (!c->IsVisible()) return false;
    return true;
}

// The text a control shows in one line, its font and the rectangle it is
// drawn in (its position less its text padding at the window's scale);
// false for a control that shows no such text.
bool ShownText(CControlUI* control, std::string& text, int& font, RECT& rc) {
    RECT padding{};
    if (auto* combo = dynamic_cast<CComboUI*>(control)) {
        text = combo->GetText();
        font = -1;
        padding = combo->GetTextPadding();
    } else if (auto* label = dynamic_cast<CLabelUI*>(control)) {
        if (label->IsShowHtml()) return false;
        text = label->GetText();
        font = label->GetFont();
        padding = label->GetTextPadding();
    } else {
        return false;
    }
    const TRect edges = control->GetManager()->GetScale().ScaleEdges(RectFrom(padding));
    const RECT pos = control->GetPos();
    rc = RECT{pos.left + edges.left, pos.top + edges.top, pos.right - edges.right, pos.bottom - edges.bottom};
    return !text.empty() && Shown(control);
}

// Every shown text that does not fit its rectangle: "name 'text' needs WxH in WxH".
std::vector<std::string> CutTexts(CUIManager& manager) {
    std::vector<std::string> cut;
    const WindowDC screen(nullptr);
    for (CControlUI* control : AllControls(manager)) {
        std::string text;
        int font = -1;
        RECT rc{};
        if (!ShownText(control, text, font, rc)) continue;
        const SelectGuard selected(screen.get(), manager.GetFont(font));
        const std::wstring wide = Text::Widen(text);
        SIZE extent{};
        ::GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
        // The last letter's blank after its ink is not cut off when it lies outside.
        ABC last{};
        if (!wide.empty() && ::GetCharABCWidthsW(screen.get(), wide.back(), wide.back(), &last) && last.abcC > 0)
            extent.cx -= last.abcC;
        const TEXTMETRICW& metrics = manager.GetFontInfo(manager.GetFont(font));
        // The internal leading is room above the letters, not ink.
        const int inked = metrics.tmHeight - metrics.tmInternalLeading;
        const int width = rc.right - rc.left, height = rc.bottom - rc.top;
        if (extent.cx > width || inked > height) {
            cut.push_back(control->GetName() + " '" + text + "' needs " + std::to_string(extent.cx) + "x" +
                          std::to_string(inked) + " in " + std::to_string(width) + "x" + std::to_string(height));
        }
    }
    return cut;
}

// As the system tells a window that reached a monitor at dpi: the
// rectangle it suggests is the window's 96-DPI size at that scale.
void SendScaleChange(HWND wnd, int dpi, SIZE size96) {
    const DpiScale scale(dpi);
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    RECT suggested{rc.left, rc.top, rc.left + scale.Scale(size96.cx), rc.top + scale.Scale(size96.cy)};
    ::SendMessageW(wnd, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class WindowScaleTest : public MainWindowFixture {
protected:
    void SetUp() override {
        window = OpenTestMainWindow(kPortMapKey, kSettingsKey);
        ASSERT_NE(nullptr, window);
        Paint();
    }
    void MoveToScale(int dpi) {
        SendScaleChange(window->GetHWND(), dpi, SIZE{kDesignWidth, kDesignHeight});
        Paint();
    }
    SIZE ClientSize() const {
        RECT rc{};
        ::GetClientRect(window->GetHWND(), &rc);
        return SIZE{rc.right, rc.bottom};
    }
    std::vector<RECT> Positions() {
        std::vector<RECT> all;
        for (CControlUI* control : AllControls(window->GetPaintManager())) all.push_back(control->GetPos());
        return all;
    }
};

// Each scale in both languages: the window takes the suggested size, every
// text fits, and the screenshot is kept. Back at 96 the layout is the one
// the window started with: nothing was measured again from scaled numbers.
TEST_F(WindowScaleTest, MainWindow_EveryTextFitsAtEachScaleInBothLanguages) {
    const std::vector<RECT> at96 = Positions();
    std::vector<std::string> texts[2];
    for (int chinese = 1; chinese >= 0; --chinese) {
        const char* language = chinese ? "zh" : "en";
        ASSERT_EQ(chinese == 1, window->IsChinese());
        for (CControlUI* control : AllControls(window->GetPaintManager())) texts[chinese].push_back(control->GetText());
        for (int dpi : kScales) {
            SCOPED_TRACE(std::string(language) + " at " + std::to_string(dpi));
            MoveToScale(dpi);
            const DpiScale scale(dpi);
            EXPECT_EQ(scale.Scale(kDesignWidth), ClientSize().cx);
            EXPECT_EQ(scale.Scale(kDesignHeight), ClientSize().cy);
            EXPECT_EQ(std::vector<std::string>{}, CutTexts(window->GetPaintManager()));
            EXPECT_TRUE(
                LoomTest::SaveScreenshot(window->GetHWND(), Shot("main_" + std::to_string(dpi) + "_" + language)));
        }
        MoveToScale(96);
        window->SwitchLanguage();
        Paint();
    }
    EXPECT_NE(texts[0], texts[1]) << "the texts are the same in both languages";
    const std::vector<RECT> again = Positions();
    ASSERT_EQ(at96.size(), again.size());
    const std::vector<CControlUI*> controls = AllControls(window->GetPaintManager());
    for (size_t i = 0; i < at96.size(); ++i)
        EXPECT_TRUE(::EqualRect(&at96[i], &again[i]))
            << "control " << i << " " << controls[i]->GetClass() << " '" << controls[i]->GetText() << "' ("
            << at96[i].left << "," << at96[i].top << ") -> (" << again[i].left << "," << again[i].top << ")";
}

// Every control's edges at a scale are its 96-DPI edges scaled, within 1 px.
TEST_F(WindowScaleTest, MainWindow_LayoutAtEachScaleIsThe96LayoutScaled) {
    const std::vector<RECT> at96 = Positions();
    for (int dpi : {120, 144, 168, 192}) {
        MoveToScale(dpi);
        const DpiScale scale(dpi);
        const std::vector<RECT> scaled = Positions();
        ASSERT_EQ(at96.size(), scaled.size());
        int worst = 0;
        size_t worstAt = 0;
        for (size_t i = 0; i < at96.size(); ++i) {
            const RECT& a = at96[i];
            const RECT& b = scaled[i];
            if (::IsRectEmpty(&a)) continue;  // hidden: nothing to compare
            for (auto [from, to] :
                 {std::pair{a.left, b.left}, {a.top, b.top}, {a.right, b.right}, {a.bottom, b.bottom}}) {
                const int off = std::abs(scale.Scale(from) - to);
                if (off > worst) worst = off, worstAt = i;
            }
        }
        const CControlUI* c = AllControls(window->GetPaintManager())[worstAt];
        EXPECT_LE(worst, 1) << "at " << dpi << ": " << c->GetClass() << " " << c->GetName();
    }
}

// The firmware download's progress in the status strip: at each scale the
// bar ends where it ends at 96, scaled (within 1 px).
TEST_F(WindowScaleTest, FirmwareProgress_TheBarEndsWhereItEndsAt96) {
    HWND wnd = window->GetHWND();
    ::SendMessageW(wnd, kWmAppUiEvent, 1, kUiBusy);
    ::SendMessageW(wnd, kWmAppUiEvent, 4200, kUiProgress);
    int end96 = 0, left96 = 0, right96 = 0;
    for (int dpi : kScales) {
        MoveToScale(dpi);
        // The bar fills the strip's label from the left; its text is drawn
        // over the middle, so the bar is followed along its top row.
        const RECT strip = window->Controls().statusLabel->GetPos();
        LoomTest::PixelSurface shot(ClientSize().cx, ClientSize().cy);
        LoomTest::CaptureClient(wnd, shot);
        const int y = strip.top + 1;
        const DWORD bar = shot.At(strip.left + 2, y);
        int end = strip.left + 2;
        while (end < strip.right && shot.At(end, y) == bar) ++end;
        if (dpi == 96) end96 = end, left96 = strip.left, right96 = strip.right;
        EXPECT_NEAR(DpiScale(dpi).Scale(end96), end, 1) << dpi;
        EXPECT_TRUE(LoomTest::SaveScreenshot(wnd, Shot("firmware_" + std::to_string(dpi))));
    }
    EXPECT_NEAR(left96 + (right96 - left96) * 42 / 100, end96, 1);  // 4200 of 10000
    ::SendMessageW(wnd, kWmAppUiEvent, 0, kUiBusy);
}

// A drop-down opens at the window's scale; a change of scale while it is
// open ends it, as a click elsewhere would, and keeps the choice.
TEST_F(WindowScaleTest, DropDown_OpensAtTheScaleAndEndsWhenTheScaleChanges) {
    for (int dpi : kScales) {
        SCOPED_TRACE(dpi);
        MoveToScale(dpi);
        CComboUI* combo = window->Controls().protocolRow->GetCombo();
        combo->SelectItem(1);
        ASSERT_TRUE(combo->Activate());
        TestWindow::Pump();
        HWND drop = ::FindWindowW(L"ComboWnd", nullptr);
        ASSERT_NE(nullptr, drop);
        ::UpdateWindow(drop);
        RECT box{};
        ::GetWindowRect(drop, &box);
        const RECT pos = combo->GetPos();
        EXPECT_EQ(pos.right - pos.left, box.right - box.left);
        EXPECT_TRUE(LoomTest::SaveScreenshot(drop, Shot("dropdown_" + std::to_string(dpi))));
        MoveToScale(dpi == 96 ? 144 : 96);
        EXPECT_FALSE(::IsWindow(drop));
        EXPECT_EQ(1, combo->GetCurSel());
    }
}

// A native edit ends at a change of scale with what was typed kept; the
// edit made again later is at the new scale (the manager's font).
TEST_F(WindowScaleTest, NativeEdit_EndsAtAChangeOfScaleWithItsTextKept) {
    MoveToScale(144);
    CEditUI* edit = window->Controls().destinationAddressRow->GetEdit();
    edit->SetFocus();
    TestWindow::Pump();
    HWND native = ::GetFocus();
    ASSERT_TRUE(native != nullptr && ::IsChild(window->GetHWND(), native));
    ::SetWindowTextW(native, L"123");
    MoveToScale(120);
    EXPECT_NE(native, ::GetFocus());
    EXPECT_EQ("123", edit->GetText());
    edit->SetFocus();
    TestWindow::Pump();
    HWND again = ::GetFocus();
    ASSERT_TRUE(again != nullptr && ::IsChild(window->GetHWND(), again));
    EXPECT_EQ(window->GetPaintManager().GetFont(edit->GetFont()),
              reinterpret_cast<HFONT>(::SendMessageW(again, WM_GETFONT, 0, 0)));
}

// A message box is the system's: a change of scale while it is open
// re-lays the window out behind it and leaves the box open for its answer.
struct BoxAtScaleChange {
    HWND owner = nullptr;
    HWND box = nullptr;
    UINT_PTR check = 0;
    bool boxOpenAfter = false;
};
BoxAtScaleChange boxCheck;

BOOL CALLBACK FindBox(HWND wnd, LPARAM found) {
    if (::GetWindow(wnd, GW_OWNER) != boxCheck.owner || !::IsWindowVisible(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = wnd;
    return FALSE;
}

// A timer comes only once the thread's queue is empty: by then whatever the
// scale change posted has been handled, a close of the box among it.
void CALLBACK AnswerTheBoxIfStillOpen(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    boxCheck.check = 0;
    boxCheck.boxOpenAfter = ::IsWindow(boxCheck.box) && ::IsWindowVisible(boxCheck.box);
    if (boxCheck.boxOpenAfter) ::PostMessageW(boxCheck.box, WM_COMMAND, IDOK, 0);
}

void CALLBACK ChangeScaleUnderTheBox(HWND, UINT, UINT_PTR id, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&boxCheck.box));
    if (boxCheck.box == nullptr) return;  // not shown yet: the timer comes again
    ::KillTimer(nullptr, id);
    SendScaleChange(boxCheck.owner, 144, SIZE{kDesignWidth, kDesignHeight});
    boxCheck.check = ::SetTimer(nullptr, 0, 10, &AnswerTheBoxIfStillOpen);
}

TEST_F(WindowScaleTest, MessageBoxOpen_TheScaleChangesBehindItAndItStays) {
    boxCheck = BoxAtScaleChange{window->GetHWND()};
    ::SetTimer(nullptr, 0, 50, &ChangeScaleUnderTheBox);
    EXPECT_EQ(IDOK, Text::MessageBoxUtf8(window->GetHWND(), "端口打开失败", "错误", MB_OK | MB_ICONERROR));
    if (boxCheck.check != 0) ::KillTimer(nullptr, boxCheck.check);  // the box ended before it was checked
    EXPECT_TRUE(boxCheck.boxOpenAfter);
    EXPECT_EQ(DpiScale(144).Scale(kDesignWidth), ClientSize().cx);
}

// A scale too large for the monitor: the window fits the work area, as a
// maximised window does, and nothing fails.
TEST_F(WindowScaleTest, ScaleTooLargeForTheMonitor_TheWindowFitsTheWorkArea) {
    MoveToScale(288);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window->GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor));
    // The suggested size is larger than the work area both ways, so the
    // window takes all of it (a window that kept its size would fit too).
    RECT rc{};
    ::GetWindowRect(window->GetHWND(), &rc);
    EXPECT_TRUE(::EqualRect(&rc, &monitor.rcWork)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    EXPECT_TRUE(LoomTest::SaveScreenshot(window->GetHWND(), Shot("main_288_zh")));
}

}  // namespace

namespace {

// The About dialog at each scale in both languages: every text fits, and
// the screenshot is kept.
TEST_F(WindowScaleTest, About_EveryTextFitsAtEachScaleInBothLanguages) {
    for (bool chinese : {true, false}) {
        DlgAbout dialog(chinese);
        const HWND wnd = dialog.Open(window->GetHWND());
        ASSERT_NE(nullptr, wnd);
        RECT rc{};
        ::GetWindowRect(wnd, &rc);
        const SIZE size96{rc.right - rc.left, rc.bottom - rc.top};
        for (int dpi : kScales) {
            SCOPED_TRACE(std::to_string(dpi) + (chinese ? " zh" : " en"));
            SendScaleChange(wnd, dpi, size96);
            ::UpdateWindow(wnd);
            TestWindow::Pump();
            const RECT ok = dialog.GetOkButton()->GetPos();
            EXPECT_NEAR(DpiScale(dpi).Scale(70), ok.right - ok.left, 1);  // each edge within 1 px
            EXPECT_EQ(std::vector<std::string>{}, CutTexts(dialog.GetPaintManager()));
            EXPECT_TRUE(
                LoomTest::SaveScreenshot(wnd, Shot("about_" + std::to_string(dpi) + (chinese ? "_zh" : "_en"))));
        }
        ::DestroyWindow(wnd);
    }
}

}  // namespace

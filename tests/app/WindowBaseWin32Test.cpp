// The window base of the application's windows, with the real skin: the
// frameless window, its caption band, rounded corners, maximising, closing
// and the failure of a skin that cannot be built.
//
// Under Wine without a window manager, hiding or destroying a visible
// top-level window waits about two seconds: one visible window serves most
// tests and lives as long as the program; the others stay hidden.
#include <gtest/gtest.h>

#include <string>

#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Control/OptionUI.h"
#include "Loom/Control/TextUI.h"
#include "Loom/Builder/WindowImplBase.h"
#include "Loom/Core/WindowDpi.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "app/WindowSkin.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;  // the windows' style without WS_VISIBLE
constexpr DWORD kExStyle = 0x00060000;

// A window of the tool's kind: the real skin with a title bar of a title,
// a spacer, an option, a text and a close button, as the windows build it.
class SkinWindow : public WindowImplBase {
public:
    explicit SkinWindow(std::string brokenSkin = std::string())
        : WindowImplBase(759, 509), brokenSkin_(std::move(brokenSkin)) {
        AddNotifyHandler("windowinit", "", ParamHandler([this](WPARAM, LPARAM) { ++windowInits; }));
    }
    HWND CreateHidden(HWND owner = nullptr) { return Create(owner, "window", kStyle, kExStyle, 0, 0, 670, 444); }
    CUIManager& Manager() { return paintManager_; }
    // Out of its size and back: the window takes its region again.
    void Resize() {
        ::SetWindowPos(wnd_, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetWindowPos(wnd_, nullptr, 0, 0, 759, 509, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        TestWindow::Pump();
    }

    int windowInits = 0;
    bool rootAttachedAtInit = false;
    CLabelUI* title = nullptr;
    CControlUI* spacer = nullptr;
    COptionUI* option = nullptr;
    CTextUI* text = nullptr;
    CButtonUI* close = nullptr;

protected:
    std::string GetSkin(int width, int height) const override {
        return brokenSkin_.empty() ? BuildWindowSkin(width, height) : brokenSkin_;
    }
    void InitWindow() override {
        auto* main = static_cast<CContainerUI*>(paintManager_.FindControl("main"));
        rootAttachedAtInit = main != nullptr && paintManager_.GetRoot() == main;
        if (main == nullptr) return;
        auto* bar = new CHorizontalLayoutUI;
        bar->SetFixedHeight(33);
        title = new CLabelUI;
        title->SetFixedWidth(300);
        spacer = new CControlUI;
        option = new COptionUI;
        option->SetFixedWidth(20);
        text = new CTextUI;
        text->SetText("T");  // a text is as wide as its text
        close = new CButtonUI;
        close->SetFixedWidth(45);
        close->SetFixedHeight(17);
        for (CControlUI* c : {static_cast<CControlUI*>(title), spacer, static_cast<CControlUI*>(option),
                              static_cast<CControlUI*>(text), static_cast<CControlUI*>(close)}) {
            bar->Add(c);
        }
        main->Add(bar);
        main->Add(new CControlUI);
    }

private:
    std::string brokenSkin_;
};

// The visible window most tests share, shown and laid out.
SkinWindow& Shared() {
    static SkinWindow* shared = [] {
        auto* w = new SkinWindow;  // lives until the program ends
        w->Create(nullptr, "shared", kStyle | WS_VISIBLE, kExStyle, 0, 0, 670, 444);
        TestWindow::PumpUntil([w] { return w->close != nullptr && w->close->GetPos().right > 0; }, 3000);
        return w;
    }();
    return *shared;
}

LRESULT HitTest(HWND wnd, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(wnd, &pt);
    return ::SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

// The hit test at the middle of the control's top row of pixels (the
// close button lies fully inside the caption band, the others reach below).
LRESULT HitTestAt(HWND wnd, const CControlUI* control, int y) {
    const RECT rc = control->GetPos();
    return HitTest(wnd, (rc.left + rc.right) / 2, y);
}

RECT WorkArea(HWND wnd) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

SIZE ClientSize(HWND wnd) {
    RECT rc{};
    ::GetClientRect(wnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

// What the failure path did, recorded instead of shown and ended.
struct FailureRecord {
    std::string text, caption;
    HWND owner = reinterpret_cast<HWND>(1);
    UINT type = 0;
    int exitCode = -1;
};
FailureRecord failure;

int WINAPI RecordMessage(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    failure.owner = owner;
    failure.text = text;
    failure.caption = caption;
    failure.type = type;
    return IDOK;
}
void WINAPI RecordExit(UINT code) { failure.exitCode = static_cast<int>(code); }

}  // namespace

TEST(WindowBase, CreationDropsTheFrameTakesTheSkinSizeAndBuildsTheTree) {
    SkinWindow& w = Shared();
    ASSERT_NE(w.GetHWND(), nullptr);
    EXPECT_TRUE(w.rootAttachedAtInit);
    const SIZE client = ClientSize(w);
    EXPECT_EQ(client.cx, 759);
    EXPECT_EQ(client.cy, 509);
    RECT rc{};
    ::GetWindowRect(w, &rc);
    EXPECT_EQ(rc.right - rc.left, 759);  // all of the window is client area
    const LONG style = ::GetWindowLongW(w, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    // "windowinit" of the first layout went through the notification table.
    EXPECT_EQ(w.windowInits, 1);
    EXPECT_EQ(::SendMessageA(w, WM_NCACTIVATE, FALSE, 0), TRUE);
}

TEST(WindowBase, TheCaptionBandDragsExceptOverControlsThatTakeTheMouse) {
    SkinWindow& w = Shared();
    ASSERT_GT(w.spacer->GetWidth(), 0);
    EXPECT_EQ(HitTestAt(w, w.title, 10), HTCAPTION);
    EXPECT_EQ(HitTestAt(w, w.spacer, 10), HTCAPTION);
    EXPECT_EQ(HitTestAt(w, w.close, 10), HTCLIENT);
    EXPECT_EQ(HitTestAt(w, w.option, 10), HTCLIENT);
    EXPECT_EQ(HitTestAt(w, w.text, 10), HTCLIENT);
    EXPECT_EQ(HitTestAt(w, w.close, 30), HTCAPTION);  // the bar below the button
    EXPECT_EQ(HitTest(w, 0, 0), HTCAPTION);           // the root's border
    EXPECT_EQ(HitTestAt(w, w.title, 35), HTCAPTION);
    EXPECT_EQ(HitTestAt(w, w.title, 36), HTCLIENT);  // below the band
    // Double-clicking the caption leaves the window as it is.
    ::SendMessageA(w, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(::IsZoomed(w));
}

// At 144 DPI the caption band of 36 pixels is 54: hit tests follow the
// band at the scale, with the controls laid out at it; the window's round
// corners are clipped at the scale too.
TEST(WindowBase, TheCaptionBandAndTheRoundCornersFollowTheWindowsScale) {
    SkinWindow& w = Shared();
    struct Back96 {
        SkinWindow& w;
        ~Back96() {
            w.Manager().SetDpi(96);
            w.Resize();
            TestWindow::PumpUntil([this] { return w.title->GetHeight() == 33; }, 3000);
        }
    } back{w};
    w.Manager().SetDpi(144);
    ASSERT_TRUE(TestWindow::PumpUntil([&w] { return w.title->GetHeight() == 50; }, 3000));
    EXPECT_EQ(HitTestAt(w, w.title, 10), HTCAPTION);
    EXPECT_EQ(HitTestAt(w, w.close, 10), HTCLIENT);
    EXPECT_EQ(HitTestAt(w, w.title, 53), HTCAPTION);
    EXPECT_EQ(HitTestAt(w, w.title, 54), HTCLIENT);  // below the band
    // The corners of 5 are 8 at the scale, from the next resize on: (0, 1)
    // lies inside a corner of 5 and outside one of 8.
    w.Resize();
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(w, region.get()), ERROR);
    EXPECT_FALSE(::PtInRegion(region.get(), 0, 1));
    EXPECT_TRUE(::PtInRegion(region.get(), 2, 2));
}

// Any program may send the message: a scale no monitor has (0, 65535)
// would make fonts hundreds of times larger and pictures of gigabytes
// inside the window procedure. The window stays as it was.
TEST(WindowBase, AScaleChangeToAnImplausibleDpiIsIgnored) {
    SkinWindow& w = Shared();
    RECT before{};
    ::GetWindowRect(w, &before);
    for (const int dpi : {0, 23, 2305, 0xFFFF}) {
        RECT suggested{before.left, before.top, before.left + 100, before.top + 100};
        ::SendMessageW(w, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(96, w.Manager().GetScale().Dpi()) << dpi;
        RECT now{};
        ::GetWindowRect(w, &now);
        EXPECT_EQ(before.right - before.left, now.right - now.left) << dpi;
    }
}

TEST(WindowBase, TheWindowRegionHasRoundedCornersAndResizingLeaksNothing) {
    HWND wnd = Shared().GetHWND();
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(wnd, region.get()), ERROR);
    EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(::PtInRegion(region.get(), 758, 0));
    EXPECT_FALSE(::PtInRegion(region.get(), 0, 508));
    EXPECT_FALSE(::PtInRegion(region.get(), 758, 508));
    EXPECT_TRUE(::PtInRegion(region.get(), 2, 2));
    EXPECT_TRUE(::PtInRegion(region.get(), 379, 0));
    EXPECT_TRUE(::PtInRegion(region.get(), 758, 254));
    EXPECT_TRUE(::PtInRegion(region.get(), 379, 508));

    // Every resize gives the window a new region; the old ones must not pile
    // up. The first round lets the paint manager make its buffers.
    auto resize = [wnd](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            ::SetWindowPos(wnd, nullptr, 0, 0, 700 + i, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::SetWindowPos(wnd, nullptr, 0, 0, 759, 509, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::UpdateWindow(wnd);
            TestWindow::Pump();
        }
    };
    resize(1);
    const int gdi = CountGdiObjects();
    resize(10);
    EXPECT_EQ(CountGdiObjects(), gdi);
    ASSERT_NE(::GetWindowRgn(wnd, region.get()), ERROR);
    EXPECT_TRUE(::PtInRegion(region.get(), 758, 254));
}

TEST(WindowBase, MaximisingFillsTheWorkAreaAndRestoringGivesTheSizeBack) {
    HWND wnd = Shared().GetHWND();
    ::ShowWindow(wnd, SW_MAXIMIZE);
    TestWindow::Pump();
    const RECT work = WorkArea(wnd);
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    EXPECT_TRUE(::IsZoomed(wnd));
    EXPECT_TRUE(::EqualRect(&rc, &work)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    const SIZE client = ClientSize(wnd);
    EXPECT_EQ(client.cx, work.right - work.left);
    EXPECT_EQ(client.cy, work.bottom - work.top);
    ::ShowWindow(wnd, SW_RESTORE);
    TestWindow::Pump();
    EXPECT_EQ(ClientSize(wnd).cx, 759);
    EXPECT_EQ(ClientSize(wnd).cy, 509);
}

TEST(WindowBase, EscapeClosesAModalDialogWithResultOneAndFreesItsOwner) {
    SkinWindow& owner = Shared();
    SkinWindow dialog;
    const HWND wnd = dialog.CreateHidden(owner);
    ASSERT_NE(wnd, nullptr);
    ::PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(dialog.ShowModal(), 1u);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_TRUE(::IsWindowEnabled(owner));
}

TEST(WindowBase, ReturnAndOtherKeysLeaveTheWindowOpen) {
    SkinWindow w;
    const HWND wnd = w.CreateHidden();
    ASSERT_NE(wnd, nullptr);
    ::SendMessageA(wnd, WM_KEYDOWN, VK_RETURN, 1);
    ::SendMessageA(wnd, WM_KEYDOWN, 'A', 1);
    TestWindow::Pump();
    EXPECT_TRUE(::IsWindow(wnd));
}

TEST(WindowBase, SystemCloseEndsTheMessageLoopAndLeavesTheWindow) {
    SkinWindow w;
    const HWND wnd = w.CreateHidden();
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(::SendMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_TRUE(::IsWindow(wnd));
}

TEST(WindowBase, DestroyingTheWindowObjectDestroysAWindowStillOpen) {
    HWND wnd = nullptr;
    {
        SkinWindow w;
        wnd = w.CreateHidden();
        ASSERT_NE(wnd, nullptr);
    }
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST(WindowBase, ASkinThatCannotBeBuiltShowsTheFailureAndEndsWithCodeOne) {
    const WindowImplBase::FailureActions before = WindowImplBase::SetFailureActions({&RecordMessage, &RecordExit});
    SkinWindow w("<Window><VerticalLayout></Window>");
    const HWND wnd = w.CreateHidden();
    WindowImplBase::SetFailureActions(before);
    EXPECT_EQ(wnd, nullptr);
    EXPECT_EQ(failure.owner, nullptr);
    EXPECT_EQ(failure.text, "加载资源文件失败");
    EXPECT_EQ(failure.caption, "Loom");
    EXPECT_EQ(failure.type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(failure.exitCode, 1);
}

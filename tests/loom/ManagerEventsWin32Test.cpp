// Event routing of the paint manager, driven by real window messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

using Log = std::vector<std::string>;

std::string Ev(const char* name, int kind) { return std::string(name) + ":" + std::to_string(kind); }

// A row of probes, 50 pixels wide each, 40 high.
struct Row {
    Log log;
    CHorizontalLayoutUI* root = nullptr;
    std::vector<ProbeUI*> probes;

    explicit Row(std::initializer_list<const char*> names, UINT flags = ControlFlagTabStop) {
        root = new CHorizontalLayoutUI;
        root->SetName("root");
        for (const char* name : names) {
            auto* p = new ProbeUI(name, &log, flags);
            p->SetFixedWidth(50);
            probes.push_back(p);
            root->Add(p);
        }
    }
    ProbeUI* operator[](size_t i) const { return probes[i]; }
};

// The WM_MOUSEWHEEL point is in screen coordinates.
LPARAM ScreenPoint(HWND wnd, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(wnd, &pt);
    return MAKELPARAM(pt.x, pt.y);
}

// Offers a key message to the message loop's pre-translation, as the loop does.
bool Translate(HWND wnd, UINT message, WPARAM key) {
    MSG msg{};
    msg.hwnd = wnd;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = 1;
    return CUIManager::TranslateMessage(&msg);
}

// Holds Shift down in the thread's key state while it lives.
class ShiftDown {
public:
    ShiftDown() {
        ::GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(saved_, saved_ + 256, state);
        state[VK_SHIFT] = 0x80;
        ::SetKeyboardState(state);
    }
    ~ShiftDown() { ::SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

bool Contains(const Log& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

}  // namespace

TEST(ManagerEvents, MovingFromAToB_ALeaveThenBEnterThenBMove) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    row.log.clear();
    w.MouseMove(10, 10);
    EXPECT_EQ(row.log, (Log{Ev("a", EventMouseEnter), Ev("a", EventMouseMove)}));
    row.log.clear();
    w.MouseMove(60, 10);
    EXPECT_EQ(row.log, (Log{Ev("a", EventMouseLeave), Ev("b", EventMouseEnter), Ev("b", EventMouseMove)}));
    EXPECT_EQ(w.Manager().GetHover(), row[1]);
    EXPECT_EQ(w.Manager().GetMousePos().x, 60);
}

TEST(ManagerEvents, MouseLeaveOfTheWindowLeavesTheHoverControl) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    w.MouseMove(10, 10);
    row.log.clear();
    w.Send(WM_MOUSELEAVE);
    EXPECT_EQ(row.log, (Log{Ev("a", EventMouseLeave)}));
    EXPECT_EQ(w.Manager().GetHover(), nullptr);
}

TEST(ManagerEvents, CaptureKeepsTheButtonUpOnThePressedControl) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    w.MouseMove(10, 10);
    w.ButtonDown(10, 10);
    EXPECT_EQ(w.Manager().GetCaptureControl(), row[0]);
    EXPECT_TRUE(w.Manager().IsCaptured());
    EXPECT_EQ(::GetCapture(), w.GetHWND());
    EXPECT_EQ(w.Manager().GetFocus(), row[0]);
    row.log.clear();
    w.MouseMove(60, 10, MK_LBUTTON);
    // b becomes the hover control, but the move goes to the pressed control.
    EXPECT_EQ(row.log, (Log{Ev("a", EventMouseLeave), Ev("b", EventMouseEnter), Ev("a", EventMouseMove)}));
    row.log.clear();
    w.ButtonUp(60, 10);
    EXPECT_EQ(row.log, (Log{Ev("a", EventButtonUp)}));
    EXPECT_EQ(w.Manager().GetCaptureControl(), nullptr);
    EXPECT_FALSE(w.Manager().IsCaptured());
    EXPECT_NE(::GetCapture(), w.GetHWND());
}

TEST(ManagerEvents, ButtonDownCarriesTheMessageKeysAndPoint) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    w.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 9));
    ASSERT_FALSE(row[0]->events.empty());
    const UIEvent& e = row[0]->events.back();
    EXPECT_EQ(e.kind, EventButtonDown);
    EXPECT_EQ(e.sender, row[0]);
    EXPECT_EQ(e.keyState, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(e.mousePoint.x, 7);
    EXPECT_EQ(e.mousePoint.y, 9);
    w.ButtonUp(7, 9);
}

TEST(ManagerEvents, DisabledControlGetsNoCaptureAndNoFocus) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    row[1]->SetFocus();
    row[0]->SetEnabled(false);
    row.log.clear();
    w.ButtonDown(10, 10);
    EXPECT_EQ(w.Manager().GetCaptureControl(), nullptr);
    EXPECT_FALSE(w.Manager().IsCaptured());
    EXPECT_NE(::GetCapture(), w.GetHWND());
    EXPECT_EQ(w.Manager().GetFocus(), row[1]);
    w.ButtonUp(10, 10);
    EXPECT_FALSE(Contains(row.log, Ev("a", EventButtonUp)));
}

TEST(ManagerEvents, DoubleClickCapturesWithoutFocusing) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    row[1]->SetFocus();
    w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(w.Manager().GetCaptureControl(), row[0]);
    EXPECT_EQ(w.Manager().GetFocus(), row[1]);
    EXPECT_EQ(row[0]->events.back().kind, EventDoubleClick);
    w.ButtonUp(10, 10);
}

TEST(ManagerEvents, TabWrapsToTheFirstAndShiftTabWrapsBackToTheLast) {
    Row row{"a", "b", "c", "d"};
    row[3]->flags = 0;  // not a tab stop
    TestWindow w;
    ASSERT_TRUE(w.Open(200, 40, row.root));
    // The first paint put the focus on the first tab stop.
    EXPECT_EQ(w.Manager().GetFocus(), row[0]);
    row[1]->SetEnabled(false);  // skipped while disabled
    EXPECT_TRUE(Translate(w.GetHWND(), WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(w.Manager().GetFocus(), row[2]);
    EXPECT_TRUE(Translate(w.GetHWND(), WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(w.Manager().GetFocus(), row[0]);
    {
        ShiftDown shift;
        EXPECT_TRUE(Translate(w.GetHWND(), WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(w.Manager().GetFocus(), row[2]);
        EXPECT_TRUE(Translate(w.GetHWND(), WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(w.Manager().GetFocus(), row[0]);
    }
    EXPECT_FALSE(Translate(w.GetHWND(), WM_KEYDOWN, 'A'));
}

TEST(ManagerEvents, FocusMovesWithKillAndSetNotifications) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    ASSERT_EQ(w.Manager().GetFocus(), row[0]);
    w.notifications.clear();
    row[1]->SetFocus();
    EXPECT_EQ(w.notifications, (Log{"killfocus a 0 0", "setfocus b 0 0"}));
    EXPECT_FALSE(row[0]->IsFocused());
    EXPECT_TRUE(row[1]->IsFocused());
    // The kill-focus event names the control that takes the focus.
    const auto kill = std::find_if(row[0]->events.rbegin(), row[0]->events.rend(),
                                   [](const UIEvent& e) { return e.kind == EventKillFocus; });
    ASSERT_NE(kill, row[0]->events.rend());
    EXPECT_EQ(kill->sender, row[1]);
}

TEST(ManagerEvents, HiddenOrDisabledControlsAreNotFocused) {
    Row row{"a", "b", "c"};
    TestWindow w;
    ASSERT_TRUE(w.Open(150, 40, row.root));
    row[1]->SetVisible(false);
    row[2]->SetEnabled(false);
    w.Manager().SetFocus(row[1]);
    EXPECT_EQ(w.Manager().GetFocus(), nullptr);  // the old focus is killed, the new one refused
    w.Manager().SetFocus(row[2]);
    EXPECT_EQ(w.Manager().GetFocus(), nullptr);
    ProbeUI stranger("stranger");
    w.Manager().SetFocus(&stranger);  // not of this manager
    EXPECT_EQ(w.Manager().GetFocus(), nullptr);
}

TEST(ManagerEvents, HidingTheFocusedControlClearsTheFocus) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    ASSERT_EQ(w.Manager().GetFocus(), row[0]);
    row.root->SetVisible(false);  // reaches a through its parent
    EXPECT_EQ(w.Manager().GetFocus(), nullptr);
}

TEST(ManagerEvents, KeyUpGoesToTheKeyDownTarget) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    ASSERT_EQ(w.Manager().GetFocus(), row[0]);
    w.Key(WM_KEYDOWN, 'X');
    EXPECT_EQ(row[0]->events.back().kind, EventKeyDown);
    EXPECT_EQ(row[0]->events.back().key, 'X');
    EXPECT_EQ(w.Manager().GetKeyDownTarget(), row[0]);
    row[1]->SetFocus();
    row.log.clear();
    w.Key(WM_KEYUP, 'X');
    EXPECT_EQ(row.log, (Log{Ev("a", EventKeyUp)}));
    row.log.clear();
    w.Key(WM_KEYUP, 'X');  // no key is down any more
    EXPECT_TRUE(row.log.empty());
    w.Key(WM_CHAR, 'x');
    EXPECT_EQ(row.log, (Log{Ev("b", EventChar)}));
}

TEST(ManagerEvents, FirstThreeTimersGetSystemIds17_18_19AndFire) {
    Row row{"a", "b", "c"};
    TestWindow w;
    ASSERT_TRUE(w.Open(150, 40, row.root));
    CUIManager& m = w.Manager();
    ASSERT_TRUE(m.SetTimer(row[0], 1, 10));
    ASSERT_TRUE(m.SetTimer(row[1], 2, 10));
    ASSERT_TRUE(m.SetTimer(row[2], 7, 10));
    ASSERT_EQ(m.GetTimers().size(), 3u);
    EXPECT_EQ(m.GetTimers()[0].sysId, 17u);
    EXPECT_EQ(m.GetTimers()[1].sysId, 18u);
    EXPECT_EQ(m.GetTimers()[2].sysId, 19u);
    EXPECT_FALSE(m.SetTimer(row[0], 1, 500));  // already running
    ASSERT_TRUE(TestWindow::PumpUntil(
        [&] {
            return Contains(w.notifications, "timer a 1 0") && Contains(w.notifications, "timer b 2 0") &&
                   Contains(w.notifications, "timer c 7 0");
        },
        3000));
    const UIEvent& e = row[2]->events.back();
    EXPECT_EQ(e.kind, EventTimer);
    EXPECT_EQ(e.wParam, 7u);
}

TEST(ManagerEvents, KilledTimerStopsAndRestartsUnderItsOldId) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    CUIManager& m = w.Manager();
    ASSERT_TRUE(m.SetTimer(row[0], 1, 10));
    ASSERT_TRUE(m.SetTimer(row[1], 1, 10));
    EXPECT_TRUE(m.KillTimer(row[0], 1));
    EXPECT_FALSE(m.KillTimer(row[0], 1));
    // b, started after a with the same period, has fired: a would have too.
    ASSERT_TRUE(TestWindow::PumpUntil([&] { return Contains(w.notifications, "timer b 1 0"); }, 3000));
    EXPECT_FALSE(Contains(w.notifications, "timer a 1 0"));
    EXPECT_TRUE(m.SetTimer(row[0], 1, 10));
    EXPECT_EQ(m.GetTimers()[0].sysId, 17u);
    EXPECT_FALSE(m.GetTimers()[0].killed);
    EXPECT_TRUE(TestWindow::PumpUntil([&] { return Contains(w.notifications, "timer a 1 0"); }, 3000));
    m.KillTimer(row[0]);
    ASSERT_EQ(m.GetTimers().size(), 1u);
    EXPECT_EQ(m.GetTimers()[0].control, row[1]);
}

TEST(ManagerEvents, DestroyedControlLeavesNoTimerFocusOrHover) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    CUIManager& m = w.Manager();
    w.MouseMove(10, 10);
    ASSERT_TRUE(m.SetTimer(row[0], 1, 10));
    ASSERT_EQ(m.GetFocus(), row[0]);
    ASSERT_EQ(m.GetHover(), row[0]);
    row.root->SetDelayedDestroy(false);
    row.root->Remove(row[0]);
    EXPECT_EQ(m.GetFocus(), nullptr);
    EXPECT_EQ(m.GetHover(), nullptr);
    EXPECT_TRUE(m.GetTimers().empty());
    EXPECT_EQ(m.FindControl("a"), nullptr);
    EXPECT_EQ(m.FindControl("b"), row[1]);
}

TEST(ManagerEvents, SendersOwnListenersRunBeforeTheWindows) {
    Row row{"a"};
    TestWindow w;
    struct Own {
        Log* log;
        bool OnNotify(void* param) {
            log->push_back("own " + static_cast<NotifyMsg*>(param)->type);
            return true;
        }
    } own{&w.notifications};
    row[0]->OnNotify += CDelegate::Make(&own, &Own::OnNotify);
    ASSERT_TRUE(w.Open(50, 40, row.root));
    w.notifications.clear();
    w.Manager().SendNotify(row[0], "click", 3, 4);
    EXPECT_EQ(w.notifications, (Log{"own click", "click a 3 4"}));
}

TEST(ManagerEvents, NotificationsCarryTheNearestVirtualWindowName) {
    Row row{"a"};
    row.root->SetAttribute("virtualwnd", "page");
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    EXPECT_TRUE(w.Manager().IsUsedVirtualWnd());
    w.notifications.clear();
    w.Manager().SendNotify(row[0], "click");
    EXPECT_EQ(w.notifications, (Log{"click a 0 0 @page"}));
}

TEST(ManagerEvents, WindowInitFollowsTheFirstLayoutOnce) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(80, 40, row.root));
    EXPECT_EQ(std::count(w.notifications.begin(), w.notifications.end(), "windowinit root 0 0"), 1);
    EXPECT_EQ(w.posAtWindowInit.right, 80);
    EXPECT_EQ(w.posAtWindowInit.bottom, 40);
    row[0]->SetFixedWidth(30);
    w.Paint();
    EXPECT_EQ(row[0]->GetPos().right, 30);
    EXPECT_EQ(std::count(w.notifications.begin(), w.notifications.end(), "windowinit root 0 0"), 1);
}

TEST(ManagerEvents, RemovedChildIsDestroyedWhenTheCleanupMessageArrives) {
    Row row{"a", "b"};
    bool destroyed = false;
    struct Flag {
        bool* set;
        bool OnDestroy(void*) {
            *set = true;
            return true;
        }
    } flag{&destroyed};
    row[0]->OnDestroy += CDelegate::Make(&flag, &Flag::OnDestroy);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    ASSERT_TRUE(row.root->Remove(row[0]));
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(row.root->GetCount(), 1);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, w.GetHWND(), CUIManager::kDelayedCleanupMessage,
                               CUIManager::kDelayedCleanupMessage, PM_NOREMOVE));
    TestWindow::Pump();
    EXPECT_TRUE(destroyed);
}

TEST(ManagerEvents, WithoutAutoDestroyTheRemovedChildLives) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    row.root->SetAutoDestroy(false);
    ASSERT_TRUE(row.root->Remove(row[0]));
    TestWindow::Pump();
    EXPECT_EQ(row[0]->GetName(), "a");
    delete row[0];
}

TEST(ManagerEvents, ReplacedRootIsDestroyedLater) {
    Row first{"a"};
    Row second{"b"};
    bool destroyed = false;
    struct Flag {
        bool* set;
        bool OnDestroy(void*) {
            *set = true;
            return true;
        }
    } flag{&destroyed};
    first.root->OnDestroy += CDelegate::Make(&flag, &Flag::OnDestroy);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, first.root));
    w.Manager().SetRootControl(second.root);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(w.Manager().FindControl("a"), nullptr);
    w.Paint();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(std::count(w.notifications.begin(), w.notifications.end(), "windowinit root 0 0"), 2);
}

TEST(ManagerEvents, AlphaMakesTheWindowLayeredOnlyWithinRange) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    CUIManager& m = w.Manager();
    m.SetTransparent(255);
    EXPECT_EQ(m.GetTransparent(), 255);
    EXPECT_NE(::GetWindowLongW(w.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(w.GetHWND(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    m.SetTransparent(300);
    EXPECT_EQ(m.GetTransparent(), 255);
    EXPECT_EQ(::GetWindowLongW(w.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    m.SetTransparent(-4);
    EXPECT_EQ(m.GetTransparent(), 0);
    EXPECT_EQ(::GetWindowLongW(w.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST(ManagerEvents, WheelTowardTheUserSendsOne) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), ScreenPoint(w.GetHWND(), 10, 10));
    auto wheel = std::find_if(row[0]->events.rbegin(), row[0]->events.rend(),
                              [](const UIEvent& e) { return e.kind == EventScrollWheel; });
    ASSERT_NE(wheel, row[0]->events.rend());
    EXPECT_EQ(wheel->wParam, 1u);
    w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenPoint(w.GetHWND(), 10, 10));
    wheel = std::find_if(row[0]->events.rbegin(), row[0]->events.rend(),
                         [](const UIEvent& e) { return e.kind == EventScrollWheel; });
    EXPECT_EQ(wheel->wParam, 0u);
    // The hover was refreshed with a move at the wheel's point.
    EXPECT_EQ(w.Manager().GetHover(), row[0]);
}

TEST(ManagerEvents, WheelOverAScrollingLayoutScrollsIt) {
    auto* list = new CVerticalLayoutUI;
    list->SetAttribute("vscrollbar", "true");
    auto* tall = new ProbeUI("tall");
    tall->SetFixedHeight(500);
    list->Add(tall);
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 100, list));
    w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), ScreenPoint(w.GetHWND(), 10, 10));
    EXPECT_EQ(list->GetScrollPos().cy, w.Manager().GetDefaultFontInfo().tmHeight + 8);
}

TEST(ManagerEvents, ContextMenuGoesToTheCaptureControl) {
    Row row{"a", "b"};
    row[0]->SetContextMenuUsed(true);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    w.Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(row[0]->events.back().kind, EventRButtonDown);
    EXPECT_EQ(w.Manager().GetCaptureControl(), row[0]);
    w.notifications.clear();
    w.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.GetHWND()), ScreenPoint(w.GetHWND(), 60, 10));
    const UIEvent& e = row[0]->events.back();
    EXPECT_EQ(e.kind, EventContextMenu);
    EXPECT_EQ(e.lParam, reinterpret_cast<LPARAM>(row[0]));
    EXPECT_EQ(e.wParam, 0u);
    EXPECT_EQ(w.Manager().GetCaptureControl(), nullptr);
    EXPECT_EQ(w.Manager().GetMousePos().x, 60);
    ASSERT_EQ(w.notifications.size(), 1u);
    EXPECT_EQ(w.notifications[0].rfind("menu a 0 ", 0), 0u);
}

TEST(ManagerEvents, MnemonicOnALabelActivatesTheControlAfterIt) {
    Row row{"label", "edit", "button"};
    row[0]->className = "LabelUI";
    row[0]->SetShortcut('n');
    row[2]->SetShortcut('b');
    TestWindow w;
    ASSERT_TRUE(w.Open(150, 40, row.root));
    EXPECT_TRUE(Translate(w.GetHWND(), WM_SYSCHAR, 'N'));
    EXPECT_EQ(w.Manager().GetFocus(), row[1]);
    EXPECT_EQ(row[1]->activations, 1);
    EXPECT_EQ(row[0]->activations, 0);
    EXPECT_TRUE(Translate(w.GetHWND(), WM_SYSCHAR, 'b'));
    EXPECT_EQ(w.Manager().GetFocus(), row[2]);
    EXPECT_EQ(row[2]->activations, 1);
    EXPECT_FALSE(Translate(w.GetHWND(), WM_SYSCHAR, 'q'));
}

TEST(ManagerEvents, SysKeyDownGoesToTheFocusControl) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    EXPECT_FALSE(Translate(w.GetHWND(), WM_SYSKEYDOWN, VK_F10));
    EXPECT_EQ(row[0]->events.back().kind, EventSysKey);
}

// Windows' "underline access keys" shows the cues without a key, through
// mouse presses, until the setting is off again.
TEST(ManagerEvents, SystemSettingToUnderlineAccessKeysShowsTheCuesUntilOff) {
    const auto setCues = [](BOOL on) {
        ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(on)), 0);
    };
    BOOL before = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &before, 0);
    const std::unique_ptr<void, std::function<void(void*)>> restore(&before, [&](void*) { setCues(before); });
    setCues(FALSE);
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    EXPECT_FALSE(w.Manager().AreKeyboardCuesShown());
    setCues(TRUE);
    EXPECT_TRUE(CUIManager().AreKeyboardCuesShown());  // a new window reads it
    w.Send(WM_SETTINGCHANGE, SPI_SETKEYBOARDCUES);
    EXPECT_TRUE(w.Manager().AreKeyboardCuesShown());
    w.ButtonDown(5, 5);
    w.ButtonUp(5, 5);
    EXPECT_TRUE(w.Manager().AreKeyboardCuesShown());
    setCues(FALSE);
    w.Send(WM_SETTINGCHANGE, SPI_SETKEYBOARDCUES);
    EXPECT_FALSE(w.Manager().AreKeyboardCuesShown());
}

TEST(ManagerEvents, CloseSendsLeaveAndButtonUpAndClearsTheFocus) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    w.MouseMove(60, 10);
    w.ButtonDown(10, 10);
    row.log.clear();
    w.Send(WM_CLOSE);
    // b is the hover control, a the pressed and focused one.
    EXPECT_EQ(row.log, (Log{Ev("b", EventMouseLeave), Ev("a", EventButtonUp), Ev("a", EventKillFocus)}));
    EXPECT_EQ(w.Manager().GetFocus(), nullptr);
    w.ButtonUp(10, 10);
}

TEST(ManagerEvents, SetCursorReachesOnlyControlsThatAskForIt) {
    Row row{"plain", "cursor"};
    row[1]->flags = ControlFlagSetCursor;
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    POINT pt{60, 10};
    ::ClientToScreen(w.GetHWND(), &pt);
    ASSERT_TRUE(::SetCursorPos(pt.x, pt.y));
    row.log.clear();
    EXPECT_EQ(w.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(w.GetHWND()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(row.log, (Log{Ev("cursor", EventSetCursor)}));
    EXPECT_EQ(row[1]->events.back().mousePoint.x, 60);
    pt = POINT{10, 10};
    ::ClientToScreen(w.GetHWND(), &pt);
    ::SetCursorPos(pt.x, pt.y);
    row.log.clear();
    const int before = w.unhandled;
    w.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(w.GetHWND()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_TRUE(row.log.empty());
    EXPECT_EQ(w.unhandled, before + 1);  // left to the default procedure
}

TEST(ManagerEvents, HoverShowsTheToolTipWindow) {
    Row row{"a"};
    row[0]->SetToolTip("first<n>second");
    row[0]->SetToolTipWidth(120);
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    w.MouseMove(10, 10);
    w.Send(WM_MOUSEHOVER, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(row[0]->events.back().kind, EventMouseHover);
    HWND tip = w.Manager().GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    char cls[64] = {};
    ::GetClassNameA(tip, cls, sizeof(cls));
    EXPECT_STREQ(cls, "tooltips_class32");
    EXPECT_EQ(::SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 120);
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), w.GetHWND());
}

TEST(ManagerEvents, MessageFilterSeesMessagesFirst) {
    Row row{"a"};
    struct Filter : IMessageFilterUI {
        int seen = 0;
        LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override {
            if (message == WM_LBUTTONDOWN) {
                ++seen;
                handled = true;
                return 42;
            }
            return 0;
        }
    } filter;
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    EXPECT_TRUE(w.Manager().AddMessageFilter(&filter));
    EXPECT_FALSE(w.Manager().AddMessageFilter(&filter));
    row.log.clear();
    EXPECT_EQ(w.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)), 42);
    EXPECT_EQ(filter.seen, 1);
    EXPECT_TRUE(row.log.empty());
    EXPECT_TRUE(w.Manager().RemoveMessageFilter(&filter));
}

TEST(ManagerEvents, ChildWindowKeysReachTheManagerOfItsParent) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    HWND child = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, w.GetHWND(), nullptr,
                                   CUIManager::GetInstance(), nullptr);
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(w.Manager().GetFocus(), row[0]);
    EXPECT_TRUE(Translate(child, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(w.Manager().GetFocus(), row[1]);
    ::DestroyWindow(child);
}

TEST(ManagerEvents, SetFocusNeededLandsOnTheControlAfterTheNextPaint) {
    Row row{"a", "b", "c"};
    TestWindow w;
    ASSERT_TRUE(w.Open(150, 40, row.root));
    ASSERT_EQ(w.Manager().GetFocus(), row[0]);
    w.notifications.clear();
    w.Manager().SetFocusNeeded(row[2]);
    EXPECT_EQ(w.Manager().GetFocus(), row[1]);  // parked without events
    EXPECT_FALSE(row[1]->IsFocused());
    w.Paint();
    EXPECT_EQ(w.Manager().GetFocus(), row[2]);
    EXPECT_EQ(w.notifications, (Log{"killfocus a 0 0", "killfocus b 0 0", "setfocus c 0 0"}));
}

TEST(ManagerEvents, EventListenerAnsweringFalseKeepsTheEventFromTheControl) {
    Row row{"a"};
    struct Veto {
        int seen = 0;
        bool OnEvent(void* param) {
            ++seen;
            return static_cast<UIEvent*>(param)->kind != EventMouseMove;
        }
    } veto;
    row[0]->OnEvent += CDelegate::Make(&veto, &Veto::OnEvent);
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    row.log.clear();
    w.MouseMove(10, 10);
    EXPECT_EQ(row.log, (Log{Ev("a", EventMouseEnter)}));
    EXPECT_GE(veto.seen, 2);
}

TEST(ManagerEvents, MessageLoopOffersKeysToTheManagerBeforeDispatching) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    ASSERT_EQ(w.Manager().GetFocus(), row[0]);
    row.log.clear();
    ::PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_TAB, 1);
    ::PostMessageW(w.GetHWND(), WM_KEYDOWN, 'Z', 1);
    ::PostQuitMessage(0);
    CUIManager::MessageLoop();
    EXPECT_EQ(w.Manager().GetFocus(), row[1]);
    // The Tab was consumed by the pre-translation; the Z reached b as a key-down.
    EXPECT_FALSE(Contains(row.log, Ev("a", EventKeyDown)));
    EXPECT_TRUE(Contains(row.log, Ev("b", EventKeyDown)));
}

// After 255 timers the id counter wraps through 0, which is no id: the
// timer made then must not fail.
TEST(ManagerEvents, TimerIdCounterWrapsPastZero) {
    Row row{"a"};
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 40, row.root));
    CUIManager& m = w.Manager();
    for (int n = 0; n < 600; ++n) {
        ASSERT_TRUE(m.SetTimer(row[0], 1, 1000)) << "timer " << n;
        ASSERT_NE(m.GetTimers().back().sysId, 0u);
        m.KillTimer(row[0]);
    }
}

namespace {

// Runs a member of a test when a control sees the kill-focus event.
struct OnKillFocus {
    std::function<void()> action;
    bool Call(void* param) {
        if (static_cast<UIEvent*>(param)->kind == EventKillFocus && action) {
            auto run = std::move(action);  // once
            run();
        }
        return true;
    }
};

}  // namespace

// A kill-focus handler that moves the focus elsewhere has the last word:
// exactly one control is focused afterwards.
TEST(ManagerEvents, KillFocusHandlerMovingTheFocusLeavesOneFocusedControl) {
    Row row{"a", "b", "c"};
    TestWindow w;
    ASSERT_TRUE(w.Open(150, 40, row.root));
    CUIManager& m = w.Manager();
    m.SetFocus(row[0]);
    OnKillFocus hook{[&] { m.SetFocus(row[2]); }};
    row[0]->OnEvent += CDelegate::Make(&hook, &OnKillFocus::Call);
    m.SetFocus(row[1]);
    EXPECT_EQ(m.GetFocus(), row[2]);
    EXPECT_FALSE(row[0]->IsFocused());
    EXPECT_FALSE(row[1]->IsFocused());
    EXPECT_TRUE(row[2]->IsFocused());
}

// A kill-focus handler that destroys the control about to get the focus:
// nobody is focused, and the destroyed control is never touched.
TEST(ManagerEvents, KillFocusHandlerDestroyingTheNewFocusLeavesNoFocus) {
    Row row{"a", "b"};
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, row.root));
    CUIManager& m = w.Manager();
    m.SetFocus(row[0]);
    row.root->SetDelayedDestroy(false);
    OnKillFocus hook{[&] { row.root->Remove(row[1]); }};
    row[0]->OnEvent += CDelegate::Make(&hook, &OnKillFocus::Call);
    m.SetFocus(row[1]);
    EXPECT_EQ(m.GetFocus(), nullptr);
    EXPECT_FALSE(row[0]->IsFocused());
}

// A click (button-up) or context-menu handler may destroy the window and
// its manager: the manager must not write into its own memory afterwards.
// The manager lives in a buffer that is filled with a pattern when it is
// destroyed; a later write would show in the pattern.
TEST(ManagerEvents, HandlerDestroyingTheManagerLeavesItsMemoryUntouched) {
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, nullptr));
    for (UINT up : {UINT(WM_LBUTTONUP), UINT(WM_CONTEXTMENU)}) {
        SCOPED_TRACE(up);
        alignas(CUIManager) static unsigned char storage[sizeof(CUIManager)];
        auto* m = new (storage) CUIManager;
        m->Init(w.GetHWND());
        auto* root = new CHorizontalLayoutUI;
        auto* probe = new ProbeUI("p");
        root->Add(probe);
        m->SetRootControl(root);
        root->SetPos(RECT{0, 0, 100, 40});
        struct Destroyer {
            CUIManager* manager;
            int kind;
            bool Call(void* param) {
                if (static_cast<UIEvent*>(param)->kind != kind) return true;
                manager->~CUIManager();
                std::memset(storage, 0xA5, sizeof(storage));
                return false;
            }
        } destroyer{m, up == WM_LBUTTONUP ? EventButtonUp : EventContextMenu};
        probe->OnEvent += CDelegate::Make(&destroyer, &Destroyer::Call);
        LRESULT result = 0;
        const bool right = up == WM_CONTEXTMENU;
        m->MessageHandler(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), result);
        POINT screen{10, 10};
        ::ClientToScreen(w.GetHWND(), &screen);
        m->MessageHandler(up, 0, right ? MAKELPARAM(screen.x, screen.y) : MAKELPARAM(10, 10), result);
        size_t changed = 0;
        for (unsigned char byte : storage) changed += byte != 0xA5;
        EXPECT_EQ(changed, 0u);
        ::ReleaseCapture();
    }
}

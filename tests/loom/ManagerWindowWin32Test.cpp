// The native window wrapper and the notification pump.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Loom/Core/NotifyPump.h"
#include "Loom/Core/WindowWnd.h"
#include "testkit/LoomTestWindow.h"
#include "platform/Win32Text.h"

using namespace Loom;
using namespace LoomTest;

namespace {

class PlainWindow : public CWindowWnd {
public:
    std::vector<UINT> seen;
    HWND finalWindow = nullptr;
    bool throwOnUser = false;

protected:
    const char* GetWindowClassName() const override { return "LoomPlainWindow"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_USER && throwOnUser) throw std::runtime_error("from a handler");
        if (message == WM_USER + 1) return 1234;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnFinalMessage(HWND wnd) override { finalWindow = wnd; }
};

// A superclass of the system edit control.
class SuperEdit : public CWindowWnd {
public:
    int chars = 0;

protected:
    const char* GetWindowClassName() const override { return "LoomSuperEdit"; }
    const char* GetSuperClassName() const override { return "EDIT"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CHAR) ++chars;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
};

bool Seen(const PlainWindow& w, UINT message) {
    return std::find(w.seen.begin(), w.seen.end(), message) != w.seen.end();
}

}  // namespace

TEST(WindowWnd, BindsAtCreationAndLetsGoAtTheFinalMessage) {
    TestWindow host;
    ASSERT_TRUE(host.Open(30, 30, nullptr));
    PlainWindow w;
    HWND wnd = w.Create(host.GetHWND(), "plain", WS_CHILD, 0, 0, 0, 10, 10);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(w.GetHWND(), wnd);
    EXPECT_EQ(static_cast<HWND>(w), wnd);
    EXPECT_TRUE(Seen(w, WM_CREATE));
    EXPECT_EQ(::SendMessageA(wnd, WM_USER + 1, 0, 0), 1234);
    ::DestroyWindow(wnd);
    EXPECT_EQ(w.finalWindow, wnd);
    EXPECT_EQ(w.GetHWND(), nullptr);
    // A second window of the same class reuses the registration.
    PlainWindow again;
    ASSERT_NE(again.Create(host.GetHWND(), "again", WS_CHILD, 0, 0, 0, 10, 10), nullptr);
    ::DestroyWindow(again.GetHWND());
}

TEST(WindowWnd, ExceptionsStopAtTheWindowProcedure) {
    TestWindow host;
    ASSERT_TRUE(host.Open(30, 30, nullptr));
    PlainWindow w;
    ASSERT_NE(w.Create(host.GetHWND(), "plain", WS_CHILD, 0, 0, 0, 10, 10), nullptr);
    w.throwOnUser = true;
    EXPECT_EQ(::SendMessageA(w.GetHWND(), WM_USER, 0, 0), 0);  // the default procedure answered
    EXPECT_TRUE(::IsWindow(w.GetHWND()));
    ::DestroyWindow(w.GetHWND());
}

TEST(WindowWnd, EverySuperclassedWindowKeepsTheSystemProcedure) {
    TestWindow host;
    ASSERT_TRUE(host.Open(60, 30, nullptr));
    SuperEdit first, second;
    ASSERT_NE(first.Create(host.GetHWND(), "one", WS_CHILD | WS_VISIBLE, 0, 0, 0, 50, 12), nullptr);
    ASSERT_NE(second.Create(host.GetHWND(), "two", WS_CHILD | WS_VISIBLE, 0, 0, 14, 50, 12), nullptr);
    EXPECT_EQ(Text::WindowText(second.GetHWND()), "two");
    EXPECT_EQ(::GetPropW(second.GetHWND(), L"WndX"), static_cast<HANDLE>(&second));
    ::SendMessageA(second.GetHWND(), WM_CHAR, 'x', 1);
    EXPECT_EQ(second.chars, 1);
    EXPECT_EQ(Text::WindowText(second.GetHWND()), "xtwo");  // the edit control itself handled the character
    HWND gone = second.GetHWND();
    ::DestroyWindow(gone);
    EXPECT_EQ(::GetPropW(gone, L"WndX"), nullptr);
    ::DestroyWindow(first.GetHWND());
}

TEST(WindowWnd, SubclassingRoutesAnExistingWindowAndUndoesItself) {
    TestWindow host;
    ASSERT_TRUE(host.Open(30, 30, nullptr));
    HWND stat = ::CreateWindowExA(0, "STATIC", "s", WS_CHILD, 0, 0, 10, 10, host.GetHWND(), nullptr,
                                  CUIManager::GetInstance(), nullptr);
    ASSERT_NE(stat, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrW(stat, GWLP_WNDPROC);
    PlainWindow w;
    ASSERT_EQ(w.Subclass(stat), stat);
    EXPECT_EQ(::SendMessageA(stat, WM_USER + 1, 0, 0), 1234);
    ::SetWindowTextA(stat, "t");  // passes on to the static control
    EXPECT_EQ(Text::WindowText(stat), "t");
    w.Unsubclass();
    EXPECT_EQ(::GetWindowLongPtrW(stat, GWLP_WNDPROC), original);
    EXPECT_EQ(::SendMessageA(stat, WM_USER + 1, 0, 0), 0);
    ::DestroyWindow(stat);
}

TEST(WindowWnd, CenterWindowCentresOverTheOwnerWithoutResizing) {
    TestWindow host;
    ASSERT_TRUE(host.Open(200, 100, nullptr));
    PlainWindow w;
    ASSERT_NE(w.Create(host.GetHWND(), "popup", WS_POPUP, 0, 0, 0, 40, 20), nullptr);
    w.CenterWindow();
    RECT owner{}, rc{};
    ::GetWindowRect(host.GetHWND(), &owner);
    ::GetWindowRect(w.GetHWND(), &rc);
    EXPECT_EQ(rc.right - rc.left, 40);
    EXPECT_EQ(rc.bottom - rc.top, 20);
    EXPECT_EQ(rc.left, (owner.left + owner.right) / 2 - 20);
    EXPECT_EQ(rc.top, (owner.top + owner.bottom) / 2 - 10);
    ::DestroyWindow(w.GetHWND());
}

TEST(WindowWnd, CenterWindowStaysInsideTheWorkArea) {
    PlainWindow w;
    ASSERT_NE(w.Create(nullptr, "lonely", WS_POPUP, 0, 0, 0, 5000, 30), nullptr);
    w.CenterWindow();
    RECT rc{};
    ::GetWindowRect(w.GetHWND(), &rc);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(w.GetHWND(), MONITOR_DEFAULTTONEAREST), &info);
    EXPECT_EQ(rc.left, info.rcWork.left);
    EXPECT_EQ(rc.top, (info.rcWork.top + info.rcWork.bottom) / 2 - 15);
    ::DestroyWindow(w.GetHWND());
}

TEST(WindowWnd, ShowModalReturnsTheCloseResultAndReenablesTheOwner) {
    TestWindow host;
    ASSERT_TRUE(host.Open(30, 30, nullptr));
    PlainWindow dialog;
    ASSERT_NE(dialog.Create(host.GetHWND(), "modal", WS_POPUP, 0, 0, 0, 20, 20), nullptr);
    dialog.Close(7);
    EXPECT_EQ(dialog.ShowModal(), 7u);
    EXPECT_FALSE(::IsWindow(dialog.finalWindow));
    EXPECT_TRUE(::IsWindowEnabled(host.GetHWND()));
}

TEST(WindowWnd, QuitInsideShowModalEndsItAndIsPostedAgain) {
    TestWindow host;
    ASSERT_TRUE(host.Open(30, 30, nullptr));
    PlainWindow dialog;
    ASSERT_NE(dialog.Create(host.GetHWND(), "modal", WS_POPUP, 0, 0, 0, 20, 20), nullptr);
    ::PostQuitMessage(5);
    EXPECT_EQ(dialog.ShowModal(), 0u);
    EXPECT_TRUE(::IsWindowEnabled(host.GetHWND()));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    ::DestroyWindow(dialog.GetHWND());  // still there: the loop ended without closing it
}

namespace {

class Pump : public CNotifyPump {
public:
    std::vector<std::string> calls;
};

NotifyMsg Msg(const char* type, const char* virtualWnd = "", WPARAM w = 0, LPARAM l = 0) {
    NotifyMsg msg;
    msg.type = type;
    msg.virtualWnd = virtualWnd;
    msg.wParam = w;
    msg.lParam = l;
    return msg;
}

}  // namespace

TEST(NotifyPump, SameVirtualWindowWinsOverTheFallback) {
    Pump pump;
    pump.AddNotifyHandler("click", "", Pump::MsgHandler([&](NotifyMsg&) { pump.calls.push_back("fallback"); }));
    pump.AddNotifyHandler("click", "page", Pump::MsgHandler([&](NotifyMsg&) { pump.calls.push_back("page"); }));
    NotifyMsg onPage = Msg("click", "page");
    NotifyMsg elsewhere = Msg("click", "other");
    NotifyMsg plain = Msg("click");
    EXPECT_TRUE(pump.NotifyPump(onPage));
    EXPECT_TRUE(pump.NotifyPump(elsewhere));
    EXPECT_TRUE(pump.NotifyPump(plain));
    EXPECT_EQ(pump.calls, (std::vector<std::string>{"page", "fallback", "fallback"}));
}

TEST(NotifyPump, ParameterHandlersAndUnknownTypes) {
    Pump pump;
    WPARAM gotW = 0;
    LPARAM gotL = 0;
    pump.AddNotifyHandler("itemselect", "", Pump::ParamHandler([&](WPARAM w, LPARAM l) {
                              gotW = w;
                              gotL = l;
                          }));
    NotifyMsg select = Msg("itemselect", "", 3, 1);
    EXPECT_TRUE(pump.NotifyPump(select));
    EXPECT_EQ(gotW, 3u);
    EXPECT_EQ(gotL, 1);
    NotifyMsg other = Msg("dropdown");
    EXPECT_FALSE(pump.NotifyPump(other));
    NotifyMsg onlyNamed = Msg("itemselect", "x");
    EXPECT_TRUE(pump.NotifyPump(onlyNamed));  // the fallback
    Pump named;
    named.AddNotifyHandler("click", "page", Pump::MsgHandler([](NotifyMsg&) {}));
    NotifyMsg unnamed = Msg("click");
    EXPECT_FALSE(named.NotifyPump(unnamed));
}

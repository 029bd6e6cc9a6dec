// The About dialog as the main window opens it: modal over its owner, in
// the owner's language, with the product's version, the links opened
// through the shell, and closed by OK, its close button or Escape.
//
// Every dialog here is a visible window, and under Wine without a window
// manager each one waits about two seconds when it goes: one per language
// and one through Show.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/LabelUI.h"
#include "app/DlgAbout.h"
#include "testkit/LoomTestWindow.h"
#include "platform/Win32Text.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// What a link click asked the shell for.
struct ShellCall {
    HWND owner;
    std::string verb, file;
    bool parameters, directory;
    INT show;
};
std::vector<ShellCall> shellCalls;

HINSTANCE WINAPI RecordShellOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    shellCalls.push_back(
        {owner, verb ? verb : "", file ? file : "", parameters != nullptr, directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(42);  // above 32: opened
}

using Text::WindowText;

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

void Click(HWND wnd, POINT pt) {
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    ::SendMessageA(wnd, WM_MOUSEMOVE, 0, at);
    ::SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(wnd, WM_LBUTTONUP, 0, at);
}

// The dialog's client area as a PNG in the build tree, for a look by eye.
void SaveScreenshot(HWND wnd, const char* name) {
    const std::string path = std::string("Z:") + VELMORA_SHOT_DIR + "/" + name;
    EXPECT_TRUE(LoomTest::SaveScreenshot(wnd, path)) << path;
}

// What the modal loop looked like from inside, seen by a timer that then
// clicks at a point of the dialog (or does nothing when there is none).
struct InsideLoop {
    HWND owner = nullptr;
    HWND dialog = nullptr;  // found as the owner's owned window when not given
    POINT click{-1, -1};
    bool ran = false;
    bool ownerEnabled = true;
    UINT_PTR fallback = 0;
};
InsideLoop inside;

// A dialog that ignored the click or key would keep its modal loop, and the
// test, running for ever: it is closed with a result of its own instead.
constexpr UINT kNotClosed = 99;

void CALLBACK FallbackTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    inside.fallback = 0;
    if (::IsWindow(inside.dialog)) ::PostMessageW(inside.dialog, WM_CLOSE, kNotClosed, 0);
}

BOOL CALLBACK FindOwned(HWND wnd, LPARAM) {
    if (::GetWindow(wnd, GW_OWNER) != inside.owner) return TRUE;
    inside.dialog = wnd;
    return FALSE;
}

void CALLBACK InsideTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    inside.ran = true;
    inside.ownerEnabled = ::IsWindowEnabled(inside.owner) != FALSE;
    if (inside.dialog == nullptr) ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwned, 0);
    if (inside.dialog != nullptr && inside.click.x >= 0) Click(inside.dialog, inside.click);
    inside.fallback = ::SetTimer(nullptr, 0, 3000, &FallbackTimer);
}

// Arms the timer for the next modal loop.
void ClickInsideLoop(HWND owner, HWND dialog, POINT click) {
    inside = InsideLoop{owner, dialog, click};
    ::SetTimer(nullptr, 0, 50, &InsideTimer);
}

// "VM_RCT(V001.01.08)" for the project version "1.1.8".
std::string ExpectedProductText() {
    int major = -1, minor = -1, patch = -1;
    std::sscanf(VELMORA_PROJECT_VERSION, "%d.%d.%d", &major, &minor, &patch);
    char text[32];
    std::snprintf(text, sizeof text, "VM_RCT(V%03d.%02d.%02d)", major, minor, patch);
    return text;
}

// Where each part of the dialog lies: the title bar with the picture, the
// title and the close button, and the framed body with the text column
// and the OK button centred in its own column.
constexpr const char* kLayout =
    "VerticalLayoutUI main (0,0,275,184)\n"
    "  HorizontalLayoutUI (2,2,273,35)\n"
    "    VerticalLayoutUI (5,4,31,33)\n"
    "      ControlUI (5,9,26,33)\n"
    "    LabelUI (31,4,119,33)\n"
    "    ControlUI (119,4,225,33)\n"
    "    ButtonUI (225,4,270,21)\n"
    "  HorizontalLayoutUI (12,45,263,168)\n"
    "    VerticalLayoutUI (22,55,172,158)\n"
    "      LabelUI (22,55,172,73)\n"
    "      LabelUI (22,83,172,101)\n"
    "      ButtonUI (22,111,172,129)\n"
    "      ButtonUI (22,139,172,157)\n"
    "    VerticalLayoutUI (182,55,252,158)\n"
    "      ControlUI (182,55,252,95)\n"
    "      ButtonUI (182,95,252,117)\n"
    "      ControlUI (182,117,252,158)\n";

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Open(400, 300, new CControlUI));
        shellCalls.clear();
        before = DlgAbout::SetShellOpen(&RecordShellOpen);
    }
    void TearDown() override {
        DlgAbout::SetShellOpen(before);
        if (inside.fallback != 0) ::KillTimer(nullptr, inside.fallback);
        inside.fallback = 0;
    }

    // Opens the dialog over the owner and waits for its first layout.
    HWND OpenLaidOut(DlgAbout& dialog) {
        const HWND wnd = dialog.Open(owner.GetHWND());
        if (wnd == nullptr) return nullptr;
        ::UpdateWindow(wnd);
        TestWindow::PumpUntil([&] { return dialog.GetOkButton()->GetPos().right > 0; }, 3000);
        return wnd;
    }

    TestWindow owner;
    DlgAbout::ShellOpen before = nullptr;
};

}  // namespace

TEST_F(AboutDialogTest, English_TextsLayoutAndLinks_EscapeEndsTheModalLoop) {
    DlgAbout dialog(false);
    const HWND wnd = OpenLaidOut(dialog);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(::GetWindow(wnd, GW_OWNER), owner.GetHWND());
    EXPECT_EQ(WindowText(wnd), "About...");
    EXPECT_EQ(dialog.GetTitleLabel()->GetText(), "About...");
    EXPECT_EQ(dialog.GetOkButton()->GetText(), "OK");
    EXPECT_EQ(dialog.GetProductLabel()->GetText(), ExpectedProductText());
    EXPECT_FALSE(dialog.GetNoticeLabel()->GetText().empty());
    EXPECT_EQ(dialog.GetWebLink()->GetText(), std::string("{u}{a}") + DlgAbout::kWebAddress + "{/a}{/u}");
    EXPECT_EQ(dialog.GetMailLink()->GetText(), std::string("{u}{a}email:") + DlgAbout::kSalesMail + "{/a}{/u}");
    EXPECT_EQ(DumpLayout(dialog.GetPaintManager().GetRoot()), kLayout);
    SaveScreenshot(wnd, "about_en.png");

    // The links ask the shell to open their targets and leave the dialog open.
    Click(wnd, Centre(dialog.GetWebLink()->GetPos()));
    Click(wnd, Centre(dialog.GetMailLink()->GetPos()));
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[0].file, DlgAbout::kWebAddress);
    EXPECT_EQ(shellCalls[1].file, std::string("mailto:") + DlgAbout::kSalesMail);
    for (const ShellCall& call : shellCalls) {
        EXPECT_EQ(call.owner, nullptr);
        EXPECT_EQ(call.verb, "open");
        EXPECT_FALSE(call.parameters);
        EXPECT_FALSE(call.directory);
        EXPECT_EQ(call.show, SW_SHOWNORMAL);
    }
    EXPECT_TRUE(::IsWindow(wnd));

    ::PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 1);
    ClickInsideLoop(owner.GetHWND(), wnd, POINT{-1, -1});
    EXPECT_EQ(dialog.ShowModal(), 1u);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
}

TEST_F(AboutDialogTest, Chinese_Texts_OkEndsTheModalLoopAndGivesTheOwnerBack) {
    DlgAbout dialog(true);
    const HWND wnd = OpenLaidOut(dialog);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(WindowText(wnd), "关于...");
    EXPECT_EQ(dialog.GetTitleLabel()->GetText(), "关于...");
    EXPECT_EQ(dialog.GetOkButton()->GetText(), "确定");
    SaveScreenshot(wnd, "about_zh.png");

    ClickInsideLoop(owner.GetHWND(), wnd, Centre(dialog.GetOkButton()->GetPos()));
    EXPECT_EQ(dialog.ShowModal(), 2u);
    EXPECT_TRUE(inside.ran);
    EXPECT_FALSE(inside.ownerEnabled);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
    EXPECT_EQ(::GetFocus(), owner.GetHWND());
    EXPECT_TRUE(shellCalls.empty());
}

TEST_F(AboutDialogTest, Show_CloseButtonEndsTheDialogOverItsOwner) {
    // The close button's middle, where the layout puts it.
    ClickInsideLoop(owner.GetHWND(), nullptr, POINT{247, 12});
    EXPECT_EQ(DlgAbout::Show(owner.GetHWND(), false), 2u);
    ASSERT_NE(inside.dialog, nullptr);
    EXPECT_FALSE(inside.ownerEnabled);
    EXPECT_FALSE(::IsWindow(inside.dialog));
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
}

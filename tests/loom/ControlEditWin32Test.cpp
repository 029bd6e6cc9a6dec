// The edit box and its native edit window in a real window: opening on
// focus, typing, the character limit, paste, Return, the number-only and
// read-only styles, colours, closing, and destruction with the window open.
#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"
#include "Loom/Control/EditUI.h"
#include "Loom/Control/EditWnd.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

using namespace Loom;
using namespace LoomTest;

namespace {

struct EditWindow {
    TestWindow window;
    CVerticalLayoutUI* root = new CVerticalLayoutUI;

    bool Open(std::initializer_list<CControlUI*> controls, int cx = 200, int cy = 120) {
        for (CControlUI* control : controls) root->Add(control);
        return window.Open(cx, cy, root);
    }
    std::vector<std::string> Sent() const { return OfTypes(window.notifications, {"textchanged", "return"}); }
};

using Text::WindowText;

DWORD StyleOf(HWND wnd) { return static_cast<DWORD>(::GetWindowLongW(wnd, GWL_STYLE)); }

void Type(HWND wnd, const std::string& text) {
    for (wchar_t ch : Text::Widen(text)) ::SendMessageW(wnd, WM_CHAR, ch, 1);
}

bool PutOnClipboard(HWND owner, const std::string& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool ok = false;
    if (memory != nullptr) {
        char* bytes = static_cast<char*>(::GlobalLock(memory));
        text.copy(bytes, text.size());
        bytes[text.size()] = '\0';
        ::GlobalUnlock(memory);
        ok = ::SetClipboardData(CF_TEXT, memory) != nullptr;
        if (!ok) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return ok;
}

// The window rectangle of a child in its parent's client coordinates.
RECT PlaceOf(HWND child) {
    RECT rc{0, 0, 0, 0};
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(Edit, DefaultsAndEstimateSize) {
    auto* edit = Make<CEditUI>("width=\"80\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    EXPECT_STREQ(edit->GetClass(), "EditUI");
    EXPECT_EQ(edit->GetInterface("Edit"), edit);
    EXPECT_EQ(edit->GetMaxChar(), 255u);
    EXPECT_EQ(edit->GetPasswordChar(), '*');
    EXPECT_EQ(edit->GetBkColor(), 0xFFFFFFFFu);
    EXPECT_EQ(edit->GetNativeBkColor(), 0xFFFFFFFFu);
    EXPECT_EQ(edit->GetTextPadding().left + edit->GetTextPadding().top, 7);
    EXPECT_EQ(edit->GetControlFlags(), static_cast<UINT>(ControlFlagTabStop | ControlFlagSetCursor));
    const SIZE size = edit->EstimateSize(SIZE{200, 200});
    EXPECT_EQ(size.cx, 80);
    EXPECT_EQ(size.cy, w.window.Manager().GetDefaultFontInfo().tmHeight + 6);
    edit->SetEnabled(false);
    EXPECT_EQ(edit->GetControlFlags(), 0u);
    EXPECT_EQ(edit->GetState(), 0u);
}

TEST(Edit, FocusOpensTheNativeWindowOverTheText) {
    auto* edit = Make<CEditUI>("height=\"40\" text=\"hello\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    char className[32] = {};
    ::GetClassNameA(native, className, sizeof(className));
    EXPECT_STREQ(className, "EditWnd");
    EXPECT_EQ(::GetParent(native), w.window.GetHWND());
    EXPECT_EQ(WindowText(native), "hello");
    EXPECT_EQ(::GetFocus(), native);
    EXPECT_NE(StyleOf(native) & ES_AUTOHSCROLL, 0u);
    EXPECT_EQ(StyleOf(native) & (ES_PASSWORD | ES_NUMBER | ES_READONLY), 0u);
    // A band of the font's height, centred in the control less its padding.
    const int textHeight = w.window.Manager().GetDefaultFontInfo().tmHeight;
    const RECT place = PlaceOf(native);
    EXPECT_EQ(place.left, 4);
    EXPECT_EQ(place.right, 196);
    EXPECT_EQ(place.bottom - place.top, textHeight);
    EXPECT_EQ(place.top, 3 + (34 - textHeight) / 2);
    EXPECT_EQ(OfTypes(w.window.notifications, {"textchanged"}).size(), 0u);
}

TEST(Edit, MaxCharFourRefusesAFifthTypedCharacter) {
    auto* edit = Make<CEditUI>("name=\"e\" height=\"30\" maxchar=\"4\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    Type(edit->GetNativeWindow(), "abcde");
    EXPECT_EQ(WindowText(edit->GetNativeWindow()), "abcd");
    EXPECT_EQ(edit->GetText(), "abcd");
    // Wine's edit reports a change for the refused character too; the text
    // it copies is the same.
    const std::vector<std::string> sent = w.Sent();
    EXPECT_GE(sent.size(), 4u);
    for (const std::string& line : sent) EXPECT_EQ(line, "textchanged e 0 0");
}

TEST(Edit, PastedTextLongerThanTheLimitIsCutAtTheLimit) {
    auto* edit = Make<CEditUI>("height=\"30\" maxchar=\"4\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    ASSERT_TRUE(PutOnClipboard(w.window.GetHWND(), "0123456789"));
    ::SendMessageA(edit->GetNativeWindow(), WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(edit->GetNativeWindow()), "0123");
    EXPECT_EQ(edit->GetText(), "0123");
    // A limit raised while the window is open applies at once.
    edit->SetMaxChar(6);
    ::SendMessageA(edit->GetNativeWindow(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->GetText(), "012301");
}

TEST(Edit, SetTextLongerThanTheLimitIsKeptWhole) {
    auto* edit = Make<CEditUI>("name=\"e\" height=\"30\" maxchar=\"4\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetText("0123456789");
    EXPECT_EQ(edit->GetText(), "0123456789");
    edit->SetFocus();
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    EXPECT_EQ(WindowText(edit->GetNativeWindow()), "0123456789");
    edit->SetText("abcdefgh");
    EXPECT_EQ(WindowText(edit->GetNativeWindow()), "abcdefgh");
    EXPECT_EQ(edit->GetText(), "abcdefgh");
    // Typing past the limit adds nothing.
    ::SendMessageA(edit->GetNativeWindow(), EM_SETSEL, 8, 8);
    Type(edit->GetNativeWindow(), "x");
    EXPECT_EQ(edit->GetText(), "abcdefgh");
}

TEST(Edit, ReturnSendsReturnAndTypingSendsTextChanged) {
    auto* edit = Make<CEditUI>("name=\"e\" height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    Type(edit->GetNativeWindow(), "z");
    ::SendMessageA(edit->GetNativeWindow(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(w.Sent(), (std::vector<std::string>{"textchanged e 0 0", "return e 0 0"}));
    EXPECT_EQ(edit->GetText(), "z");
}

TEST(Edit, NumberOnlyOnThenOffLeavesTheNormalStyles) {
    auto* edit = Make<CEditUI>("height=\"30\" numberonly=\"true\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    EXPECT_TRUE(edit->IsNumberOnly());
    edit->SetAttribute("numberonly", "false");
    EXPECT_EQ(edit->GetNativeStyles(), 0u);
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(StyleOf(native) & ES_NUMBER, 0u);
    // While the window is open the style follows too.
    edit->SetAttribute("numberonly", "true");
    EXPECT_NE(StyleOf(native) & ES_NUMBER, 0u);
    Type(native, "4x2");
    EXPECT_EQ(edit->GetText(), "42");
    edit->SetAttribute("numberonly", "false");
    EXPECT_EQ(StyleOf(native) & ES_NUMBER, 0u);
    EXPECT_NE(StyleOf(native) & ES_AUTOHSCROLL, 0u);
}

TEST(Edit, ReadOnlyAppliesToTheOpenWindow) {
    auto* edit = Make<CEditUI>("height=\"30\" readonly=\"true\" text=\"fixed\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(StyleOf(native) & ES_READONLY, 0u);
    Type(native, "x");
    EXPECT_EQ(edit->GetText(), "fixed");
    edit->SetReadOnly(false);
    EXPECT_EQ(StyleOf(native) & ES_READONLY, 0u);
}

TEST(Edit, PasswordModeOpensAMaskedWindow) {
    auto* edit = Make<CEditUI>("height=\"30\" password=\"true\" text=\"abc\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetPasswordChar('#');
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(StyleOf(native) & ES_PASSWORD, 0u);
    EXPECT_EQ(::SendMessageA(native, EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(WindowText(native), "abc");
}

TEST(Edit, PasswordPaintsTheMaskCharacterForEachCharacter) {
    auto* secret = Make<CEditUI>("height=\"30\" password=\"true\" text=\"W中W\"");
    auto* masked = Make<CEditUI>("height=\"30\" text=\"***\"");
    auto* plain = Make<CEditUI>("height=\"30\" text=\"W中W\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({secret, masked, plain}));
    PixelSurface s(200, 120);
    PrintClient(w.window.GetHWND(), s);
    int sameAsMasked = 0;
    int sameAsPlain = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            sameAsMasked += s.At(x, y) == s.At(x, y + 30) ? 1 : 0;
            sameAsPlain += s.At(x, y) == s.At(x, y + 60) ? 1 : 0;
        }
    }
    EXPECT_EQ(sameAsMasked, 200 * 30);
    EXPECT_LT(sameAsPlain, 200 * 30);
    EXPECT_GT(CountNotColour(s, secret->GetPos(), 0xFFFFFF), 0);
}

TEST(Edit, NativeBackgroundColourAnswersOneBrushOfThatColour) {
    auto* coloured = Make<CEditUI>("height=\"30\" nativebkcolor=\"#FF102030\" textcolor=\"#FF0000FF\"");
    auto* plain = Make<CEditUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({coloured, plain}));
    HDC dc = ::GetDC(w.window.GetHWND());
    plain->SetFocus();
    ASSERT_NE(plain->GetNativeWindow(), nullptr);
    LRESULT result = 0;
    EXPECT_FALSE(w.window.Manager().MessageHandler(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(plain->GetNativeWindow()), result));
    coloured->SetFocus();
    const HWND native = coloured->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    ASSERT_TRUE(w.window.Manager().MessageHandler(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(native), result));
    const auto brush = reinterpret_cast<HBRUSH>(result);
    LOGBRUSH description{};
    ASSERT_NE(::GetObjectA(brush, sizeof(description), &description), 0);
    EXPECT_EQ(description.lbColor, RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0xFF));
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    LRESULT again = 0;
    ASSERT_TRUE(w.window.Manager().MessageHandler(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(native), again));
    EXPECT_EQ(again, result);
    ::ReleaseDC(w.window.GetHWND(), dc);
}

TEST(Edit, FocusLostToAnotherWindowClosesTheWindowAndComingBackOpensIt) {
    auto* edit = Make<CEditUI>("height=\"30\"");
    auto* other = Make<CEditUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit, other}));
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    // Another window (a message box, another program) takes the focus.
    const HWND elsewhere = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 300, 300, 50, 50, nullptr,
                                             nullptr, nullptr, nullptr);
    ASSERT_NE(elsewhere, nullptr);
    ::SetFocus(elsewhere);
    EXPECT_TRUE(TestWindow::PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }, 2000));
    EXPECT_FALSE(::IsWindow(native));
    // The control kept the manager's focus: when the window has the focus
    // back, a native window opens again and takes the typing.
    EXPECT_EQ(w.window.Manager().GetFocus(), edit);
    ::DestroyWindow(elsewhere);
    ::SetFocus(w.window.GetHWND());
    TestWindow::Pump();
    const HWND reopened = edit->GetNativeWindow();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(::GetFocus(), reopened);
    // The focus moves on to another edit: that one opens, the first closes.
    other->SetFocus();
    ASSERT_NE(other->GetNativeWindow(), nullptr);
    EXPECT_TRUE(TestWindow::PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }, 2000));
    EXPECT_FALSE(::IsWindow(reopened));
    EXPECT_NE(other->GetNativeWindow(), nullptr);
}

TEST(Edit, HidingTheEditClosesItsWindow) {
    auto* edit = Make<CEditUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    edit->SetVisible(false);
    EXPECT_EQ(w.window.Manager().GetFocus(), nullptr);
    EXPECT_TRUE(TestWindow::PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }, 2000));
}

TEST(Edit, DisablingWhileTypedInClosesItsWindowAndDropsTheFocus) {
    auto* edit = Make<CEditUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    edit->SetEnabled(false);
    EXPECT_EQ(w.window.Manager().GetFocus(), nullptr);
    EXPECT_TRUE(TestWindow::PumpUntil([&] { return !::IsWindow(native); }, 2000));
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
}

TEST(Edit, FocusedAgainBeforeItsWindowClosedKeepsAWindowToTypeIn) {
    auto* edit = Make<CEditUI>("height=\"30\"");
    auto* other = Make<CControlUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit, other}));
    edit->SetFocus();
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    other->SetFocus();  // the native window loses the focus and posts its close
    edit->SetFocus();
    TestWindow::Pump();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(::GetFocus(), native);
    Type(native, "ab");
    EXPECT_EQ(edit->GetText(), "ab");
}

TEST(Edit, DestroyedWhileItsWindowIsOpenTakesTheWindowAlong) {
    auto* edit = Make<CEditUI>("height=\"30\"");
    auto* button = Make<CEditUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit, button}));
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    w.root->SetDelayedDestroy(false);
    ASSERT_TRUE(w.root->Remove(edit));  // destroyed at once
    EXPECT_FALSE(::IsWindow(native));
    // Messages still queued for the window (its close) find nothing to touch.
    TestWindow::Pump();
    w.window.Paint();
    button->SetFocus();
    EXPECT_NE(button->GetNativeWindow(), nullptr);
}

TEST(Edit, PressSelectsTheWholeTextAndLayoutMovesTheWindow) {
    auto* edit = Make<CEditUI>("height=\"30\" text=\"select me\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit}));
    edit->SetFocus();
    const HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    ::SendMessageA(native, EM_SETSEL, 2, 2);
    // The edge of the control outside the native window.
    w.window.ButtonDown(1, 1);
    w.window.ButtonUp(1, 1);
    DWORD from = 0;
    DWORD to = 0;
    ::SendMessageA(native, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 9u);
    edit->SetPos(RECT{10, 40, 110, 80});
    EXPECT_TRUE(SameRect(PlaceOf(native), CEditWnd::NativeRect(*edit)));
    // The press beside the native window left it open, with the typing.
    TestWindow::Pump();
    EXPECT_EQ(edit->GetNativeWindow(), native);
    EXPECT_EQ(::GetFocus(), native);
}

TEST(Edit, OpeningAndClosingTheWindowRepeatedlyLeavesNoGdiObjectsOrHandles) {
    auto* edit = Make<CEditUI>("height=\"30\" nativebkcolor=\"#FFFFF0C0\" text=\"cycle\"");
    auto* other = Make<CEditUI>("height=\"30\"");
    EditWindow w;
    ASSERT_TRUE(w.Open({edit, other}));
    const auto cycle = [&] {
        edit->SetFocus();
        ::RedrawWindow(edit->GetNativeWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // colours asked
        other->SetFocus();
        TestWindow::PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }, 2000);
    };
    for (int i = 0; i < 3; ++i) cycle();
    const int gdiBefore = CountGdiObjects();
    const int handlesBefore = CountHandles();
    for (int i = 0; i < 100; ++i) cycle();
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
    // A leak of one cycle would show a hundred times over. The system's edit
    // control may make a few objects of its own once, late on a busy
    // machine (two of each, seen once in a 32-bit run beside another).
    EXPECT_LE(CountGdiObjects() - gdiBefore, 4);
    EXPECT_LE(CountHandles() - handlesBefore, 4);
}

// VelmoraConfig.exe seen and driven from this process only as a screen
// reader or an automation tool sees it (MSAA): controls found by name and
// role, pressed by their default action against the simulated radio, the
// outcome and the values read by name, the window's events heard through a
// WinEvent hook. The accessible tree of the main window is compared with the
// dumps kept in access/ beside this file.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "testkit/ProgramDriver.h"
#include "testkit/SimProcess.h"
#include "platform/Wide.h"

namespace {

using Microsoft::WRL::ComPtr;

VARIANT Self() {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

// The text a call gave back (taking the string), "" when it failed.
std::string Text(IAccessible* a, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), VARIANT child) {
    BSTR text = nullptr;
    const HRESULT hr = (a->*get)(child, &text);
    std::string utf8 = SUCCEEDED(hr) && text != nullptr ? Text::Narrow(std::wstring(text, ::SysStringLen(text))) : "";
    ::SysFreeString(text);
    return utf8;
}
std::string Name(IAccessible* a) { return Text(a, &IAccessible::get_accName, Self()); }
std::string Value(IAccessible* a) { return Text(a, &IAccessible::get_accValue, Self()); }
long Role(IAccessible* a) {
    VARIANT v;
    ::VariantInit(&v);
    return SUCCEEDED(a->get_accRole(Self(), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}
long State(IAccessible* a) {
    VARIANT v;
    ::VariantInit(&v);
    return SUCCEEDED(a->get_accState(Self(), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

std::vector<ComPtr<IAccessible>> Children(IAccessible* a) {
    std::vector<ComPtr<IAccessible>> children;
    long count = 0;
    if (FAILED(a->get_accChildCount(&count))) return children;
    for (long i = 1; i <= count; ++i) {
        VARIANT id;
        ::VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = i;
        ComPtr<IDispatch> dispatch;
        ComPtr<IAccessible> child;
        if (a->get_accChild(id, &dispatch) == S_OK && SUCCEEDED(dispatch.As(&child))) children.push_back(child);
    }
    return children;
}

// Depth first, the first object with that name and role; null if none.
ComPtr<IAccessible> Find(IAccessible* a, const std::string& name, long role) {
    if (Name(a) == name && Role(a) == role) return a;
    for (const ComPtr<IAccessible>& child : Children(a))
        if (ComPtr<IAccessible> found = Find(child.Get(), name, role)) return found;
    return nullptr;
}
ComPtr<IAccessible> FindRole(IAccessible* a, long role) {
    if (Role(a) == role) return a;
    for (const ComPtr<IAccessible>& child : Children(a))
        if (ComPtr<IAccessible> found = FindRole(child.Get(), role)) return found;
    return nullptr;
}

// The roles of the main window, named in one language whatever the system's.
std::string RoleName(long role) {
    const std::pair<long, const char*> names[] = {
        {ROLE_SYSTEM_CLIENT, "client"},      {ROLE_SYSTEM_TITLEBAR, "title bar"},
        {ROLE_SYSTEM_MENUBAR, "menu bar"},   {ROLE_SYSTEM_MENUITEM, "menu item"},
        {ROLE_SYSTEM_GROUPING, "grouping"},  {ROLE_SYSTEM_STATICTEXT, "text"},
        {ROLE_SYSTEM_TEXT, "editable text"}, {ROLE_SYSTEM_COMBOBOX, "combo box"},
        {ROLE_SYSTEM_PUSHBUTTON, "button"},  {ROLE_SYSTEM_STATUSBAR, "status bar"},
        {ROLE_SYSTEM_GRAPHIC, "graphic"},    {ROLE_SYSTEM_PROGRESSBAR, "progress bar"}};
    for (const auto& [value, name] : names)
        if (value == role) return name;
    return "role " + std::to_string(role);
}

// One line per object: its role, name and states, indented by depth. A
// combo's items are left out: the port list is the machine's.
void Dump(IAccessible* a, int depth, std::string& out) {
    out += std::string(static_cast<size_t>(depth) * 2, ' ') + RoleName(Role(a)) + " \"" + Name(a) + "\"";
    const long state = State(a);
    const std::pair<long, const char*> names[] = {
        {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_FOCUSABLE, "focusable"},
        {STATE_SYSTEM_CHECKED, "checked"},         {STATE_SYSTEM_COLLAPSED, "collapsed"},
        {STATE_SYSTEM_EXPANDED, "expanded"},       {STATE_SYSTEM_PROTECTED, "protected"}};
    for (const auto& [bit, text] : names)
        if ((state & bit) != 0) out += std::string(" ") + text;
    out += "\n";
    if (Role(a) == ROLE_SYSTEM_COMBOBOX) return;
    for (const ComPtr<IAccessible>& child : Children(a)) Dump(child.Get(), depth + 1, out);
}

// Waits like WaitFor, but handles this thread's messages meanwhile: the
// hook's events arrive as messages.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    return true;
}

// What the hook heard: event, name and value of the object it named.
struct Heard {
    DWORD event;
    std::string name, value;
};
std::vector<Heard>& HeardEvents() {
    static std::vector<Heard> heard;
    return heard;
}
HWND g_heardWindow = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND wnd, LONG object, LONG child, DWORD, DWORD) {
    if (wnd != g_heardWindow || object != OBJID_CLIENT) return;
    ComPtr<IAccessible> a;
    VARIANT id;
    ::VariantInit(&id);
    if (FAILED(::AccessibleObjectFromEvent(wnd, object, child, &a, &id)) || a == nullptr) return;
    HeardEvents().push_back(
        Heard{event, Text(a.Get(), &IAccessible::get_accName, id), Text(a.Get(), &IAccessible::get_accValue, id)});
}

class ProgramAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        sim = std::make_unique<SimProcess>(TestComPort(0), "");
        ASSERT_TRUE(sim->Started());
        const int position = ProgramDriver::PortPosition(TestComPort(0));
        ASSERT_GE(position, 0);
        ProgramDriver::WriteSettings(position, -1, 1);
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(program.Window(), static_cast<DWORD>(OBJID_CLIENT),
                                                           __uuidof(IAccessible), &root)));
        ASSERT_TRUE(root != nullptr);
    }
    void TearDown() override {
        root.Reset();
        program.Key(VK_ESCAPE);
        program.WaitForExit(8000);
        ::CoUninitialize();
    }
    // Presses the button of that name and waits for the strip to say
    // `outcome`; what the strip says then.
    std::string Press(const std::string& name, const std::string& outcome) {
        const ComPtr<IAccessible> strip = FindRole(root.Get(), ROLE_SYSTEM_STATUSBAR);
        const ComPtr<IAccessible> button = Find(root.Get(), name, ROLE_SYSTEM_PUSHBUTTON);
        if (strip == nullptr || button == nullptr) return "(not found: " + name + ")";
        if (FAILED(button->accDoDefaultAction(Self()))) return "(refused: " + name + ")";
        PumpUntil([&] { return Name(strip.Get()) == outcome; }, 15000);
        return Name(strip.Get());
    }
    // The tree against access/<name>; the actual dump is left beside this
    // test program when they differ.
    void ExpectTree(const std::string& name) {
        std::string actual;
        Dump(root.Get(), 0, actual);
        // The title's version is the build's, not the tree's.
        actual = std::regex_replace(actual, std::regex("-V[0-9.]+\""), "-V<version>\"");
        const std::string expected = SimProcess::ReadFile(std::string(VELMORA_ACCESS_DUMPS) + "/" + name);
        if (actual == expected) return;
        SimProcess::WriteFile(SimProcess::UnixPathFor(TestComPort(0), name), actual);
        ADD_FAILURE() << "the accessible tree differs from access/" << name << "; it is now:\n" << actual;
    }
    std::unique_ptr<SimProcess> sim;
    ProgramDriver program;
    ComPtr<IAccessible> root;
};

// The technician's first steps in both languages, by names alone.
TEST_F(ProgramAccessTest, ConnectAndReadByName_InBothLanguages) {
    ExpectTree("main-zh.txt");
    // The serial number stays locked: it cannot take the focus.
    const ComPtr<IAccessible> serial = Find(root.Get(), "序列号:", ROLE_SYSTEM_TEXT);
    ASSERT_TRUE(serial != nullptr);
    EXPECT_EQ(E_FAIL, serial->accSelect(SELFLAG_TAKEFOCUS, Self()));

    const ComPtr<IAccessible> read = Find(root.Get(), "读取", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_TRUE(read != nullptr);
    EXPECT_EQ("连接成功", Press("连接", "连接成功"));
    EXPECT_EQ("读取成功", Press("读取", "读取成功"));
    const ComPtr<IAccessible> first = Find(root.Get(), "频道1:", ROLE_SYSTEM_TEXT);
    ASSERT_TRUE(first != nullptr);
    EXPECT_EQ("415.50000", Value(first.Get()));

    // A combo opened by its default action shows its items, one of which is
    // chosen by its own.
    const ComPtr<IAccessible> bandwidth = Find(root.Get(), "带宽:", ROLE_SYSTEM_COMBOBOX);
    ASSERT_TRUE(bandwidth != nullptr);
    const std::string other = Value(bandwidth.Get()) == " 25.0K" ? " 12.5K" : " 25.0K";
    const ComPtr<IAccessible> item = Find(bandwidth.Get(), other, ROLE_SYSTEM_LISTITEM);
    ASSERT_TRUE(item != nullptr);
    EXPECT_TRUE((State(item.Get()) & STATE_SYSTEM_INVISIBLE) != 0);
    ASSERT_EQ(S_OK, bandwidth->accDoDefaultAction(Self()));
    ASSERT_TRUE(PumpUntil([&] { return (State(item.Get()) & STATE_SYSTEM_INVISIBLE) == 0; }, 5000));
    ASSERT_EQ(S_OK, item->accDoDefaultAction(Self()));
    EXPECT_TRUE(PumpUntil([&] { return Value(bandwidth.Get()) == other; }, 5000)) << Value(bandwidth.Get());
    EXPECT_TRUE(PumpUntil([&] { return (State(bandwidth.Get()) & STATE_SYSTEM_COLLAPSED) != 0; }, 5000));

    // The language by its menu: the header opens its panel, whose item is
    // then seen and pressed. Objects held meanwhile follow the language.
    const ComPtr<IAccessible> header = Find(root.Get(), "语言", ROLE_SYSTEM_MENUITEM);
    ASSERT_TRUE(header != nullptr);
    ASSERT_EQ(S_OK, header->accDoDefaultAction(Self()));
    ComPtr<IAccessible> english;
    ASSERT_TRUE(PumpUntil([&] { return (english = Find(root.Get(), "英语", ROLE_SYSTEM_MENUITEM)) != nullptr; }, 5000));
    ASSERT_EQ(S_OK, english->accDoDefaultAction(Self()));
    EXPECT_TRUE(PumpUntil([&] { return Name(read.Get()) == "Read"; }, 5000)) << Name(read.Get());
    program.MouseMove(300, 20);
    ExpectTree("main-en.txt");

    EXPECT_EQ("Disconnect Success", Press("Disconnect", "Disconnect Success"));
    EXPECT_EQ("Connect Success", Press("Connect", "Connect Success"));
    EXPECT_EQ("Read Success", Press("Read", "Read Success"));
    const ComPtr<IAccessible> firstEnglish = Find(root.Get(), "Channel1:", ROLE_SYSTEM_TEXT);
    ASSERT_TRUE(firstEnglish != nullptr);
    EXPECT_EQ("415.50000", Value(firstEnglish.Get()));
}

// A client listening to the window hears the focus move and the values a
// Read brings, and can ask the objects the events name.
TEST_F(ProgramAccessTest, WinEventHook_HearsFocusAndValues) {
    g_heardWindow = program.Window();
    HeardEvents().clear();
    DWORD process = 0;
    ::GetWindowThreadProcessId(program.Window(), &process);
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent,
                                                 process, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook != nullptr);
    const auto heard = [](DWORD event, const std::string& name, const std::string& value) {
        for (const Heard& h : HeardEvents())
            if (h.event == event && h.name == name && (value.empty() || h.value == value)) return true;
        return false;
    };
    const ComPtr<IAccessible> protocol = Find(root.Get(), "协议类型:", ROLE_SYSTEM_COMBOBOX);
    ASSERT_TRUE(protocol != nullptr);
    EXPECT_EQ(S_OK, protocol->accSelect(SELFLAG_TAKEFOCUS, Self()));
    EXPECT_TRUE(PumpUntil([&] { return heard(EVENT_OBJECT_FOCUS, "协议类型:", ""); }, 5000));
    EXPECT_TRUE((State(protocol.Get()) & STATE_SYSTEM_FOCUSED) != 0);

    EXPECT_EQ("连接成功", Press("连接", "连接成功"));
    EXPECT_EQ("读取成功", Press("读取", "读取成功"));
    EXPECT_TRUE(PumpUntil([&] { return heard(EVENT_OBJECT_VALUECHANGE, "频道1:", "415.50000"); }, 5000));
    // The strip's new text is a name change of the status bar.
    EXPECT_TRUE(heard(EVENT_OBJECT_NAMECHANGE, "读取成功", ""));
    ::UnhookWinEvent(hook);

    // A menu opened by its header's default action and closed by Escape.
    const HWINEVENTHOOK menus = ::SetWinEventHook(EVENT_SYSTEM_MENUSTART, EVENT_SYSTEM_MENUPOPUPEND, nullptr,
                                                  OnWinEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(menus != nullptr);
    const ComPtr<IAccessible> header = Find(root.Get(), "帮助", ROLE_SYSTEM_MENUITEM);
    ASSERT_TRUE(header != nullptr);
    ASSERT_EQ(S_OK, header->accDoDefaultAction(Self()));
    EXPECT_TRUE(PumpUntil(
        [&] { return heard(EVENT_SYSTEM_MENUSTART, "", "") && heard(EVENT_SYSTEM_MENUPOPUPSTART, "", ""); }, 5000));
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil(
        [&] { return heard(EVENT_SYSTEM_MENUPOPUPEND, "", "") && heard(EVENT_SYSTEM_MENUEND, "", ""); }, 5000));
    ::UnhookWinEvent(menus);
}

}  // namespace

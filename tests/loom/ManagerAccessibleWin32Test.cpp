// What screen readers and automation tools see of a window (MSAA), asked
// the way they ask: AccessibleObjectFromWindow, then the tree.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <string>

#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/ComboUI.h"
#include "Loom/Control/ListLabelElementUI.h"
#include "Loom/Control/EditUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Control/OptionUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "platform/Wide.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using LoomTest::TestWindow;

namespace {

VARIANT Child(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Take(BSTR text) {
    const std::string value = text != nullptr ? Text::Narrow(std::wstring_view(text, ::SysStringLen(text))) : "";
    ::SysFreeString(text);
    return value;
}

// One line per visible child: name, role, state, value, default action.
std::string Line(IAccessible* object, long id) {
    BSTR name = nullptr, value = nullptr, action = nullptr;
    VARIANT role, state;
    object->get_accName(Child(id), &name);
    object->get_accValue(Child(id), &value);
    object->get_accDefaultAction(Child(id), &action);
    object->get_accRole(Child(id), &role);
    object->get_accState(Child(id), &state);
    return Take(name) + "|" + std::to_string(role.lVal) + "|" + std::to_string(state.lVal) + "|" + Take(value) + "|" +
           Take(action);
}

class AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        root = new CVerticalLayoutUI;
        auto add = [this](CControlUI* control, const char* name, const char* text) {
            control->SetName(name);
            control->SetText(text);
            control->SetFixedHeight(30);
            root->Add(control);
            return control;
        };
        CControlUI* caption = add(new CLabelUI, "label", "Port:");
        connect = add(new CButtonUI, "connect", "Connect");
        add(new CButtonUI, "read", "Read")->SetEnabled(false);
        add(new CEditUI, "edit", "433.125")->SetAccessibleLabel(caption);
        add(new CButtonUI, "hidden", "Hidden")->SetVisible(false);
        add(new COptionUI, "unlock", "Unlock");
        ASSERT_TRUE(window.Open(200, 220, root));
        window.Paint();
        connect->SetFocus();
        ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(window.GetHWND(), static_cast<DWORD>(OBJID_CLIENT),
                                                     __uuidof(IAccessible), reinterpret_cast<void**>(&client)));
    }
    void TearDown() override {
        if (client != nullptr) client->Release();
        ::CoUninitialize();
    }
    IAccessible* ChildObject(long id) {
        IDispatch* dispatch = nullptr;
        if (client->get_accChild(Child(id), &dispatch) != S_OK) return nullptr;
        IAccessible* object = nullptr;
        dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
        dispatch->Release();
        return object;
    }

    TestWindow window;
    CVerticalLayoutUI* root = nullptr;
    CControlUI* connect = nullptr;
    IAccessible* client = nullptr;
};

// Hidden controls are not there; each visible one says what it is; the ids
// a client may try outside the children are refused.
TEST_F(AccessibleTest, TheTreeShowsEveryVisibleControlWithItsNameRoleAndState) {
    long count = 0;
    ASSERT_EQ(S_OK, client->get_accChildCount(&count));
    ASSERT_EQ(5, count);
    VARIANT role;
    ASSERT_EQ(S_OK, client->get_accRole(Child(CHILDID_SELF), &role));
    EXPECT_EQ(ROLE_SYSTEM_CLIENT, role.lVal);
    std::string dump;
    for (long id = 1; id <= count; ++id) dump += Line(client, id) + "\n";
    const std::string focusable = std::to_string(STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ("Port:|" + std::to_string(ROLE_SYSTEM_STATICTEXT) + "|0||\n" + "Connect|" +
                  std::to_string(ROLE_SYSTEM_PUSHBUTTON) + "|" +
                  std::to_string(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED) + "||Press\n" + "Read|" +
                  std::to_string(ROLE_SYSTEM_PUSHBUTTON) + "|" + std::to_string(STATE_SYSTEM_UNAVAILABLE) +
                  "||Press\n" + "Port:|" + std::to_string(ROLE_SYSTEM_TEXT) + "|" + focusable + "|433.125|\n" +
                  "Unlock|" + std::to_string(ROLE_SYSTEM_CHECKBUTTON) + "|" + focusable + "||Check\n",
              dump);
    // The edit is named by its caption, whatever the caption says now.
    root->GetItemAt(0)->SetText("端口:");
    EXPECT_EQ(0u, Line(client, 4).find("端口:|")) << Line(client, 4);
    BSTR name = nullptr;
    for (long id : {LONG_MIN, -2000000000L, 6L, 100L})
        EXPECT_EQ(E_INVALIDARG, client->get_accName(Child(id), &name)) << id;
    // A name past every buffer is cut before the character that would pass
    // 1024 bytes; bytes that are no UTF-8 arrive as replacement characters.
    root->GetItemAt(1)->SetAccessibleName(std::string(1022, 'a') + "频");
    ASSERT_EQ(S_OK, client->get_accName(Child(2), &name));
    EXPECT_EQ(1022u, ::SysStringLen(name));
    ::SysFreeString(name);
    root->GetItemAt(1)->SetAccessibleName("\xff\xfe");
    ASSERT_EQ(S_OK, client->get_accName(Child(2), &name));
    EXPECT_STREQ(L"\xfffd\xfffd", name);
    ::SysFreeString(name);
    // Events name a control by minus its id, hidden ones too.
    ASSERT_EQ(S_OK, client->get_accName(Child(-root->GetItemAt(4)->GetAccessibleId()), &name));
    EXPECT_STREQ(L"Hidden", name);
    ::SysFreeString(name);
    IDispatch* none = nullptr;
    EXPECT_EQ(E_INVALIDARG, client->get_accChild(Child(CHILDID_SELF), &none));
}

// A combo's items are its children, as a native combo's are: listed but
// invisible while it is closed; its value is the item shown.
TEST_F(AccessibleTest, AClosedCombosItemsAreInvisibleChildren) {
    auto* combo = new CComboUI;
    for (const char* text : {"9600", "19200"}) {
        auto* item = new CListLabelElementUI;
        item->SetText(text);
        combo->Add(item);
    }
    root->Add(combo);
    combo->SelectItem(1);
    window.Paint();
    IAccessible* object = ChildObject(6);
    ASSERT_NE(nullptr, object);
    long count = 0;
    ASSERT_EQ(S_OK, object->get_accChildCount(&count));
    EXPECT_EQ(2, count);
    EXPECT_EQ("19200|" + std::to_string(ROLE_SYSTEM_LISTITEM) + "|" +
                  std::to_string(STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED) + "||Select",
              Line(object, 2));
    EXPECT_EQ(E_FAIL, object->accDoDefaultAction(Child(1))) << "no pressing what cannot be seen";
    BSTR value = nullptr;
    ASSERT_EQ(S_OK, object->get_accValue(Child(CHILDID_SELF), &value));
    EXPECT_STREQ(L"19200", value);
    ::SysFreeString(value);
    object->Release();
}

// Locations are in screen pixels; a hit test finds the control under them,
// and the neighbours of a child are found by navigation.
TEST_F(AccessibleTest, LocationHitTestAndNavigationAgree) {
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(S_OK, client->accLocation(&left, &top, &width, &height, Child(2)));
    POINT corner{connect->GetPos().left, connect->GetPos().top};
    ::ClientToScreen(window.GetHWND(), &corner);
    EXPECT_EQ(corner.x, left);
    EXPECT_EQ(corner.y, top);
    EXPECT_EQ(30, height);
    VARIANT hit;
    ASSERT_EQ(S_OK, client->accHitTest(left + width / 2, top + height / 2, &hit));
    ASSERT_EQ(VT_DISPATCH, hit.vt);
    IAccessible* found = nullptr;
    hit.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&found));
    hit.pdispVal->Release();
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(0u, Line(found, CHILDID_SELF).find("Connect|"));
    found->Release();
    EXPECT_EQ(S_FALSE, client->accHitTest(left - 500, top - 500, &hit)) << "outside the window";

    VARIANT next;
    ASSERT_EQ(S_OK, client->accNavigate(NAVDIR_NEXT, Child(2), &next));
    EXPECT_EQ(3, next.lVal);
    EXPECT_EQ(S_FALSE, client->accNavigate(NAVDIR_NEXT, Child(5), &next));
}

// The default action is a click, run after the call has returned; a
// disabled button refuses it and nothing runs.
TEST_F(AccessibleTest, TheDefaultActionClicksAndADisabledButtonRefusesIt) {
    window.notifications.clear();
    EXPECT_EQ(S_OK, client->accDoDefaultAction(Child(2)));
    EXPECT_EQ(E_FAIL, client->accDoDefaultAction(Child(3)));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, client->accDoDefaultAction(Child(1)));
    TestWindow::Pump();
    int clicks = 0;
    for (const std::string& n : window.notifications) clicks += n.rfind("click ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(1, clicks);
    EXPECT_NE(window.notifications.end(),
              std::find(window.notifications.begin(), window.notifications.end(), "click connect 0 0"));
}

// An object a client keeps after its control has gone answers "gone" and
// touches nothing; so does a default action posted just before it went.
TEST_F(AccessibleTest, AnObjectThatOutlivesItsControlSaysItIsGone) {
    IAccessible* button = ChildObject(2);
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(S_OK, button->accDoDefaultAction(Child(CHILDID_SELF)));
    window.notifications.clear();
    root->RemoveAll();
    TestWindow::Pump();
    BSTR name = nullptr;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, button->get_accName(Child(CHILDID_SELF), &name));
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, button->accLocation(&left, &top, &width, &height, Child(CHILDID_SELF)));
    for (const std::string& n : window.notifications) EXPECT_NE(0u, n.rfind("click ", 0)) << n;
    button->Release();
    long count = -1;
    EXPECT_EQ(S_OK, client->get_accChildCount(&count));
    EXPECT_EQ(0, count);
}

}  // namespace

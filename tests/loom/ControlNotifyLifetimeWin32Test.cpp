// Controls destroyed by the handler of their own notification, at once (the
// container's delayed destroy is off): nothing of the control, of its items
// or of its drop-down may be touched afterwards. Freed memory is poisoned and
// never reused meanwhile, so a use after free crashes or leaves a write in
// the poison.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Loom/Control/CheckBoxUI.h"
#include "Loom/Control/ComboUI.h"
#include "Loom/Control/ListContainerElementUI.h"
#include "Loom/Control/ListLabelElementUI.h"
#include "Loom/Control/ListUI.h"
#include "Loom/Control/OptionUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"
#include "TestHeap.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// A window whose root holds `control` (200 wide, 24 high unless it has a
// height) above a filler. The root destroys at once what it removes, and
// removes the sender of the first notification of the armed type.
struct Scene : INotifyUI {
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    TestWindow w;
    std::string armed;
    bool destroyed = false;

    explicit Scene(CControlUI* control) {
        if (control->GetFixedHeight() == 0) control->SetFixedHeight(24);
        control->SetFixedWidth(200);
        root->Add(control);
        root->Add(new CControlUI);
        root->SetDelayedDestroy(false);
        w.Open(300, 300, root);
        w.Manager().AddNotifier(this);
    }
    void Notify(NotifyMsg& msg) override {
        if (!destroyed && msg.type == armed) destroyed = root->Remove(msg.sender);
    }
    void Click(int x, int y) {
        w.ButtonDown(x, y);
        w.ButtonUp(x, y);
    }
};

CComboUI* MakeCombo() {
    auto* combo = new CComboUI;
    for (int i = 0; i < 3; ++i) {
        combo->Add(new CListLabelElementUI);
        combo->GetItemAt(i)->SetFixedHeight(20);
    }
    return combo;
}

// Runs `act` (which arms the scene) with freed memory poisoned: the
// control must have been destroyed by then, and nothing freed written to.
void ExpectDestroyedCleanly(CControlUI* control, const char* what, const std::function<void(Scene&)>& act) {
    PoisonFreedMemory poison;
    {
        Scene scene(control);
        act(scene);
        TestWindow::Pump();
        EXPECT_TRUE(scene.destroyed) << what;
    }
    EXPECT_EQ(poison.WrittenAfterFree(), 0) << what;
}

}  // namespace

TEST(DestroyedByItsNotification, ComboOnItemSelectByKeyOrDropDownOnOpening) {
    ExpectDestroyedCleanly(MakeCombo(), "key", [](Scene& s) {
        s.armed = "itemselect";
        s.root->GetItemAt(0)->SetFocus();
        s.w.Key(WM_KEYDOWN, VK_DOWN);
    });
    ExpectDestroyedCleanly(MakeCombo(), "opening", [](Scene& s) {
        s.armed = "dropdown";
        s.Click(10, 10);
    });
}

// The combo's drop-down is open; a key, Escape or a click on an item in it
// selects, and the handler destroys the combo (and so the drop-down that is
// handling the message).
TEST(DestroyedByItsNotification, ComboOnItemSelectFromItsOpenDropDown) {
    const auto open = [](Scene& s) -> HWND {
        auto* combo = static_cast<CComboUI*>(s.root->GetItemAt(0));
        combo->SelectItem(0);
        s.Click(10, 10);
        TestWindow::Pump();
        return combo->GetDropDownWindow();
    };
    // Escape brings back the selection of the opening: it must have moved.
    const struct {
        const char* what;
        bool moveFirst;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {"down key", false, WM_KEYDOWN, VK_DOWN, 1},
        {"escape", true, WM_KEYDOWN, VK_ESCAPE, 1},
        {"item click", false, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30)},
    };
    for (const auto& c : cases) {
        ExpectDestroyedCleanly(MakeCombo(), c.what, [&](Scene& s) {
            const HWND popup = open(s);
            ASSERT_NE(popup, nullptr) << c.what;
            if (c.moveFirst) ::SendMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
            s.armed = "itemselect";
            ::SendMessageA(popup, c.message, c.wParam, c.lParam);
            EXPECT_FALSE(::IsWindow(popup)) << c.what;
        });
    }
}

TEST(DestroyedByItsNotification, OptionAndCheckBoxOnTheirClick) {
    auto* grouped = new COptionUI;
    grouped->SetGroup("g");
    const auto click = [](Scene& s) {
        s.armed = "click";
        s.Click(10, 10);
    };
    ExpectDestroyedCleanly(grouped, "option", click);
    ExpectDestroyedCleanly(new CCheckBoxUI, "check box", click);
}

// A list destroyed when a press on one of its items selects it: a label
// element and a container element.
TEST(DestroyedByItsNotification, ListOnItemSelectFromAnItemPress) {
    for (int row : {0, 1}) {
        auto* list = new CListUI;
        list->SetFixedHeight(100);
        auto* label = new CListLabelElementUI;
        label->SetFixedHeight(20);
        list->Add(label);
        auto* container = new CListContainerElementUI;
        container->SetFixedHeight(20);
        list->Add(container);
        ExpectDestroyedCleanly(list, row == 0 ? "label element" : "container element", [row](Scene& s) {
            s.armed = "itemselect";
            s.Click(10, 10 + 20 * row);
        });
    }
}

// The detector the tests above rely on: a write into a freed block shows, a
// freed block left alone does not.
TEST(PoisonFreedMemory, SeesAWriteIntoAFreedBlockAndNothingElse) {
    PoisonFreedMemory poison;
    delete[] new int[4];
    EXPECT_EQ(poison.WrittenAfterFree(), 0);
    int* block = new int[4];
    volatile unsigned char* bytes = reinterpret_cast<unsigned char*>(block);
    delete[] block;
    bytes[5] = 0;
    EXPECT_EQ(poison.WrittenAfterFree(), 1);
}

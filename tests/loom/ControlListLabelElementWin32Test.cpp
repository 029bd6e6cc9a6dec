// List label elements under a recording owner: selection rules, the events
// they send or hand to their owner, their size and how they paint by state.
#include <gtest/gtest.h>

#include <cstring>

#include "Loom/Control/ListLabelElementUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// A vertical layout that owns list items the way a combo or a list does,
// recording what they ask of it.
class RecordingOwner : public CVerticalLayoutUI, public IListOwnerUI {
public:
    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
        return CVerticalLayoutUI::GetInterface(name);
    }
    TListInfoUI* GetListInfo() override { return &info; }
    int GetCurSel() const override { return current; }
    bool SelectItem(int index, bool /*takeFocus*/) override {
        asked.push_back(index);
        if (!accept) return false;
        current = index;
        return true;
    }
    void DoEvent(UIEvent& event) override {
        events.push_back(event.kind);
        CVerticalLayoutUI::DoEvent(event);
    }
    bool Add(CControlUI* control) override {
        auto* item = static_cast<IListItemUI*>(control->GetInterface("ListItem"));
        if (item != nullptr) {
            item->SetOwner(this);
            item->SetIndex(GetCount());
        }
        return CVerticalLayoutUI::Add(control);
    }

    TListInfoUI info;
    int current = -1;
    bool accept = true;
    std::vector<int> asked;
    std::vector<int> events;
};

CListLabelElementUI* Item(const char* name, const char* attributes = "height=\"20\"") {
    auto* item = Make<CListLabelElementUI>(attributes);
    item->SetName(name);
    return item;
}

}  // namespace

TEST(ListLabelElement, AnswersItsInterfacesAndClass) {
    CListLabelElementUI item;
    EXPECT_STREQ(item.GetClass(), "ListLabelElementUI");
    EXPECT_EQ(item.GetInterface("ListItem"), static_cast<IListItemUI*>(&item));
    EXPECT_EQ(item.GetInterface("ListElement"), static_cast<CListElementUI*>(&item));
    EXPECT_EQ(item.GetInterface("ListLabelElement"), &item);
    EXPECT_EQ(item.GetInterface("Control"), static_cast<CControlUI*>(&item));
}

TEST(ListLabelElement, SelectFollowsTheOwnersAnswer) {
    RecordingOwner owner;
    auto* item = Item("a");
    owner.Add(Item("first"));
    owner.Add(item);
    EXPECT_TRUE(item->Select());
    EXPECT_TRUE(item->IsSelected());
    EXPECT_EQ(owner.asked, std::vector<int>{1});
    EXPECT_TRUE(item->Select());  // unchanged: the owner is not asked again
    EXPECT_EQ(owner.asked.size(), 1u);
    EXPECT_TRUE(item->Select(false));
    owner.accept = false;
    EXPECT_FALSE(item->Select());
    EXPECT_FALSE(item->IsSelected());
    item->SetEnabled(false);
    owner.accept = true;
    EXPECT_FALSE(item->Select());
    EXPECT_FALSE(item->IsSelected());
}

TEST(ListLabelElement, HidingTheSelectedItemLeavesTheOwnerWithoutSelection) {
    RecordingOwner owner;
    auto* item = Item("a");
    owner.Add(item);
    item->Select();
    item->SetVisible(false);
    EXPECT_FALSE(item->IsSelected());
    EXPECT_EQ(owner.asked, (std::vector<int>{0, -1}));
    auto* other = Item("b");
    owner.Add(other);
    other->SetVisible(false);  // not selected: the owner is not asked
    EXPECT_EQ(owner.asked.size(), 2u);
}

TEST(ListLabelElement, SelectedAttributeSelectsThroughTheOwner) {
    RecordingOwner owner;
    auto* item = Item("a");
    owner.Add(item);
    item->SetAttribute("selected", "true");
    EXPECT_TRUE(item->IsSelected());
    EXPECT_EQ(owner.current, 0);
}

TEST(ListLabelElement, PressSendsItemClickAndSelectsDoubleClickActivates) {
    auto* owner = new RecordingOwner;
    auto* item = Item("a");
    owner->Add(Item("zero"));
    owner->Add(item);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 60, owner));
    w.ButtonDown(10, 30);
    w.ButtonUp(10, 30);
    EXPECT_TRUE(item->IsSelected());
    EXPECT_EQ(owner->current, 1);
    w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 30));
    w.ButtonUp(10, 30);
    w.Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(w.notifications, (std::vector<std::string>{"windowinit  0 0", "setfocus a 0 0", "itemclick a 0 0",
                                                         "itemactivate a 0 0", "itemactivate a 0 0"}));
}

TEST(ListLabelElement, KeysGoToTheOwnerDisabledItemIgnoresPress) {
    auto* owner = new RecordingOwner;
    auto* item = Item("a");
    owner->Add(item);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 60, owner));
    w.ButtonDown(10, 10);
    w.ButtonUp(10, 10);
    owner->events.clear();
    w.Key(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(owner->events, std::vector<int>{EventKeyDown});
    item->Select(false);
    item->SetEnabled(false);
    w.ButtonDown(10, 10);
    EXPECT_FALSE(item->IsSelected());
    EXPECT_EQ(owner->asked, std::vector<int>{0});
}

TEST(ListLabelElement, HeightFollowsTheItemFontAndPaddingWidthTheText) {
    auto* owner = new RecordingOwner;
    owner->info.textPadding = RECT{3, 2, 5, 4};
    auto* item = Item("a", "text=\"Wide enough text\"");
    auto* fixed = Item("b", "width=\"30\" height=\"17\" text=\"x\"");
    owner->Add(item);
    owner->Add(fixed);
    TestWindow w;
    ASSERT_TRUE(w.Open(200, 60, owner));
    const int fontHeight = w.Manager().GetDefaultFontInfo().tmHeight;
    const SIZE size = item->EstimateSize(SIZE{200, 60});
    EXPECT_EQ(size.cy, fontHeight + 2 + 4 + 8);
    EXPECT_GT(size.cx, 3 + 5 + 40);
    EXPECT_LT(size.cx, 200);
    const SIZE own = fixed->EstimateSize(SIZE{200, 60});
    EXPECT_EQ(own.cx, 30);
    EXPECT_EQ(own.cy, 17);
}

TEST(ListLabelElement, PaintsBackgroundByStateTheLineAndTheText) {
    auto* owner = new RecordingOwner;
    owner->info.bkColor = 0xFF102030;
    owner->info.alternateBk = true;
    owner->info.lineColor = 0xFF00FF00;
    owner->info.textColor = 0xFF0000FF;
    owner->info.textStyle = DT_LEFT | DT_VCENTER;
    owner->Add(Item("even", "height=\"20\" text=\"MMMM\""));
    owner->Add(Item("odd", "height=\"20\""));
    auto* hot = Item("hot", "height=\"20\"");
    auto* selected = Item("selected", "height=\"20\"");
    auto* disabled = Item("disabled", "height=\"20\" enabled=\"false\"");
    owner->Add(hot);
    owner->Add(selected);
    owner->Add(disabled);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 100, owner));
    selected->Select();
    w.MouseMove(50, 50);
    PixelSurface s(100, 100);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(s.At(90, 5), 0x102030u);   // even row: item background
    EXPECT_EQ(s.At(90, 25), 0xFFFFFFu);  // odd row of an alternating list: none
    EXPECT_EQ(s.At(90, 45), 0xE9F5FFu);  // hot
    EXPECT_EQ(s.At(90, 65), 0xC1E3FFu);  // selected
    EXPECT_EQ(s.At(90, 85), 0xFFFFFFu);  // disabled
    EXPECT_EQ(s.At(90, 19), 0x00FF00u);  // the line along each bottom edge
    EXPECT_EQ(s.At(90, 79), 0x00FF00u);
    bool textInItemColor = false;
    for (int x = 0; x < 50 && !textInItemColor; ++x) {
        for (int y = 0; y < 20 && !textInItemColor; ++y) textInItemColor = s.At(x, y) == 0x0000FFu;
    }
    EXPECT_TRUE(textInItemColor);
}

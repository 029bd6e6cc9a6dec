// The control model: attributes by the toolkit's value rules, the child list
// of containers, hit testing, listeners, visibility and scrolling.
#include <gtest/gtest.h>

#include <functional>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

CControlUI* AcceptAll(CControlUI* control, void*) { return control; }

CControlUI* CollectAll(CControlUI* control, void* data) {
    static_cast<std::vector<std::string>*>(data)->push_back(control->GetName());
    return nullptr;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Counts and records destroy and init calls.
struct Lifecycle {
    std::vector<std::string> log;
    bool OnInit(void* p) {
        log.push_back("init " + static_cast<CControlUI*>(p)->GetName());
        return true;
    }
    bool OnDestroy(void* p) {
        auto* c = static_cast<CControlUI*>(p);
        auto* box = static_cast<IContainerUI*>(c->GetInterface("IContainer"));
        log.push_back("destroy " + c->GetName() + (box ? " with " + std::to_string(box->GetCount()) : ""));
        return true;
    }
    void Watch(CControlUI* c) {
        c->OnInit += CDelegate::Make(this, &Lifecycle::OnInit);
        c->OnDestroy += CDelegate::Make(this, &Lifecycle::OnDestroy);
    }
};

}  // namespace

TEST(ControlAttributes, PosWithNegativeLeftCountsFromTheRight) {
    CControlUI c;
    c.SetAttribute("pos", "-50,10,-10,30");
    EXPECT_EQ(c.GetFixedXY().cx, -10);
    EXPECT_EQ(c.GetFixedXY().cy, 10);
    EXPECT_EQ(c.GetFixedWidth(), 40);
    EXPECT_EQ(c.GetFixedHeight(), 20);
    c.SetAttribute("pos", "5,-30,25,-6");
    EXPECT_EQ(c.GetFixedXY().cx, 5);
    EXPECT_EQ(c.GetFixedXY().cy, -6);
    EXPECT_EQ(c.GetFixedHeight(), 24);
}

TEST(ControlAttributes, NumberListsSkipExactlyOneCharacterAfterEachNumber) {
    CControlUI c;
    c.SetAttribute("padding", " 1, 2,3x4");
    EXPECT_TRUE(SameRect(c.GetPadding(), RECT{1, 2, 3, 4}));
    c.SetAttribute("padding", "1,,2,3");
    EXPECT_TRUE(SameRect(c.GetPadding(), RECT{1, 0, 2, 3}));
    c.SetAttribute("padding", "7");  // cut short: the rest reads as 0
    EXPECT_TRUE(SameRect(c.GetPadding(), RECT{7, 0, 0, 0}));
    c.SetAttribute("padding", "-1;-2;-3;-4");
    EXPECT_TRUE(SameRect(c.GetPadding(), RECT{-1, -2, -3, -4}));
}

TEST(ControlAttributes, BooleansAreTrueOnlyForLowerCaseTrue) {
    CControlUI c;
    c.SetAttribute("visible", "True");
    EXPECT_FALSE(c.IsVisible());
    c.SetAttribute("visible", "true");
    EXPECT_TRUE(c.IsVisible());
    c.SetAttribute("enabled", "1");
    EXPECT_FALSE(c.IsEnabled());
    c.SetAttribute("mouse", "false");
    c.SetAttribute("keyboard", "false");
    c.SetAttribute("float", "true");
    c.SetAttribute("menu", "true");
    EXPECT_FALSE(c.IsMouseEnabled());
    EXPECT_FALSE(c.IsKeyboardEnabled());
    EXPECT_TRUE(c.IsFloat());
    EXPECT_TRUE(c.IsContextMenuUsed());
}

TEST(ControlAttributes, ColoursWithAndWithoutHash) {
    CControlUI c;
    c.SetAttribute("bkcolor", "#FF112233");
    EXPECT_EQ(c.GetBkColor(), 0xFF112233u);
    c.SetAttribute("bkcolor1", "FF445566");
    EXPECT_EQ(c.GetBkColor(), 0xFF445566u);
    c.SetAttribute("bkcolor2", "#12");
    EXPECT_EQ(c.GetBkColor2(), 0x12u);
    c.SetAttribute("bkcolor3", "#1FFFFFFFF");  // more than eight digits saturate
    EXPECT_EQ(c.GetBkColor3(), 0xFFFFFFFFu);
    c.SetAttribute("bordercolor", "#xyz");
    EXPECT_EQ(c.GetBorderColor(), 0u);
    c.SetAttribute("focusbordercolor", "#FF00FF00");
    EXPECT_EQ(c.GetFocusBorderColor(), 0xFF00FF00u);
}

TEST(ControlAttributes, BorderSizeOneNumberOrFourSides) {
    CControlUI c;
    c.SetAttribute("bordersize", "3");
    EXPECT_EQ(c.GetBorderSize(), 3);
    c.SetAttribute("bordersize", "1,2,3,4");
    EXPECT_EQ(c.GetBorderSize(), 3);
    EXPECT_TRUE(SameRect(c.GetSideBorderSizes(), RECT{1, 2, 3, 4}));
    c.SetAttribute("rightbordersize", "9");
    EXPECT_EQ(c.GetSideBorderSizes().right, 9);
    c.SetAttribute("bordersize", "5");
    EXPECT_EQ(c.GetBorderSize(), 5);
    EXPECT_TRUE(SameRect(c.GetSideBorderSizes(), RECT{0, 0, 0, 0}));
    c.SetAttribute("borderstyle", "2");
    c.SetAttribute("borderround", "4,6");
    EXPECT_EQ(c.GetBorderStyle(), 2);
    EXPECT_EQ(c.GetBorderRound().cx, 4);
    EXPECT_EQ(c.GetBorderRound().cy, 6);
}

TEST(ControlAttributes, SizesIgnoreNegativeAndUnchangedValues) {
    CControlUI c;
    c.SetAttribute("width", "30");
    c.SetAttribute("width", "-5");
    EXPECT_EQ(c.GetFixedWidth(), 30);
    c.SetAttribute("minheight", "-1");
    EXPECT_EQ(c.GetMinHeight(), 0);
    c.SetAttribute("maxwidth", "120");
    c.SetAttribute("maxheight", "abc");  // no digits: 0
    EXPECT_EQ(c.GetMaxWidth(), 120);
    EXPECT_EQ(c.GetMaxHeight(), 0);
}

TEST(ControlAttributes, TextsShortcutTooltipAndVirtualWindow) {
    CControlUI c;
    c.SetAttribute("name", "ok");
    c.SetAttribute("text", "OK");
    c.SetAttribute("tooltip", "line one<n>line two");
    c.SetAttribute("userdata", "42");
    c.SetAttribute("shortcut", "xyz");
    c.SetAttribute("virtualwnd", "page");
    c.SetAttribute("relativepos", "10,20,30,40");
    c.SetAttribute("nonsense", "ignored");
    EXPECT_EQ(c.GetName(), "ok");
    EXPECT_EQ(c.GetText(), "OK");
    EXPECT_EQ(c.GetToolTip(), "line one\r\nline two");
    EXPECT_EQ(c.GetUserData(), "42");
    EXPECT_EQ(c.GetShortcut(), 'x');
    EXPECT_EQ(c.GetVirtualWnd(), "page");
    ASSERT_TRUE(c.IsRelativePos());
    EXPECT_EQ(c.GetRelativePos().moveX, 10);
    EXPECT_EQ(c.GetRelativePos().moveY, 20);
    EXPECT_EQ(c.GetRelativePos().zoomX, 30);
    EXPECT_EQ(c.GetRelativePos().zoomY, 40);
    c.SetAttribute("shortcut", "");
    EXPECT_EQ(c.GetShortcut(), '\0');
}

TEST(ControlAttributes, AttributeListStopsAtTheFirstDeviation) {
    CControlUI c;
    c.ApplyAttributeList("name=\"a\" width=\"10\"  height=\"20\"");
    EXPECT_EQ(c.GetName(), "a");
    EXPECT_EQ(c.GetFixedWidth(), 10);
    EXPECT_EQ(c.GetFixedHeight(), 0);
}

TEST(ContainerAttributes, ScrollBarsAreCreatedAndDestroyedSeparately) {
    CVerticalLayoutUI box;
    box.SetAttribute("hscrollbar", "true");
    ASSERT_NE(box.GetHorizontalScrollBar(), nullptr);
    EXPECT_TRUE(box.GetHorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetFixedHeight(), 16);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetFixedWidth(), 0);
    EXPECT_EQ(box.GetVerticalScrollBar(), nullptr);
    box.SetAttribute("vscrollbarstyle", "linesize=\"5\" width=\"12\"");
    ASSERT_NE(box.GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetLineSize(), 5);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetFixedWidth(), 12);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetOwner(), &box);
    box.SetAttribute("hscrollbar", "false");
    EXPECT_EQ(box.GetHorizontalScrollBar(), nullptr);
    EXPECT_NE(box.GetVerticalScrollBar(), nullptr);
    box.SetAttribute("inset", "1,2,3,4");
    box.SetAttribute("childpadding", "6");
    box.SetAttribute("mousechild", "false");
    EXPECT_TRUE(SameRect(box.GetInset(), RECT{1, 2, 3, 4}));
    EXPECT_EQ(box.GetChildPadding(), 6);
    EXPECT_FALSE(box.IsMouseChildEnabled());
}

TEST(ContainerAttributes, NewBarsTakeTheManagersDefaultLists) {
    CUIManager manager;
    manager.AddDefaultAttributeList("VScrollBar", "width=\"11\"");
    manager.AddDefaultAttributeList("HScrollBar", "linesize=\"3\"");
    CContainerUI box;
    box.SetManager(&manager, nullptr, false);
    box.SetAttribute("vscrollbar", "true");
    box.SetAttribute("hscrollbar", "true");
    EXPECT_EQ(box.GetVerticalScrollBar()->GetFixedWidth(), 11);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetLineSize(), 3);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetManager(), &manager);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetParent(), &box);
    box.SetManager(nullptr, nullptr, false);
}

// A bar made while its container had no window (built in code, or a
// list's body) takes the window's default look when the container is
// attached, with the container's own bar style still over it.
TEST(ContainerAttributes, BarsMadeBeforeAttachTakeTheDefaultsThenTheirOwnStyle) {
    CUIManager manager;
    manager.AddDefaultAttributeList("VScrollBar", "width=\"11\" linesize=\"5\"");
    CContainerUI box;
    box.SetAttribute("vscrollbarstyle", "linesize=\"9\"");
    EXPECT_EQ(box.GetVerticalScrollBar()->GetFixedWidth(), 16);
    box.SetManager(&manager, nullptr, false);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetFixedWidth(), 11);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetLineSize(), 9);
    box.SetManager(nullptr, nullptr, false);
}

TEST(ContainerItems, AddInsertMoveAndRemove) {
    CContainerUI box;
    box.SetDelayedDestroy(false);
    CControlUI* a = Leaf("name=\"a\"");
    CControlUI* b = Leaf("name=\"b\"");
    CControlUI* c = Leaf("name=\"c\"");
    EXPECT_FALSE(box.Add(nullptr));
    EXPECT_TRUE(box.Add(a));
    EXPECT_TRUE(box.Add(c));
    EXPECT_FALSE(box.AddAt(b, 3));
    EXPECT_FALSE(box.AddAt(b, -1));
    EXPECT_TRUE(box.AddAt(b, 1));
    EXPECT_EQ(box.GetCount(), 3);
    EXPECT_EQ(box.GetItemAt(1), b);
    EXPECT_EQ(box.GetItemAt(3), nullptr);
    EXPECT_EQ(box.GetItemAt(-1), nullptr);
    EXPECT_EQ(box.GetItemIndex(c), 2);
    CControlUI stranger;
    EXPECT_EQ(box.GetItemIndex(&stranger), -1);
    EXPECT_FALSE(box.Remove(&stranger));
    EXPECT_TRUE(box.SetItemIndex(c, 0));
    EXPECT_EQ(box.GetItemAt(0), c);
    EXPECT_EQ(box.GetItemAt(1), a);
    EXPECT_FALSE(box.SetItemIndex(c, 3));
    EXPECT_FALSE(box.SetItemIndex(&stranger, 0));
    EXPECT_FALSE(box.RemoveAt(5));
    EXPECT_TRUE(box.RemoveAt(0));
    EXPECT_EQ(box.GetCount(), 2);
    EXPECT_EQ(box.GetItemAt(0), a);
}

TEST(ContainerItems, RemovalDestroysAtOnceWithoutAManager) {
    Lifecycle life;
    CControlUI* a = Leaf("name=\"a\"");
    CControlUI* b = Leaf("name=\"b\"");
    life.Watch(a);
    life.Watch(b);
    {
        CContainerUI box;  // delayed-destroy is on, but there is no manager
        box.Add(a);
        box.Add(b);
        box.Remove(a);
        EXPECT_EQ(life.log, (std::vector<std::string>{"destroy a"}));
        box.RemoveAll();
        EXPECT_EQ(box.GetCount(), 0);
    }
    EXPECT_EQ(life.log, (std::vector<std::string>{"destroy a", "destroy b"}));
}

TEST(ContainerItems, ContainerListenersSeeTheChildrenWhileItIsDestroyed) {
    Lifecycle life;
    auto* box = Make<CVerticalLayoutUI>("name=\"box\"");
    CControlUI* a = Leaf("name=\"a\"");
    box->Add(a);
    life.Watch(box);
    life.Watch(a);
    delete box;
    EXPECT_EQ(life.log, (std::vector<std::string>{"destroy box with 1", "destroy a"}));
}

TEST(ContainerItems, WithoutAutoDestroyTheContainerLeavesItsChildren) {
    Lifecycle life;
    CControlUI* a = Leaf("name=\"a\"");
    life.Watch(a);
    {
        CContainerUI box;
        box.SetAutoDestroy(false);
        box.Add(a);
    }
    EXPECT_TRUE(life.log.empty());
    delete a;
    EXPECT_EQ(life.log, (std::vector<std::string>{"destroy a"}));
}

TEST(ContainerItems, InitRunsForChildrenBeforeTheirContainerAndNotForTheRoot) {
    Lifecycle life;
    auto* root = Make<CVerticalLayoutUI>("name=\"root\"");
    auto* box = Make<CHorizontalLayoutUI>("name=\"box\"");
    CControlUI* a = Leaf("name=\"a\"");
    box->Add(a);
    root->Add(box);
    life.Watch(root);
    life.Watch(box);
    life.Watch(a);
    CUIManager manager;
    manager.SetRootControl(root);
    EXPECT_EQ(life.log, (std::vector<std::string>{"init a", "init box"}));
    EXPECT_EQ(manager.FindControl("a"), a);
    EXPECT_EQ(a->GetParent(), box);
    EXPECT_EQ(box->GetParent(), root);
    // Added later, a control is attached and initialised at once.
    CControlUI* late = Leaf("name=\"late\"");
    life.Watch(late);
    box->Add(late);
    EXPECT_EQ(life.log.back(), "init late");
    EXPECT_EQ(manager.FindControl("late"), late);
    EXPECT_EQ(late->GetManager(), &manager);
}

TEST(ContainerItems, LaterNameReplacesTheEarlierInTheNameMap) {
    auto* root = Make<CVerticalLayoutUI>("");
    CControlUI* first = Leaf("name=\"twin\"");
    CControlUI* second = Leaf("name=\"twin\"");
    root->Add(first);
    root->Add(second);
    CUIManager manager;
    manager.SetRootControl(root);
    EXPECT_EQ(manager.FindControl("twin"), second);
    root->SetDelayedDestroy(false);
    root->Remove(first);  // the map points elsewhere: unchanged
    EXPECT_EQ(manager.FindControl("twin"), second);
    root->Remove(second);
    EXPECT_EQ(manager.FindControl("twin"), nullptr);
}

TEST(ContainerVisibility, HiddenParentsHideTheirChildren) {
    auto* outer = Make<CVerticalLayoutUI>("");
    auto* inner = Make<CVerticalLayoutUI>("");
    CControlUI* a = Leaf("");
    inner->Add(a);
    outer->Add(inner);
    outer->SetVisible(false);
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_FALSE(a->IsVisible());
    CControlUI* b = Leaf("");
    inner->Add(b);  // added while hidden
    EXPECT_FALSE(b->IsVisible());
    outer->SetVisible(true);
    EXPECT_TRUE(a->IsVisible());
    EXPECT_TRUE(b->IsVisible());
    inner->SetVisible(false);
    outer->SetVisible(false);
    outer->SetVisible(true);
    EXPECT_FALSE(a->IsVisible());  // its own parent is still hidden
    delete outer;
}

TEST(ContainerVisibility, MouseEnabledReachesTheScrollBars) {
    CVerticalLayoutUI box;
    box.EnableScrollBar(true, true);
    box.SetMouseEnabled(false);
    EXPECT_FALSE(box.GetVerticalScrollBar()->IsMouseEnabled());
    EXPECT_FALSE(box.GetHorizontalScrollBar()->IsMouseEnabled());
}

TEST(ContainerFind, HitTestingPrefersTheTopmostChild) {
    CContainerUI box;
    box.SetAutoDestroy(false);
    CControlUI under, over;
    under.SetName("under");
    over.SetName("over");
    box.Add(&under);
    box.Add(&over);
    box.SetPos(RECT{0, 0, 100, 100});
    POINT pt{50, 50};
    EXPECT_EQ(box.FindControl(AcceptAll, &pt, FindVisible | FindHitTest | FindTopFirst), &over);
    EXPECT_EQ(box.FindControl(AcceptAll, &pt, FindVisible | FindHitTest), &under);
    EXPECT_EQ(box.FindControl(AcceptAll, &pt, FindVisible | FindHitTest | FindMeFirst), &box);
    over.SetMouseEnabled(false);
    EXPECT_EQ(box.FindControl(AcceptAll, &pt, FindVisible | FindHitTest | FindTopFirst), &under);
    under.SetVisible(false);
    EXPECT_EQ(box.FindControl(AcceptAll, &pt, FindVisible | FindHitTest | FindTopFirst), &box);
    box.SetMouseChildEnabled(false);
    under.SetVisible(true);
    EXPECT_EQ(box.FindControl(AcceptAll, &pt, FindVisible | FindHitTest | FindTopFirst), &box);
    POINT outside{150, 50};
    EXPECT_EQ(box.FindControl(AcceptAll, &outside, FindVisible | FindHitTest), nullptr);
}

TEST(ContainerFind, ChildrenOverTheInsetAreHitOnlyWhenFloating) {
    CContainerUI box;
    box.SetAutoDestroy(false);
    CControlUI plain, floating;
    floating.SetFloat(true);
    box.Add(&plain);
    box.Add(&floating);
    box.SetInset(RECT{10, 10, 10, 10});
    box.SetPos(RECT{0, 0, 100, 100});
    plain.SetPos(RECT{0, 0, 50, 50});
    floating.SetPos(RECT{50, 0, 100, 50});
    POINT inPlainInset{5, 20};
    POINT inFloatInset{95, 20};
    EXPECT_EQ(box.FindControl(AcceptAll, &inPlainInset, FindVisible | FindHitTest | FindTopFirst), &box);
    EXPECT_EQ(box.FindControl(AcceptAll, &inFloatInset, FindVisible | FindHitTest | FindTopFirst), &floating);
}

TEST(ContainerFind, WalkOrderAndFlags) {
    auto* root = Make<CVerticalLayoutUI>("name=\"root\"");
    auto* box = Make<CHorizontalLayoutUI>("name=\"box\"");
    box->Add(Leaf("name=\"a\""));
    box->Add(Leaf("name=\"b\" enabled=\"false\""));
    root->Add(box);
    root->Add(Leaf("name=\"c\" visible=\"false\""));
    std::vector<std::string> names;
    root->FindControl(CollectAll, &names, FindAll);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "box", "c", "root"}));
    names.clear();
    root->FindControl(CollectAll, &names, FindVisible | FindEnabled | FindMeFirst);
    EXPECT_EQ(names, (std::vector<std::string>{"root", "box", "a"}));
    names.clear();
    root->FindControl(CollectAll, &names, FindTopFirst);
    EXPECT_EQ(names, (std::vector<std::string>{"c", "b", "a", "box", "root"}));
    delete root;
}

TEST(ControlGeometry, FloatingControlKeepsItsOffsetsFromTheParent) {
    auto* root = Make<CContainerUI>("");
    CControlUI* f = Leaf("name=\"f\" float=\"true\" pos=\"-30,5,-10,15\"");
    root->Add(f);
    CUIManager manager;
    manager.SetRootControl(root);
    root->SetPos(RECT{100, 100, 300, 200});
    EXPECT_TRUE(SameRect(f->GetPos(), RECT{270, 105, 290, 115}));
    f->SetPos(RECT{250, 120, 280, 150});  // moved by hand: the offsets follow
    EXPECT_EQ(f->GetFixedXY().cx, -20);
    EXPECT_EQ(f->GetFixedXY().cy, 20);
    EXPECT_EQ(f->GetFixedWidth(), 30);
    EXPECT_EQ(f->GetFixedHeight(), 30);
}

TEST(ControlGeometry, ResizeListenersRunOncePerSetPosAndNotReentrantly) {
    struct Resize {
        CControlUI* control;
        int calls = 0;
        bool OnSize(void*) {
            ++calls;
            control->SetPos(RECT{0, 0, 5, 5});  // would recurse without the guard
            return true;
        }
    };
    CUIManager manager;
    auto* root = Make<CContainerUI>("");
    CControlUI* c = Leaf("");
    root->Add(c);
    manager.SetRootControl(root);
    Resize r{c};
    c->OnSize += CDelegate::Make(&r, &Resize::OnSize);
    c->SetPos(RECT{0, 0, 10, 10});
    EXPECT_EQ(r.calls, 1);
    EXPECT_TRUE(SameRect(c->GetPos(), RECT{0, 0, 5, 5}));
}

TEST(ControlGeometry, HiddenControlsRequestNoLayout) {
    CUIManager manager;
    auto* root = Make<CVerticalLayoutUI>("");
    CControlUI* c = Leaf("visible=\"false\"");
    root->Add(c);
    manager.SetRootControl(root);
    root->SetPos(RECT{0, 0, 50, 50});
    c->SetPos(RECT{0, 0, 1, 1});
    ASSERT_FALSE(c->IsUpdateNeeded());
    c->RequestLayout();
    EXPECT_FALSE(c->IsUpdateNeeded());
    ASSERT_FALSE(root->IsUpdateNeeded());
    c->SetVisible(true);  // becoming visible asks the parent to lay out
    EXPECT_TRUE(root->IsUpdateNeeded());
}

TEST(ContainerScroll, KeysScrollTheFocusedContainer) {
    auto* list = Make<CVerticalLayoutUI>("vscrollbar=\"true\"");
    list->Add(Leaf("height=\"1000\""));
    TestWindow w;
    ASSERT_TRUE(w.Open(50, 100, list));
    w.Manager().SetFocus(list);
    ASSERT_EQ(w.Manager().GetFocus(), list);
    w.Key(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(list->GetScrollPos().cy, 100);
    w.Key(WM_KEYDOWN, VK_END);
    EXPECT_EQ(list->GetScrollPos().cy, 900);
    w.Key(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(list->GetScrollPos().cy, 900 - (w.Manager().GetDefaultFontInfo().tmHeight + 8));
    w.Key(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(list->GetScrollPos().cy, 0);
}

TEST(ContainerScroll, HorizontalBarTakesTheKeysWhenThereIsNoVerticalOne) {
    CHorizontalLayoutUI box;
    box.SetAutoDestroy(false);
    box.EnableScrollBar(false, true);
    CScrollBarUI* bar = box.GetHorizontalScrollBar();
    bar->SetVisible(true);
    bar->SetScrollRange(300);
    CControlUI child;
    child.SetFixedWidth(400);  // wider than the box: the bar stays
    box.Add(&child);
    box.SetPos(RECT{0, 0, 100, 50});
    ASSERT_TRUE(bar->IsVisible());
    UIEvent key;
    key.kind = EventKeyDown;
    key.key = VK_NEXT;
    box.DoEvent(key);
    EXPECT_EQ(bar->GetScrollPos(), 100);
    key.key = VK_DOWN;
    box.DoEvent(key);
    EXPECT_EQ(bar->GetScrollPos(), 108);
    UIEvent wheel;
    wheel.kind = EventScrollWheel;
    wheel.wParam = 0;
    box.DoEvent(wheel);
    EXPECT_EQ(bar->GetScrollPos(), 100);
}

TEST(ContainerScroll, SetScrollPosMovesOnlyVisibleNonFloatingChildren) {
    CVerticalLayoutUI box;
    box.SetAutoDestroy(false);
    box.EnableScrollBar(true, false);
    CScrollBarUI* bar = box.GetVerticalScrollBar();
    bar->SetVisible(true);
    bar->SetScrollRange(50);
    CControlUI plain, floating, hidden;
    floating.SetFloat(true);
    hidden.SetVisible(false);
    for (CControlUI* c : {&plain, &floating, &hidden}) {
        box.Add(c);
        c->SetPos(RECT{0, 10, 10, 20});
    }
    box.SetScrollPos(SIZE{0, 30});
    EXPECT_EQ(plain.GetPos().top, -20);
    EXPECT_EQ(floating.GetPos().top, 10);
    EXPECT_EQ(hidden.GetPos().top, 10);
    box.SetScrollPos(SIZE{0, 80});  // limited to the range
    EXPECT_EQ(bar->GetScrollPos(), 50);
    EXPECT_EQ(plain.GetPos().top, -40);
}

TEST(ContainerEvents, MouseEventsOfAMouseDisabledContainerGoToItsParent) {
    struct Recorder : CContainerUI {
        std::vector<int> kinds;
        void DoEvent(UIEvent& e) override {
            kinds.push_back(e.kind);
            CContainerUI::DoEvent(e);
        }
    };
    auto* outer = new Recorder;
    auto* inner = new CContainerUI;
    outer->Add(inner);
    CUIManager manager;
    manager.SetRootControl(outer);
    inner->SetMouseEnabled(false);
    UIEvent move;
    move.kind = EventMouseMove;
    inner->DoEvent(move);
    UIEvent key;
    key.kind = EventKeyDown;
    inner->DoEvent(key);  // not a mouse event: the control default passes it up too
    EXPECT_EQ(outer->kinds, (std::vector<int>{EventMouseMove, EventKeyDown}));
    UIEvent focus;
    focus.kind = EventSetFocus;
    inner->DoEvent(focus);
    EXPECT_TRUE(inner->IsFocused());
    EXPECT_EQ(outer->kinds.size(), 2u);
}

namespace {

// Runs an action once when a control's listener list of the given kind fires.
struct Once {
    std::function<void()> action;
    bool Call(void*) {
        if (action) {
            auto run = std::move(action);
            run();
        }
        return true;
    }
};

}  // namespace

// Containers walk their children while calling into them; a listener that
// removes a sibling or adds one must neither crash nor make the walk skip
// or repeat a child.
TEST(ContainerItems, InitListenerChangingTheSiblingsDuringAttach) {
    Lifecycle life;
    auto* root = Make<CVerticalLayoutUI>("name=\"root\"");
    CControlUI* a = Leaf("name=\"a\"");
    CControlUI* b = Leaf("name=\"b\"");
    CControlUI* c = Leaf("name=\"c\"");
    CControlUI* d = Leaf("name=\"d\"");
    for (CControlUI* x : {a, b, c}) root->Add(x);
    for (CControlUI* x : {a, b, c, d}) life.Watch(x);
    Once change{[&] {
        root->SetDelayedDestroy(false);
        root->Remove(b);
        root->Add(d);
    }};
    a->OnInit += CDelegate::Make(&change, &Once::Call);
    CUIManager manager;
    manager.SetRootControl(root);
    EXPECT_EQ(life.log, (std::vector<std::string>{"init a", "destroy b", "init d", "init c"}));
    EXPECT_EQ(d->GetManager(), &manager);
}

TEST(ContainerItems, ListenerRemovingASiblingWhileTheContainerHidesOrScrolls) {
    auto* root = Make<CVerticalLayoutUI>("vscrollbar=\"true\"");
    CControlUI* a = Leaf("name=\"a\" height=\"100\"");
    CControlUI* b = Leaf("name=\"b\" height=\"100\"");
    CControlUI* c = Leaf("name=\"c\" height=\"100\"");
    for (CControlUI* x : {a, b, c}) root->Add(x);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 100, root));
    root->SetDelayedDestroy(false);
    const LONG cTop = c->GetPos().top;
    // Scrolling moves each child; a's resize listener removes b.
    Once removeB{[&] { root->Remove(b); }};
    a->OnSize += CDelegate::Make(&removeB, &Once::Call);
    root->SetScrollPos(SIZE{0, 30});
    EXPECT_EQ(c->GetPos().top, cTop - 30);
    // Hiding clears a's focus; its kill-focus listener removes c's sibling d.
    CControlUI* d = Leaf("name=\"d\"");
    CControlUI* e = Leaf("name=\"e\"");
    root->Add(d);
    root->Add(e);
    w.Manager().SetFocus(a);
    Once removeD{[&] { root->Remove(d); }};
    a->OnEvent += CDelegate::Make(&removeD, &Once::Call);
    root->SetVisible(false);
    EXPECT_FALSE(c->IsVisible());
    EXPECT_FALSE(e->IsVisible());
    EXPECT_EQ(root->GetCount(), 3);
}

// A container that goes without destroying its children, or lets one go,
// leaves them with no parent and no manager, and the manager forgets them.
TEST(ContainerItems, ChildrenLeftByANonOwningContainerPointNowhere) {
    auto* root = Make<CVerticalLayoutUI>("");
    auto* box = Make<CHorizontalLayoutUI>("");
    box->SetAutoDestroy(false);
    CControlUI* kept = Leaf("name=\"kept\"");
    CControlUI* removed = Leaf("name=\"removed\"");
    box->Add(kept);
    box->Add(removed);
    root->Add(box);
    TestWindow w;
    ASSERT_TRUE(w.Open(100, 40, root));
    w.Manager().SetFocus(removed);
    ASSERT_TRUE(box->Remove(removed));
    EXPECT_EQ(removed->GetParent(), nullptr);
    EXPECT_EQ(removed->GetManager(), nullptr);
    EXPECT_EQ(w.Manager().GetFocus(), nullptr);
    EXPECT_EQ(w.Manager().FindControl("removed"), nullptr);
    root->SetDelayedDestroy(false);
    root->Remove(box);  // destroys the box, not its child
    EXPECT_EQ(kept->GetParent(), nullptr);
    EXPECT_EQ(kept->GetManager(), nullptr);
    delete kept;
    delete removed;
}

// hscrollbar="true" shows the horizontal bar once the content is wider than
// the container, in both layouts, and hides it when the content fits again.
TEST(ContainerScroll, HorizontalBarFollowsTheContentWidth) {
    auto* root = Make<CVerticalLayoutUI>("");
    auto* row = Make<CHorizontalLayoutUI>("hscrollbar=\"true\" height=\"60\"");
    for (int n = 0; n < 3; ++n) row->Add(Leaf("width=\"100\""));
    auto* column = Make<CVerticalLayoutUI>("hscrollbar=\"true\" height=\"60\"");
    CControlUI* wide = Leaf("width=\"300\"");
    column->Add(wide);
    root->Add(row);
    root->Add(column);
    TestWindow w;
    ASSERT_TRUE(w.Open(200, 120, root));
    for (CContainerUI* box : {static_cast<CContainerUI*>(row), static_cast<CContainerUI*>(column)}) {
        CScrollBarUI* bar = box->GetHorizontalScrollBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->IsVisible());
        EXPECT_EQ(bar->GetScrollRange(), 100);
        EXPECT_EQ(bar->GetPos().bottom, box->GetPos().bottom);
        EXPECT_EQ(box->GetClientArea().bottom, bar->GetPos().top);
    }
    row->SetScrollPos(SIZE{60, 0});
    EXPECT_EQ(row->GetItemAt(0)->GetPos().left, -60);
    wide->SetFixedWidth(150);
    w.Paint();
    EXPECT_FALSE(column->GetHorizontalScrollBar()->IsVisible());
}

// The list: selection by mouse and keys, the body's scrolling, the header's
// clicks and the columns its items take from it.
#include <gtest/gtest.h>

#include "Loom/Control/ListContainerElementUI.h"
#include "Loom/Control/ListHeaderItemUI.h"
#include "Loom/Control/ListHeaderUI.h"
#include "Loom/Control/ListTextElementUI.h"
#include "Loom/Control/ListUI.h"
#include "ControlTestSupport.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// A list named "list" with count items of 20 pixels, named item0, item1, ...
CListUI* MakeList(int count) {
    auto* list = new CListUI;
    list->SetName("list");
    for (int i = 0; i < count; ++i) {
        auto* item = new CListContainerElementUI;
        item->SetName("item" + std::to_string(i));
        item->SetFixedHeight(20);
        list->Add(item);
    }
    return list;
}

IListItemUI* ItemOf(CListUI* list, int index) {
    return static_cast<IListItemUI*>(list->GetItemAt(index)->GetInterface("ListItem"));
}

void Click(TestWindow& w, int x, int y) {
    w.ButtonDown(x, y);
    w.ButtonUp(x, y);
}

}  // namespace

TEST(ListSelection, ClickSelectsTheItemAndDeselectsTheOldOne) {
    TestWindow w;
    CListUI* list = MakeList(4);
    ASSERT_TRUE(w.Open(200, 100, list));
    Click(w, 10, 50);  // item2
    Click(w, 10, 5);   // item0
    EXPECT_EQ(Of(w, "itemclick"), (std::vector<std::string>{"itemclick item2 0 0", "itemclick item0 0 0"}));
    EXPECT_EQ(Of(w, "itemselect"), (std::vector<std::string>{"itemselect list 2 -1", "itemselect list 0 2"}));
    EXPECT_TRUE(ItemOf(list, 0)->IsSelected());
    EXPECT_FALSE(ItemOf(list, 2)->IsSelected());
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST(ListSelection, RefusedItemKeepsTheSelection) {
    TestWindow w;
    CListUI* list = MakeList(3);
    list->GetItemAt(1)->SetVisible(false);
    list->GetItemAt(2)->SetEnabled(false);
    list->Add(new CControlUI);  // not a list item
    ASSERT_TRUE(w.Open(200, 100, list));
    ASSERT_TRUE(list->SelectItem(0));
    for (int refused : {1, 2, 3, 99}) EXPECT_FALSE(list->SelectItem(refused)) << refused;
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_TRUE(ItemOf(list, 0)->IsSelected());
    EXPECT_EQ(Of(w, "itemselect"), std::vector<std::string>{"itemselect list 0 -1"});
}

TEST(ListSelection, DownKeyPastTheViewScrollsTheSelectionIntoView) {
    TestWindow w;
    CListUI* list = MakeList(10);  // 200 pixels of items in a 100-pixel list
    ASSERT_TRUE(w.Open(200, 100, list));
    Click(w, 10, 5);
    for (int i = 0; i < 5; ++i) w.Key(WM_KEYDOWN, VK_DOWN);
    w.Paint();
    EXPECT_EQ(list->GetCurSel(), 5);
    EXPECT_EQ(Of(w, "itemselect").back(), "itemselect list 5 4");
    const RECT& at = list->GetItemAt(5)->GetPos();
    EXPECT_EQ(at.top, 80);
    EXPECT_EQ(at.bottom, 100);
    EXPECT_EQ(list->GetList()->GetScrollPos().cy, 20);
    w.Key(WM_KEYDOWN, VK_HOME);
    w.Paint();
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(list->GetList()->GetScrollPos().cy, 0);
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, 0);
}

TEST(ListSelection, KeysSkipDisabledItemsAndStopAtTheEnds) {
    TestWindow w;
    CListUI* list = MakeList(5);
    list->GetItemAt(0)->SetEnabled(false);
    list->GetItemAt(4)->SetEnabled(false);
    ASSERT_TRUE(w.Open(200, 120, list));
    list->SetFocus();
    w.Key(WM_KEYDOWN, VK_END);
    EXPECT_EQ(list->GetCurSel(), 3);
    w.Key(WM_KEYDOWN, VK_DOWN);  // the last item is disabled: stays
    EXPECT_EQ(list->GetCurSel(), 3);
    w.Key(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(list->GetCurSel(), 1);
    w.Key(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(Of(w, "itemselect"), (std::vector<std::string>{"itemselect list 3 -1", "itemselect list 1 3"}));
}

TEST(ListSelection, PageDownMovesByAViewOfItems) {
    TestWindow w;
    CListUI* list = MakeList(12);
    ASSERT_TRUE(w.Open(200, 100, list));  // five items fit
    Click(w, 10, 5);
    w.Key(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(list->GetCurSel(), 5);
    w.Key(WM_KEYDOWN, VK_NEXT);
    w.Key(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(list->GetCurSel(), 11);
}

TEST(ListSelection, ReturnActivatesTheSelectedItem) {
    TestWindow w;
    CListUI* list = MakeList(3);
    ASSERT_TRUE(w.Open(200, 100, list));
    Click(w, 10, 25);
    w.Key(WM_KEYDOWN, VK_RETURN);
    w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 45));
    EXPECT_EQ(Of(w, "itemactivate"), (std::vector<std::string>{"itemactivate item1 0 0", "itemactivate item2 0 0"}));
}

TEST(ListSelection, WheelScrollsTheBodyOrWithScrollSelectMovesTheSelection) {
    TestWindow w;
    CListUI* list = MakeList(10);
    ASSERT_TRUE(w.Open(200, 100, list));
    POINT pt{10, 10};
    ::ClientToScreen(w.GetHWND(), &pt);
    w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_GT(list->GetList()->GetScrollPos().cy, 0);
    EXPECT_EQ(list->GetCurSel(), -1);
    list->SetAttribute("scrollselect", "true");
    w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST(ListItems, RemovingAnItemBeforeTheSelectionKeepsTheSelectedItem) {
    TestWindow w;
    CListUI* list = MakeList(4);
    ASSERT_TRUE(w.Open(200, 100, list));
    Click(w, 10, 65);  // item3
    list->RemoveAt(1);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(ItemOf(list, 2)->GetIndex(), 2);
    EXPECT_EQ(list->GetItemAt(2)->GetName(), "item3");
    list->AddAt(MakeList(0), 0);  // any control goes to the body
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(ItemOf(list, 3)->GetIndex(), 3);
}

TEST(ListItems, HidingTheSelectedItemLeavesNoSelection) {
    TestWindow w;
    CListUI* list = MakeList(3);
    ASSERT_TRUE(w.Open(200, 100, list));
    Click(w, 10, 25);
    list->GetItemAt(1)->SetVisible(false);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(ItemOf(list, 1)->IsSelected());
}

namespace {

// A list 200 wide with two header items: h0 80 wide, h1 taking the rest.
CListUI* MakeListWithHeader() {
    CListUI* list = MakeList(3);
    list->Add(Make<CListHeaderItemUI>("name=\"h0\" width=\"80\" text=\"Name\""));
    list->Add(Make<CListHeaderItemUI>("name=\"h1\" text=\"Value\""));
    return list;
}

}  // namespace

TEST(ListHeader, ClickOnTheCaptionSendsHeaderClickButNotOnTheSeparator) {
    TestWindow w;
    CListUI* list = MakeListWithHeader();
    ASSERT_TRUE(w.Open(200, 100, list));
    Click(w, 40, 5);
    Click(w, 78, 5);  // the separator strip: the right 4 pixels of h0
    Click(w, 150, 5);
    EXPECT_EQ(Of(w, "headerclick"), (std::vector<std::string>{"headerclick h0 0 0", "headerclick h1 0 0"}));
}

TEST(ListHeader, BodyStartsBelowTheHeaderAndColumnsFollowTheHeaderItems) {
    TestWindow w;
    CListUI* list = MakeListWithHeader();
    ASSERT_TRUE(w.Open(200, 100, list));
    const int headerBottom = list->GetHeader()->GetPos().bottom;
    EXPECT_GT(headerBottom, 10);
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, headerBottom);
    const TListInfoUI* info = list->GetListInfo();
    ASSERT_EQ(info->columns, 2);
    EXPECT_EQ(info->columnRects[0].left, 0);
    EXPECT_EQ(info->columnRects[0].right, 80);
    EXPECT_EQ(info->columnRects[1].left, 80);
    EXPECT_EQ(info->columnRects[1].right, 200);

    w.ButtonDown(78, 5);
    w.MouseMove(108, 5, MK_LBUTTON);
    w.ButtonUp(108, 5);
    w.Paint();
    EXPECT_EQ(info->columnRects[0].right, 110);
    EXPECT_EQ(info->columnRects[1].left, 110);
    EXPECT_TRUE(Of(w, "headerclick").empty());
}

TEST(ListHeader, DraggedColumnStopsAtItsMinimumWidth) {
    TestWindow w;
    CListUI* list = MakeListWithHeader();
    static_cast<CListHeaderUI*>(list->GetHeader())->GetItemAt(0)->SetMinWidth(30);
    ASSERT_TRUE(w.Open(200, 100, list));
    w.ButtonDown(78, 5);
    w.MouseMove(2, 5, MK_LBUTTON);
    w.ButtonUp(2, 5);
    w.Paint();
    EXPECT_EQ(list->GetListInfo()->columnRects[0].right, 30);
    EXPECT_EQ(list->GetListInfo()->columnRects[1].left, 30);
}

TEST(ListHeader, AHeaderGivenToTheListReplacesItsHeader) {
    TestWindow w;
    CListUI* list = MakeList(2);
    auto* header = new CListHeaderUI;
    header->Add(Make<CListHeaderItemUI>("width=\"50\" height=\"24\""));
    ASSERT_TRUE(list->Add(header));
    ASSERT_TRUE(w.Open(200, 100, list));
    EXPECT_EQ(list->GetHeader(), header);
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, 24);
    EXPECT_EQ(list->GetListInfo()->columnRects[0].right, 50);
    Click(w, 10, 30);
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST(ListHeader, HiddenHeaderGivesTheBodyTheWholeList) {
    TestWindow w;
    CListUI* list = MakeListWithHeader();
    list->SetAttribute("header", "hidden");
    ASSERT_TRUE(w.Open(200, 100, list));
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, 0);
    EXPECT_EQ(list->GetListInfo()->columns, 0);
}

namespace {

// Dark pixels of the surface in columns [left, right) of rows [top, bottom).
int DarkPixels(const PixelSurface& s, int left, int top, int right, int bottom) {
    int dark = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if ((s.At(x, y) & 0xFF) < 0x80) ++dark;
        }
    }
    return dark;
}

// A white list 200 wide with columns 0..80 and 80..200 and one text element
// "row", 30 high, below the header.
CListTextElementUI* MakeTextRow(CListUI*& list) {
    list = MakeListWithHeader();
    list->RemoveAll();
    list->SetBkColor(0xFFFFFFFF);
    auto* row = new CListTextElementUI;
    row->SetName("row");
    row->SetFixedHeight(30);
    list->Add(row);
    return row;
}

}  // namespace

TEST(ListTextElement, EachColumnTextIsDrawnInItsHeaderColumn) {
    TestWindow w;
    CListUI* list = nullptr;
    CListTextElementUI* row = MakeTextRow(list);
    row->SetText(1, "WWWW");
    ASSERT_TRUE(w.Open(200, 100, list));
    const RECT at = row->GetPos();
    PixelSurface s(200, 100);
    PrintClient(w.GetHWND(), s);
    EXPECT_EQ(DarkPixels(s, 0, at.top, 80, at.bottom), 0);
    EXPECT_GT(DarkPixels(s, 80, at.top, 200, at.bottom), 0);

    row->SetText(0, "WWWW");
    row->SetText(1, "");
    w.Paint();
    s.Fill(0xFFFFFF);
    PrintClient(w.GetHWND(), s);
    EXPECT_GT(DarkPixels(s, 0, at.top, 80, at.bottom), 0);
    EXPECT_EQ(DarkPixels(s, 80, at.top, 200, at.bottom), 0);
}

TEST(ListTextElement, ButtonUpOverALinkSendsLinkWithItsNumber) {
    TestWindow w;
    CListUI* list = nullptr;
    CListTextElementUI* row = MakeTextRow(list);
    list->SetAttribute("itemshowhtml", "true");
    row->SetText(0, "<a>one</a>");
    row->SetText(1, "see <a>two</a>");
    ASSERT_TRUE(w.Open(200, 100, list));
    ASSERT_EQ(row->GetLinkCount(), 2);
    const RECT second = row->GetLinkRect(1);
    EXPECT_GE(second.left, 80);
    const int x = (second.left + second.right) / 2;
    const int y = (second.top + second.bottom) / 2;
    Click(w, x, y);
    Click(w, second.left - 2, y);  // the plain "see" before the link
    EXPECT_EQ(Of(w, "link"), std::vector<std::string>{"link row 1 0"});
    EXPECT_EQ(Of(w, "itemclick").size(), 2u);
}

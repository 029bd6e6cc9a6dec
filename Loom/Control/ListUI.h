#pragma once
#include "Loom/Control/ListInterfaces.h"
#include "Loom/Layout/VerticalLayoutUI.h"

namespace Loom {

class CListHeaderUI;
class CListBodyUI;

// A list: a header row over a scrolled body of items. Seen as a container
// ("IContainer"), its children are the body's items; a "ListHeader" given to
// Add becomes its header and a "ListHeaderItem" joins the header. One item at
// a time is selected, by a click or by the keys (Up, Down, Page Up, Page
// Down, Home, End), which sends "itemselect" (wParam the new index, lParam
// the old) and scrolls the item into view.
class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    // A list to clients, its items list items.
    AccessibleTraits GetAccessibleTraits() const override;

    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // Searches the header and the body: the list's own children, which the
    // container interface does not show.
    CControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;
    // The header takes its estimated height at the top, the body the rest;
    // the header items' rectangles become the item columns.
    void SetPos(RECT rc) override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    int FindSelectable(int index, bool forward = true) const override;

    TListInfoUI* GetListInfo() override { return &info_; }
    int GetCurSel() const override { return curSel_; }
    // Same index: true. Otherwise the old item is deselected; a negative
    // index or an empty list: false; an index past the end means the last
    // item, which must be visible, enabled and a "ListItem".
    bool SelectItem(int index, bool takeFocus = false) override;
    CControlUI* GetHeader() const override;
    CContainerUI* GetList() const override;
    // Asks the item to expand or collapse; without "multiexpanding" the
    // item expanded before is collapsed first. False if the item refuses.
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override { return expandedItem_; }

    // Scrolls the body so that the item at index lies wholly in view.
    void EnsureVisible(int index);
    bool IsScrollSelect() const { return scrollSelect_; }
    void SetScrollSelect(bool on) { scrollSelect_ = on; }

protected:
    // Puts control into the body at index and makes the list its owner.
    bool InsertItem(CControlUI* control, int index);
    // Gives the items from index on their positions as indexes.
    void RenumberItems(int from);
    static IListItemUI* ListItemOf(CControlUI* control);

    CListHeaderUI* header_ = nullptr;
    CListBodyUI* list_ = nullptr;
    int curSel_ = -1;
    int expandedItem_ = -1;
    bool scrollSelect_ = false;
    TListInfoUI info_;

private:
    bool SetHeader(CControlUI* header);
    void UpdateColumns();
    bool HandleKey(UIEvent& event);
    int PageItems() const;
    bool SetItemAttribute(const char* name, const char* value);
};

}  // namespace Loom

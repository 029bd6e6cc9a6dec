#pragma once
#include <string>

#include "Loom/Control/ListInterfaces.h"
#include "Loom/Core/ContainerUI.h"

namespace Loom {

class CComboWnd;

// A drop-down choice: shows the selected item's text and opens a pop-up
// window (CComboWnd) with its items when pressed. The items are its children
// but are never painted in the combo's window; they lend themselves to the
// pop-up while it is open. Sends "predropdown" just before it opens (the
// handler may refill the items, e.g. a list that follows the machine),
// "dropdown" when it has opened and "itemselect" (wParam new index, lParam
// old index) when the selection changes.
class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;

    const char* GetClass() const override;
    // "Combo" and "IListOwner" besides the container's names.
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    AccessibleTraits GetAccessibleTraits() const override;
    // The selected item's text, or empty.
    std::string GetText() const override;
    void SetEnabled(bool enabled = true) override;
    // Opens the drop-down unless it is open: "predropdown", then "dropdown".
    bool Activate() override;

    bool SetItemIndex(CControlUI* control, int index) override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;
    // The nearest visible, enabled list item from index in the direction;
    // a backward search that finds none looks forward from the start.
    int FindSelectable(int index, bool forward = true) const override;

    TListInfoUI* GetListInfo() override { return &listInfo_; }
    int GetCurSel() const override { return curSel_; }
    // Selects a visible, enabled list item (an index past the end means the
    // last item); -1 clears the selection and answers false. A refused index
    // leaves the selection as it was. A change from outside the open
    // drop-down closes it.
    bool SelectItem(int index, bool takeFocus = false) override;

    const std::string& GetDropBoxAttributeList() const { return dropBoxAttributes_; }
    void SetDropBoxAttributeList(const std::string& list) { dropBoxAttributes_ = list; }
    SIZE GetDropBoxSize() const { return dropBoxSize_; }
    void SetDropBoxSize(SIZE size) { dropBoxSize_ = size; }
    RECT GetTextPadding() const { return textPadding_; }
    void SetTextPadding(RECT padding);
    // The open drop-down's window, nullptr while closed.
    HWND GetDropDownWindow() const;

    // Items are laid at (0, 0, 0, 0): they show only in the drop-down.
    void SetPos(RECT rc) override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    SIZE EstimateSize(SIZE available) override;
    // The combo alone: its items are not painted in its window.
    void DoPaint(HDC dc, const RECT& dirty) override;
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;

protected:
    // The state word with focus and enabled state brought up to date.
    UINT CurrentState();
    // The colour of the shown item's text while high contrast is on (the
    // item's own colours are those of its place in the drop-down).
    DWORD ContrastTextColor(const TContrastColors& colors) const;

    UINT buttonState_ = 0;

private:
    friend class CComboWnd;
    // The drop-down is gone (called by the drop-down as it ends).
    void OnDropDownGone();
    // Keys and the wheel forwarded by the open drop-down, and the selection
    // its Escape brings back: the selection they change must not close it.
    // False when the "itemselect" handler destroyed the combo.
    bool DoEventFromDropDown(UIEvent& event);
    bool SelectItemFromDropDown(int index);
    bool HandleKey(char key);
    void SelectStep(int index, bool forward);
    void Reindex(int from);
    bool SetImageAttribute(const char* name, const char* value);
    void PaintContrastLook(HDC dc, const TContrastColors& colors);

    int curSel_ = -1;
    CComboWnd* window_ = nullptr;
    bool fromDropDown_ = false;
    std::string dropBoxAttributes_;
    SIZE dropBoxSize_{0, 150};
    RECT textPadding_{0, 0, 0, 0};
    std::string normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_;
    TListInfoUI listInfo_;
};

}  // namespace Loom

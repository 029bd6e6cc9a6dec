#pragma once
#include "Loom/Control/ListInterfaces.h"
#include "Loom/Core/ContainerUI.h"

namespace Loom {

// A list item that holds controls: it is selected by a click ("itemclick"),
// activated by a double click or Return ("itemactivate"), shows the owner's
// item look behind its children, and passes the events it does not handle
// (keys, the wheel) to its owner.
class CListContainerElementUI : public CContainerUI, public IListItemUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;

    int GetIndex() const override { return index_; }
    void SetIndex(int index) override { index_ = index; }
    IListOwnerUI* GetOwner() override { return owner_; }
    // The owner is the control's "IListOwner" part; nullptr forgets it.
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return selected_; }
    // False when disabled. Selecting asks the owner to select this index.
    bool Select(bool select = true) override;
    bool IsExpanded() const override { return expanded_; }
    // A plain container element cannot be expanded: false.
    bool Expand(bool expand = true) override;
    // The element shows its children, not a text of its own.
    void DrawItemText(HDC dc, const RECT& rc) override;

    // The control's Activate, then "itemactivate".
    bool Activate() override;
    // Hiding the selected element leaves its owner with no selection.
    void SetVisible(bool visible = true) override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    // The fixed size; without a fixed height, the owner's item font height
    // plus the item text padding and 8.
    SIZE EstimateSize(SIZE available) override;
    // The owner's item background (colours, images, line) stands in for the
    // control's own background.
    void PaintBkColor(HDC dc) override;
    void PaintBkImage(HDC dc) override;

    bool IsHot() const { return (state_ & StateHot) != 0; }

protected:
    // Mouse and key events of the element itself; false for the others.
    bool HandleItemEvent(UIEvent& event);
    bool DrawFirstImage(HDC dc, const TListInfoUI& info);

    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
    bool expanded_ = false;
    UINT state_ = 0;
};

}  // namespace Loom

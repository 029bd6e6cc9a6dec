#pragma once
#include "Loom/Control/ListItemUI.h"

namespace Loom {

// A list item that holds controls: it is selected by a click ("itemclick"),
// activated by a double click or Return ("itemactivate"), shows the owner's
// item look behind its children, and passes the events it does not handle
// (keys, the wheel) to its owner.
class CListContainerElementUI : public CListItemUI<CContainerUI> {
public:
    const char* GetClass() const override;
    // "ListContainerElement" answers the element, "ListItem" its IListItemUI part.
    void* GetInterface(const char* name) override;

    // The element shows its children, not a text of its own.
    void DrawItemText(HDC dc, const RECT& rc) override;

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
    bool HandleItemEvent(UIEvent& event) override;
    bool DrawFirstImage(HDC dc, const TListInfoUI& info);

    UINT state_ = 0;
};

}  // namespace Loom

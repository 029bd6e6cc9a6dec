#pragma once
#include "Loom/Control/ListItemUI.h"

namespace Loom {

// The base of the list items that paint themselves from their owner's item
// look: it knows its owner and index, its selection and hot state, and paints
// the item background. The text is the subclass's part (DrawItemText).
class CListElementUI : public CListItemUI<CControlUI> {
public:
    const char* GetClass() const override;
    // "ListElement" answers the element, "ListItem" its IListItemUI part.
    void* GetInterface(const char* name) override;

    void SetEnabled(bool enabled = true) override;
    void DoPaint(HDC dc, const RECT& dirty) override;

    // Fills the item from the owner's look: background colour by state,
    // the state image (or the item's own or the owner's background image),
    // and the bottom line. Nothing without an owner.
    void DrawItemBk(HDC dc, const RECT& rc);

protected:
    // Double click and Return activate; enter and leave set and clear hot.
    bool HandleItemEvent(UIEvent& event) override;
    bool IsOddRow() const { return index_ % 2 != 0; }
    // The text colour by state while high contrast is on: on the highlight
    // while selected, the hot-light colour under the mouse, gray disabled.
    DWORD ContrastTextColor(const TContrastColors& colors) const;

    UINT buttonState_ = 0;

private:
    // Draws the first state image that applies; true when one was drawn.
    bool DrawStateImage(HDC dc, TListInfoUI& info);
};

}  // namespace Loom

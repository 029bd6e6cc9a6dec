#pragma once
#include "Loom/Control/ListInterfaces.h"
#include "Loom/Core/ControlUI.h"

namespace Loom {

// The base of the list items that paint themselves from their owner's item
// look: it knows its owner and index, its selection and hot state, and paints
// the item background. The text is the subclass's part (DrawItemText).
class CListElementUI : public CControlUI, public IListItemUI {
public:
    const char* GetClass() const override;
    // "ListItem" answers the IListItemUI part, "ListElement" the element.
    void* GetInterface(const char* name) override;

    int GetIndex() const override { return index_; }
    void SetIndex(int index) override { index_ = index; }
    IListOwnerUI* GetOwner() override { return owner_; }
    // The owner is the control's "IListOwner" interface; nullptr if it has none.
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return selected_; }
    // False when disabled; true at once when unchanged. Selecting tells the
    // owner to select this index.
    bool Select(bool select = true) override;
    bool IsExpanded() const override { return false; }
    bool Expand(bool /*expand*/ = true) override { return false; }

    // A selected item that becomes hidden leaves its owner with no selection.
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    // Sends "itemactivate" when visible and enabled.
    bool Activate() override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void DoPaint(HDC dc, const RECT& dirty) override;

    // Fills the item from the owner's look: background colour by state,
    // the state image (or the item's own or the owner's background image),
    // and the bottom line. Nothing without an owner.
    void DrawItemBk(HDC dc, const RECT& rc);

protected:
    // Events of the element itself; false for those that go to the owner.
    bool HandleElementEvent(UIEvent& event);
    // The event goes to the owner, or to the control default without one.
    void PassToOwner(UIEvent& event);
    bool IsOddRow() const { return index_ % 2 != 0; }

    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
    UINT buttonState_ = 0;

private:
    // Draws the first state image that applies; true when one was drawn.
    bool DrawStateImage(HDC dc, TListInfoUI& info);
};

}  // namespace Loom

#pragma once
#include "Loom/Control/ListInterfaces.h"
#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/ControlUI.h"

namespace Loom {

// The list-item part of the items of a list owner, over the base the item
// needs (CControlUI for the items that paint themselves, CContainerUI for
// those that hold controls): the owner and the index, the selection and its
// rules with the owner, "itemactivate", and the events that go on to the owner.
template <class Base>
class CListItemUI : public Base, public IListItemUI {
public:
    // "ListItem" answers the IListItemUI part; other names go to the base.
    void* GetInterface(const char* name) override;

    int GetIndex() const override { return index_; }
    void SetIndex(int index) override { index_ = index; }
    IListOwnerUI* GetOwner() override { return owner_; }
    // The owner is the control's "IListOwner" part; nullptr if it has none.
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return selected_; }
    // False when disabled; true at once when unchanged. Selecting asks the
    // owner to select this index.
    bool Select(bool select = true) override;
    bool IsExpanded() const override { return expanded_; }
    // A plain item cannot be expanded: false.
    bool Expand(bool expand = true) override;

    // A list item, selectable, selected while it is; its default action
    // ("Select") selects it, as a click does.
    CControlUI::AccessibleTraits GetAccessibleTraits() const override;
    void DoAccessibleAction() override { Select(true); }
    // The base's Activate, then "itemactivate".
    bool Activate() override;
    // Hiding the selected item leaves its owner with no selection.
    void SetVisible(bool visible = true) override;
    // Mouse events while the mouse is disabled, and the events the item does
    // not handle itself (HandleItemEvent), go to the owner.
    void DoEvent(UIEvent& event) override;
    // "selected" selects; other attributes go to the base.
    void SetAttribute(const char* name, const char* value) override;

protected:
    // The events of the item itself; false for those that go to the owner.
    virtual bool HandleItemEvent(UIEvent& event) = 0;
    // The event goes to the owner, or to the base's DoEvent without one.
    void PassToOwner(UIEvent& event);

    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
    bool expanded_ = false;
};

// Both instantiations live in ListItemUI.cpp.
extern template class CListItemUI<CControlUI>;
extern template class CListItemUI<CContainerUI>;

}  // namespace Loom

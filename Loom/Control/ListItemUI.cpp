#include "Loom/Control/ListItemUI.h"

#include <oleacc.h>

#include <cstring>

#include "Loom/Core/AccessibleUI.h"

#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

template <class Base>
void* CListItemUI<Base>::GetInterface(const char* name) {
    if (std::strcmp(name, "ListItem") == 0) return static_cast<IListItemUI*>(this);
    return Base::GetInterface(name);
}

template <class Base>
void CListItemUI<Base>::SetOwner(CControlUI* owner) {
    owner_ = owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface("IListOwner")) : nullptr;
}

template <class Base>
bool CListItemUI<Base>::Select(bool select) {
    if (!this->IsEnabled()) return false;
    if (select == selected_) return true;
    selected_ = select;
    this->Invalidate();
    if (select) AnnounceAccessible(*this, EVENT_OBJECT_SELECTION);
    // An owner that refuses the index (the item is hidden, say) keeps its
    // own selection, and sends nothing; the item must not claim to be
    // selected then. An owner that takes it sends "itemselect", whose
    // handler may destroy the item: nothing of it is touched after that.
    if (select && owner_ != nullptr && !owner_->SelectItem(index_)) {
        selected_ = false;
        return false;
    }
    return true;
}

template <class Base>
CControlUI::AccessibleTraits CListItemUI<Base>::GetAccessibleTraits() const {
    CControlUI::AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_LISTITEM;
    traits.defaultAction = "Select";
    traits.state = STATE_SYSTEM_SELECTABLE | (selected_ ? STATE_SYSTEM_SELECTED : 0);
    return traits;
}

template <class Base>
bool CListItemUI<Base>::Expand(bool /*expand*/) {
    return false;
}

template <class Base>
bool CListItemUI<Base>::Activate() {
    if (!Base::Activate()) return false;
    if (this->manager_ != nullptr) this->manager_->SendNotify(this, "itemactivate");
    return true;
}

template <class Base>
void CListItemUI<Base>::SetVisible(bool visible) {
    Base::SetVisible(visible);
    if (this->IsVisible() || !selected_) return;
    selected_ = false;
    if (owner_ != nullptr) owner_->SelectItem(-1);
}

template <class Base>
void CListItemUI<Base>::PassToOwner(UIEvent& event) {
    if (owner_ != nullptr) {
        owner_->DoEvent(event);
    } else {
        Base::DoEvent(event);
    }
}

template <class Base>
void CListItemUI<Base>::DoEvent(UIEvent& event) {
    if (!this->IsMouseEnabled() && IsMouseEvent(event.kind)) {
        PassToOwner(event);
        return;
    }
    if (!HandleItemEvent(event)) PassToOwner(event);
}

template <class Base>
void CListItemUI<Base>::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "selected") == 0) {
        Select(ValueReaders::ReadBool(value));
    } else {
        Base::SetAttribute(name, value);
    }
}

template class CListItemUI<CControlUI>;
template class CListItemUI<CContainerUI>;

}  // namespace Loom

#include "Loom/Control/ListUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "Loom/Control/ListBodyUI.h"
#include "Loom/Control/ListHeaderUI.h"
#include "Loom/Control/ListInfo.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

constexpr int kMaxColumns = static_cast<int>(sizeof(TListInfoUI::columnRects) / sizeof(RECT));

}  // namespace

CListUI::CListUI() : header_(new CListHeaderUI), list_(new CListBodyUI(this)) {
    // Not the list's own Add: these two are the list's parts, not its items.
    // Both go in at the front, the only place the base accepts while its
    // count is the body's.
    CContainerUI::AddAt(list_, 0);
    CContainerUI::AddAt(header_, 0);
}

const char* CListUI::GetClass() const { return "ListUI"; }

void* CListUI::GetInterface(const char* name) {
    if (Is(name, "List")) return static_cast<CListUI*>(this);
    if (Is(name, "IList")) return static_cast<IListUI*>(this);
    if (Is(name, "IListOwner")) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

CControlUI::AccessibleTraits CListUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_LIST;
    return traits;
}

UINT CListUI::GetControlFlags() const { return ControlFlagTabStop; }

IListItemUI* CListUI::ListItemOf(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface("ListItem")) : nullptr;
}

CControlUI* CListUI::GetItemAt(int index) const { return list_->GetItemAt(index); }
int CListUI::GetItemIndex(CControlUI* control) const { return list_->GetItemIndex(control); }
int CListUI::GetCount() const { return list_->GetCount(); }
CControlUI* CListUI::GetHeader() const { return header_; }
CContainerUI* CListUI::GetList() const { return list_; }

CControlUI* CListUI::FindControl(FindControlProc proc, void* data, UINT flags) {
    if ((flags & FindVisible) && !IsVisible()) return nullptr;
    if ((flags & FindEnabled) && !IsEnabled()) return nullptr;
    if ((flags & FindHitTest) && !::PtInRect(&pos_, *static_cast<const POINT*>(data))) return nullptr;
    CControlUI* found = nullptr;
    if ((flags & FindMeFirst) && (found = CControlUI::FindControl(proc, data, flags)) != nullptr) return found;
    if (mouseChildEnabled_ || !(flags & FindHitTest)) {
        CControlUI* parts[2] = {header_, list_};
        if (flags & FindTopFirst) std::swap(parts[0], parts[1]);
        for (CControlUI* part : parts) {
            if ((found = part->FindControl(proc, data, flags)) != nullptr) return found;
        }
    }
    if (flags & FindMeFirst) return nullptr;
    return CControlUI::FindControl(proc, data, flags);
}

bool CListUI::SetItemIndex(CControlUI* control, int index) {
    CControlUI* selected = GetItemAt(curSel_);
    CControlUI* expanded = GetItemAt(expandedItem_);
    if (!list_->SetItemIndex(control, index)) return false;
    RenumberItems(0);
    curSel_ = selected != nullptr ? GetItemIndex(selected) : -1;
    expandedItem_ = expanded != nullptr ? GetItemIndex(expanded) : -1;
    return true;
}

bool CListUI::Add(CControlUI* control) {
    if (control == nullptr) return false;
    if (control->GetInterface("ListHeader") != nullptr) return SetHeader(control);
    if (control->GetInterface("ListHeaderItem") != nullptr) return header_->Add(control);
    return InsertItem(control, GetCount());
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr) return false;
    if (control->GetInterface("ListHeader") != nullptr) return SetHeader(control);
    if (control->GetInterface("ListHeaderItem") != nullptr) return header_->AddAt(control, index);
    return InsertItem(control, index);
}

bool CListUI::InsertItem(CControlUI* control, int index) {
    if (!list_->AddAt(control, index)) return false;
    if (IListItemUI* item = ListItemOf(control)) item->SetOwner(this);
    RenumberItems(index);
    if (curSel_ >= index) ++curSel_;
    if (expandedItem_ >= index) ++expandedItem_;
    return true;
}

// A header given by markup or code replaces the empty one the list began with.
bool CListUI::SetHeader(CControlUI* header) {
    if (header == header_) return false;
    CContainerUI::Remove(header_);
    header_ = static_cast<CListHeaderUI*>(header->GetInterface("ListHeader"));
    return CContainerUI::AddAt(header_, 0);
}

bool CListUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (index < 0) return header_->Remove(control);
    if (index == curSel_) {
        curSel_ = -1;
    } else if (index < curSel_) {
        --curSel_;
    }
    if (index == expandedItem_) {
        expandedItem_ = -1;
    } else if (index < expandedItem_) {
        --expandedItem_;
    }
    if (!list_->Remove(control)) return false;
    RenumberItems(index);
    return true;
}

bool CListUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    return control != nullptr && Remove(control);
}

void CListUI::RemoveAll() {
    curSel_ = -1;
    expandedItem_ = -1;
    list_->RemoveAll();
}

void CListUI::RenumberItems(int from) {
    for (int i = std::max(from, 0); i < GetCount(); ++i) {
        if (IListItemUI* item = ListItemOf(GetItemAt(i))) item->SetIndex(i);
    }
}

void CListUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT inset = GetScaledInset();
    const RECT client{pos_.left + inset.left, pos_.top + inset.top, pos_.right - inset.right,
                      pos_.bottom - inset.bottom};
    RECT body = client;
    if (header_->IsVisible() && header_->GetCount() > 0) {
        const SIZE sz = header_->EstimateSize(SIZE{client.right - client.left, client.bottom - client.top});
        body.top = std::min(client.top + std::max(sz.cy, 0L), client.bottom);
        header_->SetPos(RECT{client.left, client.top, client.right, body.top});
    }
    UpdateColumns();
    list_->SetPos(body);
}

void CListUI::UpdateColumns() {
    info_.columns = 0;
    if (!header_->IsVisible()) return;
    info_.columns = std::min(header_->GetCount(), kMaxColumns);
    for (int i = 0; i < info_.columns; ++i) {
        CControlUI* column = header_->GetItemAt(i);
        const RECT& p = column->GetPos();
        info_.columnRects[i] = column->IsVisible() ? p : RECT{p.left, p.top, p.left, p.bottom};
    }
}

// The nearest visible, enabled list item from index in the given direction;
// when there is none that way, the nearest the other way, so that a key at
// either end of the list keeps a selection.
int CListUI::FindSelectable(int index, bool forward) const {
    const int count = GetCount();
    if (count == 0) return -1;
    index = std::min(std::max(index, 0), count - 1);
    auto selectable = [this](int i) {
        CControlUI* c = GetItemAt(i);
        return c->IsVisible() && c->IsEnabled() && ListItemOf(c) != nullptr;
    };
    const int step = forward ? 1 : -1;
    for (int i = index; i >= 0 && i < count; i += step) {
        if (selectable(i)) return i;
    }
    for (int i = index - step; i >= 0 && i < count; i -= step) {
        if (selectable(i)) return i;
    }
    return -1;
}

bool CListUI::SelectItem(int index, bool takeFocus) {
    if (index == curSel_) return true;
    CControlUI* control = nullptr;
    IListItemUI* item = nullptr;
    if (index >= 0) {
        if (GetCount() == 0) return false;
        index = std::min(index, GetCount() - 1);
        control = GetItemAt(index);
        item = ListItemOf(control);
        // Checked before the old item lets go, so that a refused index
        // (hidden, disabled, not a list item) changes nothing.
        if (item == nullptr || !control->IsVisible() || !control->IsEnabled()) return false;
        if (index == curSel_) return true;
    }
    const int old = curSel_;
    if (IListItemUI* previous = ListItemOf(GetItemAt(curSel_))) previous->Select(false);
    curSel_ = -1;
    if (index < 0) return false;
    // Stored before the item hears of it: the item asks back for this index.
    curSel_ = index;
    if (takeFocus) control->SetFocus();
    item->Select(true);
    EnsureVisible(index);
    Invalidate();
    // Last: the handler may destroy the list.
    if (manager_ != nullptr) manager_->SendNotify(this, "itemselect", static_cast<WPARAM>(index), old);
    return true;
}

bool CListUI::ExpandItem(int index, bool expand) {
    IListItemUI* item = ListItemOf(GetItemAt(index));
    if (item == nullptr) return false;
    if (expand && !info_.multiExpandable && expandedItem_ >= 0 && expandedItem_ != index) {
        if (IListItemUI* before = ListItemOf(GetItemAt(expandedItem_))) before->Expand(false);
        expandedItem_ = -1;
    }
    if (!item->Expand(expand)) return false;
    if (expand) {
        expandedItem_ = index;
    } else if (expandedItem_ == index) {
        expandedItem_ = -1;
    }
    return true;
}

void CListUI::EnsureVisible(int index) {
    CControlUI* item = GetItemAt(index);
    if (item == nullptr) return;
    const RECT view = list_->GetClientArea();
    const RECT& at = item->GetPos();
    if (::IsRectEmpty(&view) || ::IsRectEmpty(&at)) return;
    int dy = 0;
    if (at.top < view.top) {
        dy = at.top - view.top;
    } else if (at.bottom > view.bottom) {
        // An item taller than the view shows its top.
        dy = std::min(at.bottom - view.bottom, at.top - view.top);
    }
    if (dy == 0) return;
    SIZE scroll = list_->GetScrollPos();
    scroll.cy += dy;
    list_->SetScrollPos(scroll);
}

// How many items of the current height fill the body once.
int CListUI::PageItems() const {
    CControlUI* item = GetItemAt(curSel_ >= 0 ? curSel_ : FindSelectable(0, true));
    const int itemHeight = item != nullptr ? item->GetHeight() : 0;
    const RECT view = list_->GetClientArea();
    if (itemHeight <= 0) return 1;
    return std::max(1, static_cast<int>(view.bottom - view.top) / itemHeight);
}

void CListUI::DoEvent(UIEvent& event) {
    if (!mouseEnabled_ && IsMouseEvent(event.kind)) {
        CVerticalLayoutUI::DoEvent(event);
        return;
    }
    switch (event.kind) {
    case EventSetFocus:
    case EventKillFocus:
        focused_ = event.kind == EventSetFocus;
        Invalidate();
        return;
    case EventKeyDown:
        if (IsEnabled() && HandleKey(event)) return;
        break;
    case EventScrollWheel:
        if (scrollSelect_) {
            const bool down = event.wParam == 1;
            SelectItem(FindSelectable(curSel_ + (down ? 1 : -1), down), true);
        } else if (event.wParam == 1) {
            list_->LineDown();
        } else {
            list_->LineUp();
        }
        return;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

// Each key names an index to start from and a direction; the nearest
// selectable item from there is selected (without a selection the start
// index is clamped to the first item).
bool CListUI::HandleKey(UIEvent& event) {
    int target = 0;
    bool forward = true;
    switch (static_cast<unsigned char>(event.key)) {
    case VK_UP:
        target = curSel_ - 1;
        forward = false;
        break;
    case VK_DOWN:
        target = curSel_ + 1;
        break;
    case VK_PRIOR:
        target = curSel_ - PageItems();
        forward = false;
        break;
    case VK_NEXT:
        target = curSel_ + PageItems();
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = GetCount() - 1;
        forward = false;
        break;
    case VK_RETURN:
        if (CControlUI* item = GetItemAt(curSel_)) item->Activate();
        return true;
    default:
        return false;
    }
    SelectItem(FindSelectable(target, forward), true);
    return true;
}

void CListUI::SetAttribute(const char* name, const char* value) {
    if (Is(name, "header")) {
        header_->SetVisible(!Is(value, "hidden"));
    } else if (Is(name, "headerbkimage")) {
        header_->SetBkImage(value);
    } else if (Is(name, "scrollselect")) {
        SetScrollSelect(ValueReaders::ReadBool(value));
    } else if (Is(name, "multiexpanding")) {
        info_.multiExpandable = ValueReaders::ReadBool(value);
    } else if (Is(name, "vscrollbar") || Is(name, "hscrollbar") || Is(name, "vscrollbarstyle") ||
               Is(name, "hscrollbarstyle")) {
        // The body is what scrolls.
        list_->SetAttribute(name, value);
    } else if (!SetItemAttribute(name, value)) {
        CVerticalLayoutUI::SetAttribute(name, value);
    }
}

bool CListUI::SetItemAttribute(const char* name, const char* value) {
    if (Is(name, "itemendellipsis")) {
        info_.itemEndEllipsis = ValueReaders::ReadBool(value);
        if (info_.itemEndEllipsis) {
            info_.textStyle |= DT_END_ELLIPSIS;
        } else {
            info_.textStyle &= ~static_cast<UINT>(DT_END_ELLIPSIS);
        }
    } else if (!SetListInfoAttribute(info_, name, value)) {
        return false;
    }
    Invalidate();
    return true;
}

}  // namespace Loom

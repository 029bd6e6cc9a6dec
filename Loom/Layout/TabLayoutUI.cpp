#include "Loom/Layout/TabLayoutUI.h"

#include <algorithm>
#include <cstring>

#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

const char* CTabLayoutUI::GetClass() const { return "TabLayoutUI"; }

void* CTabLayoutUI::GetInterface(const char* name) {
    if (std::strcmp(name, "TabLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control) {
    if (!CContainerUI::Add(control)) return false;
    if (curSel_ == -1 && control->IsVisible()) {
        curSel_ = GetItemIndex(control);
    } else {
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    if (curSel_ == -1 && control->IsVisible()) {
        curSel_ = GetItemIndex(control);
    } else if (curSel_ == -1 || curSel_ < index) {
        control->SetVisible(false);
    } else {
        // Inserted at or before the selected page: the selection moves with
        // its page, and the new page is hidden like every other one.
        curSel_ += 1;
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control)) return false;
    if (curSel_ == index) {
        if (GetCount() > 0) {
            curSel_ = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            curSel_ = -1;
        }
        RequestParentLayout();
    } else if (curSel_ > index) {
        curSel_ -= 1;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    curSel_ = -1;
    CContainerUI::RemoveAll();
    RequestParentLayout();
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == curSel_) return true;
    const int old = curSel_;
    curSel_ = index;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (i == index) {
            item->SetVisible(true);
            item->SetFocus();
            SetPos(pos_);
        } else {
            item->SetVisible(false);
        }
    }
    RequestParentLayout();
    if (manager_ != nullptr) {
        manager_->SetNextTabControl();
        manager_->SendNotify(this, "tabselect", static_cast<WPARAM>(curSel_), static_cast<LPARAM>(old));
    }
    return true;
}

void CTabLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT inset = GetScaledInset();
    const RECT inner{pos_.left + inset.left, pos_.top + inset.top, pos_.right - inset.right,
                     pos_.bottom - inset.bottom};
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != curSel_) continue;
        const RECT pad = item->GetScaledPadding();
        RECT area{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right, inner.bottom - pad.bottom};
        SIZE sz = item->EstimateSize(SIZE{area.right - area.left, area.bottom - area.top});
        if (sz.cx == 0) sz.cx = std::max<LONG>(0, area.right - area.left);
        if (sz.cy == 0) sz.cy = std::max<LONG>(0, area.bottom - area.top);
        if (sz.cx < item->GetScaledMinWidth()) sz.cx = item->GetScaledMinWidth();
        if (sz.cx > item->GetScaledMaxWidth()) sz.cx = item->GetScaledMaxWidth();
        if (sz.cy < item->GetScaledMinHeight()) sz.cy = item->GetScaledMinHeight();
        if (sz.cy > item->GetScaledMaxHeight()) sz.cy = item->GetScaledMaxHeight();
        item->SetPos(RECT{area.left, area.top, area.left + sz.cx, area.top + sz.cy});
    }
}

void CTabLayoutUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "selectedid") == 0) {
        SelectItem(ValueReaders::ReadInt(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

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
    // In fine units (DpiScale), from the unrounded rectangle, so that the
    // page's edges are rounded once.
    const TRect inner = GetExactClientArea(false);
    const long long unit = GetScale().FinePer96Pixel();
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = GetItemAt(i);
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != curSel_) continue;
        const RECT pad = item->GetPadding();
        const long long left = inner.left + pad.left * unit;
        const long long top = inner.top + pad.top * unit;
        const long long width = inner.right - pad.right * unit - left;
        const long long height = inner.bottom - pad.bottom * unit - top;
        const SIZE sz = item->EstimateSize(SIZE{DpiScale::PixelsOfFine(width), DpiScale::PixelsOfFine(height)});
        // An auto size takes the room; a size the page estimates at its fixed
        // size is that size unrounded. The minimum first, the maximum wins.
        auto fine = [unit](LONG estimate, int fixed96, long long room, int min96, int max96) {
            long long v = DpiScale::FineOfPixels(estimate);
            if (estimate == 0) {
                v = std::max(0LL, room);
            } else if (fixed96 != 0 && estimate == DpiScale::PixelsOfFine(fixed96 * unit)) {
                v = fixed96 * unit;
            }
            v = std::max(v, min96 * unit);
            return std::min(v, max96 * unit);
        };
        const long long cx = fine(sz.cx, item->GetFixedWidth(), width, item->GetMinWidth(), item->GetMaxWidth());
        const long long cy = fine(sz.cy, item->GetFixedHeight(), height, item->GetMinHeight(), item->GetMaxHeight());
        item->SetExactPos(
            TRect{DpiScale::ToInt(left), DpiScale::ToInt(top), DpiScale::ToInt(left + cx), DpiScale::ToInt(top + cy)});
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

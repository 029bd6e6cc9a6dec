#include "Loom/Layout/StackChildren.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

int CStackChildren::Count() const { return owner_.GetCount(); }

StackChildInfo CStackChildren::Info(int index) const {
    StackChildInfo info;
    CControlUI* item = owner_.GetItemAt(index);
    if (item == nullptr) {
        info.visible = false;
        return info;
    }
    info.visible = item->IsVisible();
    info.floating = item->IsFloat();
    // The 96-DPI numbers: the arithmetic takes them at the scale unrounded.
    info.padding = RectFrom(item->GetPadding());
    info.fixedWidth = item->GetFixedWidth();
    info.fixedHeight = item->GetFixedHeight();
    info.minWidth = item->GetMinWidth();
    info.maxWidth = item->GetMaxWidth();
    info.minHeight = item->GetMinHeight();
    info.maxHeight = item->GetMaxHeight();
    return info;
}

LayoutSize CStackChildren::Estimate(int index, LayoutSize available) {
    CControlUI* item = owner_.GetItemAt(index);
    if (item == nullptr) return LayoutSize{};
    const SIZE sz = item->EstimateSize(SIZE{available.cx, available.cy});
    return LayoutSize{sz.cx, sz.cy};
}

void CStackChildren::Place(int index, const TRect& rc) {
    CControlUI* item = owner_.GetItemAt(index);
    if (item != nullptr) item->SetExactPos(rc);
}

void CStackChildren::PlaceFloat(int index) { owner_.SetFloatPos(index); }

}  // namespace Loom

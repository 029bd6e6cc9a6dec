#include "Loom/Layout/VerticalLayoutUI.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Core/LayoutArithmetic.h"
#include "Loom/Layout/StackChildren.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

const char* CVerticalLayoutUI::GetClass() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const char* name) {
    if (std::strcmp(name, "VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT client = GetClientArea();
    if (items_.empty()) {
        ProcessScrollBar(client, 0, 0);
        return;
    }
    const bool hbar = IsBarShown(horizontalBar_.get());
    const StackParams params = FineStackParams(GetExactClientArea(), GetScale().Dpi(), GetChildPadding(),
                                               LayoutSize{hbar ? horizontalBar_->GetScrollRange() : 0, 0},
                                               hbar ? horizontalBar_->GetScrollPos() : 0,
                                               IsBarShown(verticalBar_.get()) ? verticalBar_->GetScrollPos() : 0);
    CStackChildren children(*this);
    const int needed = StackVertically(children, params);
    ProcessScrollBar(client, WidestChild(client.right - client.left), needed);
}

// How wide the content must be, for the horizontal bar: each child with its
// padding, a fixed width as it is and an auto width at the client width,
// within its minimum and maximum. Not the widths just laid out: the bar's
// range widens the auto children, which would then keep the bar and its
// range for ever.
int CVerticalLayoutUI::WidestChild(int clientWidth) const {
    long long widest = 0;
    for (CControlUI* item : items_) {
        if (!item->IsVisible() || item->IsFloat()) continue;
        const RECT pad = item->GetScaledPadding();
        long long cx = item->GetScaledFixedWidth();
        if (cx == 0) cx = std::max(0LL, static_cast<long long>(clientWidth) - pad.left - pad.right);
        // As the stacking does: the minimum first, the maximum wins.
        cx = std::min<long long>(std::max<long long>(cx, item->GetScaledMinWidth()), item->GetScaledMaxWidth());
        widest = std::max(widest, pad.left + cx + pad.right);
    }
    return static_cast<int>(std::min<long long>(widest, INT_MAX));
}

void CVerticalLayoutUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "sepheight") == 0) {
        SetSepHeight(ValueReaders::ReadInt(value));
    } else {
        CStackLayoutUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

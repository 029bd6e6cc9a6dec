#include "Loom/Layout/VerticalLayoutUI.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "Loom/Control/ScrollBarUI.h"
#include "Loom/Core/ValueReaders.h"
#include "Loom/Layout/LayoutArithmetic.h"
#include "Loom/Layout/StackChildren.h"

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
    StackParams params;
    params.rc = LayoutRect{client.left, client.top, client.right, client.bottom};
    params.available = LayoutSize{client.right - client.left, client.bottom - client.top};
    if (IsBarShown(horizontalBar_.get())) {
        params.available.cx += horizontalBar_->GetScrollRange();
        params.scrollX = horizontalBar_->GetScrollPos();
    }
    if (IsBarShown(verticalBar_.get())) params.scrollY = verticalBar_->GetScrollPos();
    params.childPadding = childPadding_;
    CStackChildren children(*this);
    const int needed = StackVertically(children, params);
    ProcessScrollBar(client, WidestChild(client.left - params.scrollX), needed);
}

// How wide the laid-out children reach from left (the content's left edge,
// before scrolling), for the horizontal bar.
int CVerticalLayoutUI::WidestChild(int left) const {
    long long widest = 0;
    for (CControlUI* item : items_) {
        if (!item->IsVisible() || item->IsFloat()) continue;
        widest = std::max<long long>(widest, static_cast<long long>(item->GetPos().right) +
                                                 item->GetPadding().right - left);
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

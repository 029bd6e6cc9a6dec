#include "Loom/Layout/HorizontalLayoutUI.h"

#include <cstring>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Core/LayoutArithmetic.h"
#include "Loom/Layout/StackChildren.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

const char* CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const char* name) {
    if (std::strcmp(name, "HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT inset = GetScaledInset();
    RECT client{pos_.left + inset.left, pos_.top + inset.top, pos_.right - inset.right, pos_.bottom - inset.bottom};
    // Unlike the vertical layout, the empty case is decided before the bars
    // take their room.
    if (items_.empty()) {
        ProcessScrollBar(client, 0, 0);
        return;
    }
    if (IsBarShown(verticalBar_.get())) client.right -= verticalBar_->GetScaledFixedWidth();
    if (IsBarShown(horizontalBar_.get())) client.bottom -= horizontalBar_->GetScaledFixedHeight();
    const bool vbar = IsBarShown(verticalBar_.get());
    const StackParams params =
        FineStackParams(GetExactClientArea(), GetScale().Dpi(), GetChildPadding(),
                        LayoutSize{0, vbar ? verticalBar_->GetScrollRange() : 0},
                        IsBarShown(horizontalBar_.get()) ? horizontalBar_->GetScrollPos() : 0, 0);
    CStackChildren children(*this);
    const int needed = StackHorizontally(children, params);
    ProcessScrollBar(client, needed, 0);
}

void CHorizontalLayoutUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "sepwidth") == 0) {
        SetSepWidth(ValueReaders::ReadInt(value));
    } else {
        CStackLayoutUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

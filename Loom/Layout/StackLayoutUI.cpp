#include "Loom/Layout/StackLayoutUI.h"

#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Core/LayoutArithmetic.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

RECT CStackLayoutUI::SepOf(const RECT& rc) const {
    const TRect r = SeparatorRect(RectFrom(rc), ScaleMeasure(sepSize_), vertical_);
    return WinRectFrom(r);
}

UINT CStackLayoutUI::GetControlFlags() const {
    return IsEnabled() && sepSize_ != 0 ? static_cast<UINT>(ControlFlagSetCursor) : 0u;
}

RECT CStackLayoutUI::GetThumbRect() const { return SepOf(IsDragging() ? newPos_ : pos_); }

void CStackLayoutUI::SetSepImmMode(bool immediate) {
    if (sepImm_ == immediate) return;
    // While dragging, the overlay registration follows the mode, so that the
    // button-up that ends the drag finds what it removes.
    if (IsDragging() && manager_ != nullptr) {
        if (immediate) {
            manager_->RemovePostPaint(this);
        } else {
            manager_->AddPostPaint(this);
        }
    }
    sepImm_ = immediate;
}

void CStackLayoutUI::DoEvent(UIEvent& event) {
    if (sepSize_ != 0 && HandleSeparatorEvent(event)) return;
    CContainerUI::DoEvent(event);
}

bool CStackLayoutUI::HandleSeparatorEvent(UIEvent& event) {
    switch (event.kind) {
    case EventButtonDown: {
        if (!IsEnabled()) return false;
        const RECT sep = GetThumbRect();
        if (!::PtInRect(&sep, event.mousePoint)) return false;
        buttonState_ |= kDragging;
        lastMouse_ = event.mousePoint;
        newPos_ = pos_;
        if (!sepImm_ && manager_ != nullptr) manager_->AddPostPaint(this);
        return true;
    }
    case EventButtonUp:
        if (!IsDragging()) return false;
        buttonState_ &= ~kDragging;
        pos_ = newPos_;
        if (!sepImm_ && manager_ != nullptr) manager_->RemovePostPaint(this);
        RequestParentLayout();
        return true;
    case EventMouseMove:
        if (!IsDragging()) return false;
        DragTo(event.mousePoint);
        return true;
    case EventSetCursor: {
        const RECT sep = GetThumbRect();
        if (!IsEnabled() || !::PtInRect(&sep, event.mousePoint)) return false;
        ::SetCursor(::LoadCursor(nullptr, vertical_ ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    default:
        return false;
    }
}

void CStackLayoutUI::DragTo(POINT pt) {
    const RECT before = newPos_;
    LONG& start = vertical_ ? newPos_.top : newPos_.left;
    LONG& end = vertical_ ? newPos_.bottom : newPos_.right;
    SeparatorDrag drag{start, end, vertical_ ? lastMouse_.y : lastMouse_.x};
    const int sep = ScaleMeasure(sepSize_);
    const bool moved = vertical_ ? DragSeparator(drag, pt.y, sep, GetScaledMinHeight(), GetScaledMaxHeight())
                                 : DragSeparator(drag, pt.x, sep, GetScaledMinWidth(), GetScaledMaxWidth());
    lastMouse_ = pt;
    if (!moved) return;
    start = drag.start;
    end = drag.end;
    // The fixed size is kept at 96 DPI, as markup gives it.
    (vertical_ ? fixedSize_.cy : fixedSize_.cx) = UnscaleMeasure(drag.end - drag.start);
    if (sepImm_) {
        pos_ = newPos_;
        RequestParentLayout();
        return;
    }
    if (manager_ == nullptr) return;
    RECT area = SepOf(before);
    const RECT now = GetThumbRect();
    const RECT current = SepOf(pos_);
    ::UnionRect(&area, &area, &now);
    ::UnionRect(&area, &area, &current);
    manager_->Invalidate(area);
}

void CStackLayoutUI::PaintOverlay(HDC dc, const RECT& /*dirty*/) {
    if (!IsDragging() || sepImm_) return;
    CRenderer::DrawColor(dc, GetThumbRect(), 0xAA000000);
}

void CStackLayoutUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "sepimm") == 0) {
        SetSepImmMode(ValueReaders::ReadBool(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

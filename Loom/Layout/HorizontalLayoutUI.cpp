#include "Loom/Layout/HorizontalLayoutUI.h"

#include <cstring>

#include "Loom/Control/ScrollBarUI.h"
#include "Loom/Core/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Core/ValueReaders.h"
#include "Loom/Layout/LayoutArithmetic.h"
#include "Loom/Layout/StackChildren.h"

namespace Loom {

namespace {

RECT SepOf(const RECT& rc, int size) {
    const LayoutRect r = SeparatorRect(LayoutRect{rc.left, rc.top, rc.right, rc.bottom}, size, false);
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

const char* CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const char* name) {
    if (std::strcmp(name, "HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const {
    return IsEnabled() && sepWidth_ != 0 ? static_cast<UINT>(ControlFlagSetCursor) : 0u;
}

void CHorizontalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    RECT client{pos_.left + inset_.left, pos_.top + inset_.top, pos_.right - inset_.right,
                pos_.bottom - inset_.bottom};
    // Unlike the vertical layout, the empty case is decided before the bars
    // take their room.
    if (items_.empty()) {
        ProcessScrollBar(client, 0, 0);
        return;
    }
    if (IsBarShown(verticalBar_.get())) client.right -= verticalBar_->GetFixedWidth();
    if (IsBarShown(horizontalBar_.get())) client.bottom -= horizontalBar_->GetFixedHeight();
    StackParams params;
    params.rc = LayoutRect{client.left, client.top, client.right, client.bottom};
    params.available = LayoutSize{client.right - client.left, client.bottom - client.top};
    if (IsBarShown(verticalBar_.get())) params.available.cy += verticalBar_->GetScrollRange();
    if (IsBarShown(horizontalBar_.get())) params.scrollX = horizontalBar_->GetScrollPos();
    params.childPadding = childPadding_;
    CStackChildren children(*this);
    const int needed = StackHorizontally(children, params);
    ProcessScrollBar(client, needed, 0);
}

RECT CHorizontalLayoutUI::GetThumbRect() const { return SepOf(IsDragging() ? newPos_ : pos_, sepWidth_); }

void CHorizontalLayoutUI::SetSepImmMode(bool immediate) {
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

void CHorizontalLayoutUI::DoEvent(UIEvent& event) {
    if (sepWidth_ != 0 && HandleSeparatorEvent(event)) return;
    CContainerUI::DoEvent(event);
}

bool CHorizontalLayoutUI::HandleSeparatorEvent(UIEvent& event) {
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
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
        return true;
    }
    default:
        return false;
    }
}

void CHorizontalLayoutUI::DragTo(POINT pt) {
    const RECT before = newPos_;
    SeparatorDrag drag{newPos_.left, newPos_.right, lastMouse_.x};
    const bool moved = DragSeparator(drag, pt.x, sepWidth_, GetMinWidth(), GetMaxWidth());
    lastMouse_ = pt;
    if (!moved) return;
    newPos_.left = drag.start;
    newPos_.right = drag.end;
    fixedSize_.cx = newPos_.right - newPos_.left;
    if (sepImm_) {
        pos_ = newPos_;
        RequestParentLayout();
        return;
    }
    if (manager_ == nullptr) return;
    RECT area = SepOf(before, sepWidth_);
    const RECT now = GetThumbRect();
    const RECT current = SepOf(pos_, sepWidth_);
    ::UnionRect(&area, &area, &now);
    ::UnionRect(&area, &area, &current);
    manager_->Invalidate(area);
}

void CHorizontalLayoutUI::PaintOverlay(HDC dc, const RECT& /*dirty*/) {
    if (!IsDragging() || sepImm_) return;
    CRenderer::DrawColor(dc, GetThumbRect(), 0xAA000000);
}

void CHorizontalLayoutUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "sepwidth") == 0) {
        SetSepWidth(ValueReaders::ReadInt(value));
    } else if (std::strcmp(name, "sepimm") == 0) {
        SetSepImmMode(ValueReaders::ReadBool(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

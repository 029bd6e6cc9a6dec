#include "Loom/Layout/VerticalLayoutUI.h"

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
    const LayoutRect r = SeparatorRect(LayoutRect{rc.left, rc.top, rc.right, rc.bottom}, size, true);
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

const char* CVerticalLayoutUI::GetClass() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const char* name) {
    if (std::strcmp(name, "VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const {
    return IsEnabled() && sepHeight_ != 0 ? static_cast<UINT>(ControlFlagSetCursor) : 0u;
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
    ProcessScrollBar(client, 0, needed);
}

RECT CVerticalLayoutUI::GetThumbRect() const { return SepOf(IsDragging() ? newPos_ : pos_, sepHeight_); }

void CVerticalLayoutUI::SetSepImmMode(bool immediate) {
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

void CVerticalLayoutUI::DoEvent(UIEvent& event) {
    if (sepHeight_ != 0 && HandleSeparatorEvent(event)) return;
    CContainerUI::DoEvent(event);
}

bool CVerticalLayoutUI::HandleSeparatorEvent(UIEvent& event) {
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
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
        return true;
    }
    default:
        return false;
    }
}

void CVerticalLayoutUI::DragTo(POINT pt) {
    const RECT before = newPos_;
    SeparatorDrag drag{newPos_.top, newPos_.bottom, lastMouse_.y};
    const bool moved = DragSeparator(drag, pt.y, sepHeight_, GetMinHeight(), GetMaxHeight());
    lastMouse_ = pt;
    if (!moved) return;
    newPos_.top = drag.start;
    newPos_.bottom = drag.end;
    fixedSize_.cy = newPos_.bottom - newPos_.top;
    if (sepImm_) {
        pos_ = newPos_;
        RequestParentLayout();
        return;
    }
    if (manager_ == nullptr) return;
    RECT area = SepOf(before, sepHeight_);
    const RECT now = GetThumbRect();
    const RECT current = SepOf(pos_, sepHeight_);
    ::UnionRect(&area, &area, &now);
    ::UnionRect(&area, &area, &current);
    manager_->Invalidate(area);
}

void CVerticalLayoutUI::PaintOverlay(HDC dc, const RECT& /*dirty*/) {
    if (!IsDragging() || sepImm_) return;
    CRenderer::DrawColor(dc, GetThumbRect(), 0xAA000000);
}

void CVerticalLayoutUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "sepheight") == 0) {
        SetSepHeight(ValueReaders::ReadInt(value));
    } else if (std::strcmp(name, "sepimm") == 0) {
        SetSepImmMode(ValueReaders::ReadBool(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

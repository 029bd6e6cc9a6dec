#include "Loom/Control/ListContainerElementUI.h"

#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

const char* CListContainerElementUI::GetClass() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::GetInterface(const char* name) {
    if (std::strcmp(name, "ListContainerElement") == 0) return static_cast<CListContainerElementUI*>(this);
    return CListItemUI<CContainerUI>::GetInterface(name);
}

void CListContainerElementUI::DrawItemText(HDC /*dc*/, const RECT& /*rc*/) {}

bool CListContainerElementUI::HandleItemEvent(UIEvent& event) {
    switch (event.kind) {
    case EventButtonDown:
    case EventRButtonDown:
        if (IsEnabled()) {
            const std::weak_ptr<int> life = LifeToken();
            if (manager_ != nullptr) manager_->SendNotify(this, "itemclick");
            if (life.expired()) return true;
            Invalidate();
            Select();  // last: the owner's "itemselect" may destroy the item
        }
        return true;
    case EventDoubleClick:
        if (IsEnabled()) Activate();
        return true;
    case EventKeyDown:
        if (!IsEnabled() || event.key != VK_RETURN) return false;
        Activate();
        return true;
    case EventButtonUp:
    case EventMouseMove:
        return true;
    case EventMouseEnter:
        if (IsEnabled()) {
            state_ |= StateHot;
            Invalidate();
        }
        return true;
    case EventMouseLeave:
        state_ &= ~StateHot;
        Invalidate();
        return true;
    case EventSetFocus:
    case EventKillFocus:
        focused_ = event.kind == EventSetFocus;
        Invalidate();
        return true;
    default:
        return false;
    }
}

SIZE CListContainerElementUI::EstimateSize(SIZE /*available*/) {
    SIZE sz{GetScaledFixedWidth(), GetScaledFixedHeight()};
    if (sz.cy != 0 || manager_ == nullptr) return sz;
    const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
    const int font = info != nullptr ? info->font : -1;
    const int padding =
        info != nullptr ? ScaleMeasure(info->textPadding.top) + ScaleMeasure(info->textPadding.bottom) : 0;
    sz.cy = manager_->GetFontInfo(font).tmHeight + padding + ScaleMeasure(8);
    return sz;
}

void CListContainerElementUI::PaintBkColor(HDC dc) {
    if (owner_ == nullptr) {
        CContainerUI::PaintBkColor(dc);
        return;
    }
    if (const TContrastColors* contrast = GetContrastColors()) {
        // No images; the selected row in the highlight.
        CRenderer::DrawColor(dc, paintRect_, selected_ && IsEnabled() ? contrast->highlight : contrast->window);
        return;
    }
    const TListInfoUI& info = *owner_->GetListInfo();
    const bool odd = info.alternateBk && index_ % 2 == 1;
    DWORD color = odd ? 0 : info.bkColor;
    if (state_ & StateHot) color = info.hotBkColor;
    if (selected_) color = info.selectedBkColor;
    if (!IsEnabled()) color = info.disabledBkColor;
    if (color != 0) CRenderer::DrawColor(dc, paintRect_, color);
    if (!DrawFirstImage(dc, info)) {
        if (!odd && !bkImage_.empty()) {
            DrawImage(dc, bkImage_);
        } else if (!info.bkImage.empty()) {
            DrawImage(dc, info.bkImage);
        }
    }
    if (info.lineColor != 0) {
        const int width = ScaleMeasure(1);
        const int y = pos_.bottom - (width + 1) / 2;  // the pen's width centred on y, within the row
        CRenderer::DrawLine(dc, RECT{pos_.left, y, pos_.right, y}, width, info.lineColor);
    }
}

// The disabled, selected or hot image, the first that applies and draws.
bool CListContainerElementUI::DrawFirstImage(HDC dc, const TListInfoUI& info) {
    if (!IsEnabled() && !info.disabledImage.empty() && DrawImage(dc, info.disabledImage)) return true;
    if (selected_ && !info.selectedImage.empty() && DrawImage(dc, info.selectedImage)) return true;
    return (state_ & StateHot) && !info.hotImage.empty() && DrawImage(dc, info.hotImage);
}

void CListContainerElementUI::PaintBkImage(HDC dc) {
    if (owner_ == nullptr) CContainerUI::PaintBkImage(dc);
}

}  // namespace Loom

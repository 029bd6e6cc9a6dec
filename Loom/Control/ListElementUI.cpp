#include "Loom/Control/ListElementUI.h"

#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

const char* CListElementUI::GetClass() const { return "ListElementUI"; }

void* CListElementUI::GetInterface(const char* name) {
    if (std::strcmp(name, "ListElement") == 0) return static_cast<CListElementUI*>(this);
    return CListItemUI<CControlUI>::GetInterface(name);
}

void CListElementUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!enabled) buttonState_ = 0;
}

bool CListElementUI::HandleItemEvent(UIEvent& event) {
    switch (event.kind) {
    case EventDoubleClick:
        if (!IsEnabled()) return false;
        Activate();
        Invalidate();
        return true;
    case EventKeyDown:
        if (!IsEnabled() || event.key != VK_RETURN) return false;
        Activate();
        return true;
    case EventMouseEnter:
        if (!IsEnabled()) return false;
        buttonState_ |= StateHot;
        Invalidate();
        return true;
    case EventMouseLeave:
        if ((buttonState_ & StateHot) == 0) return false;
        buttonState_ &= ~StateHot;
        Invalidate();
        return true;
    case EventSetFocus:
    case EventKillFocus:
    case EventSetCursor:
    case EventTimer:
        CControlUI::DoEvent(event);
        return true;
    default:
        return false;
    }
}

DWORD CListElementUI::ContrastTextColor(const TContrastColors& colors) const {
    if (!IsEnabled()) return colors.grayText;
    if (selected_) return colors.highlightText;
    if ((buttonState_ & StateHot) != 0) return colors.hotLight;
    return colors.windowText;
}

void CListElementUI::DoPaint(HDC dc, const RECT& dirty) {
    if (!::IntersectRect(&paintRect_, &dirty, &pos_)) return;
    DrawItemBk(dc, pos_);
}

bool CListElementUI::DrawStateImage(HDC dc, TListInfoUI& info) {
    std::string* image = nullptr;
    if (!IsEnabled()) {
        image = &info.disabledImage;
    } else if (selected_) {
        image = &info.selectedImage;
    } else if ((buttonState_ & StateHot) != 0) {
        image = &info.hotImage;
    }
    if (image == nullptr || image->empty()) return false;
    if (DrawImage(dc, *image)) return true;
    image->clear();  // no manager or DC: not tried again
    return false;
}

void CListElementUI::DrawItemBk(HDC dc, const RECT& rc) {
    if (owner_ == nullptr) return;
    TListInfoUI* info = owner_->GetListInfo();
    if (info == nullptr) return;
    if (const TContrastColors* contrast = GetContrastColors()) {
        // No images; the selected row in the highlight.
        const bool marked = selected_ && IsEnabled();
        CRenderer::DrawColor(dc, rc, marked ? contrast->highlight : contrast->window);
        return;
    }
    const bool plainRow = !info->alternateBk || !IsOddRow();
    DWORD color = plainRow ? info->bkColor : 0;
    if ((buttonState_ & StateHot) != 0) color = info->hotBkColor;
    if (selected_) color = info->selectedBkColor;
    if (!IsEnabled()) color = info->disabledBkColor;
    if (color != 0) CRenderer::DrawColor(dc, rc, color);
    if (DrawStateImage(dc, *info)) return;
    if (!bkImage_.empty()) {
        // Odd rows of an alternating list keep no image of their own.
        if (plainRow && !DrawImage(dc, bkImage_)) bkImage_.clear();
    } else if (!info->bkImage.empty()) {
        if (!DrawImage(dc, info->bkImage)) info->bkImage.clear();
    }
    if (info->lineColor != 0) {
        const int width = ScaleMeasure(1);
        const int y = rc.bottom - (width + 1) / 2;  // the pen's width centred on y, within the row
        CRenderer::DrawLine(dc, RECT{rc.left, y, rc.right, y}, width, info->lineColor);
    }
}

}  // namespace Loom

#include "Loom/Control/ListLabelElementUI.h"

#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

namespace {

// The manager that holds font index: a drop-down's own manager has no fonts
// of its own and finds them along its resource parents.
CUIManager* FontOwner(CUIManager* manager, int index) {
    while (manager != nullptr && index >= manager->GetCustomFontCount() && manager->GetResourceParent() != nullptr) {
        manager = manager->GetResourceParent();
    }
    return manager;
}

}  // namespace

const char* CListLabelElementUI::GetClass() const { return "ListLabelElementUI"; }

void* CListLabelElementUI::GetInterface(const char* name) {
    if (std::strcmp(name, "ListLabelElement") == 0) return static_cast<CListLabelElementUI*>(this);
    return CListElementUI::GetInterface(name);
}

void CListLabelElementUI::DoEvent(UIEvent& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        PassToOwner(event);
        return;
    }
    switch (event.kind) {
    case EventButtonDown:
    case EventRButtonDown: {
        if (!IsEnabled()) break;
        const std::weak_ptr<int> life = LifeToken();
        if (manager_ != nullptr) manager_->SendNotify(this, "itemclick");
        if (life.expired()) return;
        Invalidate();
        Select();  // last: the owner's "itemselect" may destroy the item
        return;
    }
    case EventMouseMove:
    case EventButtonUp:
        // Pointer positions of an item are in its own window (a drop-down);
        // they mean nothing to the owner's window.
        return;
    default:
        break;
    }
    CListElementUI::DoEvent(event);
}

SIZE CListLabelElementUI::EstimateSize(SIZE /*available*/) {
    SIZE size{GetScaledFixedWidth(), GetScaledFixedHeight()};
    if (owner_ == nullptr) return size;
    const TListInfoUI* info = owner_->GetListInfo();
    const RECT pad = ScaleEdges(info->textPadding);
    CUIManager* fonts = FontOwner(manager_, info->font);
    if (size.cy == 0) {
        const int fontHeight = fonts != nullptr ? fonts->GetFontInfo(info->font).tmHeight : 0;
        size.cy = fontHeight + pad.top + pad.bottom + ScaleMeasure(8);
    }
    if (size.cx == 0 && fonts != nullptr && fonts->GetPaintDC() != nullptr && !text_.empty()) {
        RECT rc{0, 0, 9999, size.cy};
        const UINT format = DT_SINGLELINE | DT_CALCRECT | (info->textStyle & ~(DT_RIGHT | DT_CENTER));
        if (info->showHtml) {
            int links = 0;
            CRenderer::DrawHtmlText(fonts->GetPaintDC(), fonts, rc, text_.c_str(), 0, nullptr, nullptr, links, format);
        } else {
            CRenderer::DrawText(fonts->GetPaintDC(), fonts, rc, text_.c_str(), 0, info->font, format);
        }
        size.cx = rc.right - rc.left + pad.left + pad.right;
    }
    return size;
}

void CListLabelElementUI::DoPaint(HDC dc, const RECT& dirty) {
    if (!::IntersectRect(&paintRect_, &dirty, &pos_)) return;
    DrawItemBk(dc, pos_);
    DrawItemText(dc, pos_);
}

void CListLabelElementUI::DrawItemText(HDC dc, const RECT& rc) {
    if (text_.empty() || owner_ == nullptr) return;
    const TListInfoUI* info = owner_->GetListInfo();
    DWORD color = info->textColor;
    if ((buttonState_ & StateHot) != 0) color = info->hotTextColor;
    if (selected_) color = info->selectedTextColor;
    if (!IsEnabled()) color = info->disabledTextColor;
    if (const TContrastColors* contrast = GetContrastColors()) color = ContrastTextColor(*contrast);
    const RECT pad = ScaleEdges(info->textPadding);
    RECT text{rc.left + pad.left, rc.top + pad.top, rc.right - pad.right, rc.bottom - pad.bottom};
    CUIManager* fonts = FontOwner(manager_, info->font);
    if (info->showHtml) {
        int links = 0;
        CRenderer::DrawHtmlText(dc, fonts, text, text_.c_str(), color, nullptr, nullptr, links,
                                info->textStyle | DT_SINGLELINE);
    } else {
        CRenderer::DrawText(dc, fonts, text, text_.c_str(), color, info->font, info->textStyle | DT_SINGLELINE);
    }
}

}  // namespace Loom

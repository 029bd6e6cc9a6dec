#include "Loom/Control/TextUI.h"

#include <algorithm>
#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

CTextUI::CTextUI() {
    textStyle_ = DT_WORDBREAK;
    textPadding_ = RECT{2, 0, 2, 0};
}

const char* CTextUI::GetClass() const { return "TextUI"; }

void* CTextUI::GetInterface(const char* name) {
    if (std::strcmp(name, "Text") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const { return IsEnabled() && linkCount_ > 0 ? ControlFlagSetCursor : 0u; }

RECT CTextUI::GetLinkRect(int index) const {
    return index >= 0 && index < linkCount_ ? links_[index] : RECT{0, 0, 0, 0};
}

std::string CTextUI::GetLinkText(int index) const {
    return index >= 0 && index < linkCount_ ? linkTexts_[index] : std::string();
}

int CTextUI::LinkAt(POINT pt) const {
    for (int i = 0; i < linkCount_; ++i) {
        if (::PtInRect(&links_[i], pt)) return i;
    }
    return -1;
}

void CTextUI::DoEvent(UIEvent& event) {
    if (PassMouseEventOn(event)) return;
    const int link = LinkAt(event.mousePoint);
    switch (event.kind) {
    case EventSetCursor:
        if (link >= 0) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return;
        }
        break;
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled() && link >= 0) {
            Invalidate();
            return;
        }
        break;
    case EventButtonUp:
        if (IsEnabled() && link >= 0) {
            if (manager_ != nullptr) manager_->SendNotify(this, "link", static_cast<WPARAM>(link));
            return;
        }
        break;
    case EventContextMenu:
        return;
    case EventMouseMove:
        if (linkCount_ > 0 && IsEnabled() && hoverLink_ != link) {
            hoverLink_ = link;
            Invalidate();
            return;
        }
        break;
    case EventMouseLeave:
        if (linkCount_ > 0 && IsEnabled() && hoverLink_ != -1) {
            hoverLink_ = -1;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE available) {
    if (manager_ == nullptr) return CControlUI::EstimateSize(available);
    const RECT padding = GetScaledTextPadding();
    RECT rc{padding.left, 0, std::max<long>(available.cx, GetScaledFixedWidth()) - padding.right, 9999};
    const UINT measure = DT_CALCRECT | textStyle_;
    if (showHtml_) {
        int links = 0;
        CRenderer::DrawHtmlText(manager_->GetPaintDC(), manager_, rc, text_.c_str(), textColor_, nullptr, nullptr,
                                links, measure);
    } else {
        CRenderer::DrawText(manager_->GetPaintDC(), manager_, rc, text_.c_str(), textColor_, font_, measure);
    }
    SIZE size{rc.right - rc.left + padding.left + padding.right, rc.bottom - rc.top + padding.top + padding.bottom};
    if (fixedSize_.cy != 0) size.cy = GetScaledFixedHeight();
    return size;
}

void CTextUI::PaintText(HDC dc) {
    if (manager_ == nullptr) return;
    int drawn = 0;
    if (!text_.empty()) {
        const DWORD color = ShownTextColor();
        RECT rc = GetTextRect();
        if (showHtml_) {
            // The previous paint's links go in, so a hovered link keeps its colour.
            drawn = kMaxLinks;
            CRenderer::DrawHtmlText(dc, manager_, rc, text_.c_str(), color, links_, linkTexts_, drawn, textStyle_);
        } else {
            CRenderer::DrawText(dc, manager_, rc, text_.c_str(), color, font_, textStyle_);
        }
    }
    // Slots this paint did not fill must not pass for links any more.
    linkCount_ = drawn;
    for (int i = drawn; i < kMaxLinks; ++i) {
        links_[i] = RECT{0, 0, 0, 0};
        linkTexts_[i].clear();
    }
    if (hoverLink_ >= linkCount_) hoverLink_ = -1;
}

}  // namespace Loom

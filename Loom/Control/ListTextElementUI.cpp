#include "Loom/Control/ListTextElementUI.h"

#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

namespace {

constexpr int kMaxColumns = static_cast<int>(sizeof(TListInfoUI::columnRects) / sizeof(RECT));

}  // namespace

const char* CListTextElementUI::GetClass() const { return "ListTextElementUI"; }

void* CListTextElementUI::GetInterface(const char* name) {
    if (std::strcmp(name, "ListTextElement") == 0) return static_cast<CListTextElementUI*>(this);
    return CListLabelElementUI::GetInterface(name);
}

UINT CListTextElementUI::GetControlFlags() const {
    return IsEnabled() && linkCount_ > 0 ? static_cast<UINT>(ControlFlagSetCursor) : 0u;
}

std::string CListTextElementUI::GetText(int column) const {
    if (column == 0) return text_;
    if (column < 0 || column > static_cast<int>(texts_.size())) return std::string();
    return texts_[static_cast<size_t>(column - 1)];
}

bool CListTextElementUI::SetText(int column, const std::string& text) {
    if (column < 0 || column >= kMaxColumns) return false;
    if (column == 0) {
        SetText(text);
        return true;
    }
    if (static_cast<int>(texts_.size()) < column) texts_.resize(static_cast<size_t>(column));
    texts_[static_cast<size_t>(column - 1)] = text;
    Invalidate();
    return true;
}

RECT CListTextElementUI::GetLinkRect(int index) const {
    if (index < 0 || index >= linkCount_) return RECT{0, 0, 0, 0};
    return links_[index];
}

int CListTextElementUI::LinkAt(POINT pt) const {
    for (int i = 0; i < linkCount_; ++i) {
        if (::PtInRect(&links_[i], pt)) return i;
    }
    return -1;
}

void CListTextElementUI::DoEvent(UIEvent& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        CListLabelElementUI::DoEvent(event);
        return;
    }
    switch (event.kind) {
    case EventSetCursor:
        if (LinkAt(event.mousePoint) >= 0) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return;
        }
        break;
    case EventButtonUp: {
        const int link = LinkAt(event.mousePoint);
        if (IsEnabled() && link >= 0 && manager_ != nullptr) manager_->SendNotify(this, "link", link);
        return;
    }
    case EventMouseMove: {
        const int link = LinkAt(event.mousePoint);
        if (link != hoverLink_) {
            hoverLink_ = link;
            Invalidate();
        }
        return;
    }
    case EventMouseLeave:
        if (hoverLink_ >= 0) {
            hoverLink_ = -1;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CListLabelElementUI::DoEvent(event);
}

DWORD CListTextElementUI::ItemTextColor(const TListInfoUI& info) const {
    DWORD color = info.textColor;
    if ((buttonState_ & StateHot) != 0) color = info.hotTextColor;
    if (selected_) color = info.selectedTextColor;
    if (!IsEnabled()) color = info.disabledTextColor;
    if (const TContrastColors* contrast = GetContrastColors()) color = ContrastTextColor(*contrast);
    return color;
}

void CListTextElementUI::DrawItemText(HDC dc, const RECT& rc) {
    if (owner_ == nullptr || manager_ == nullptr) return;
    const TListInfoUI& info = *owner_->GetListInfo();
    const DWORD color = ItemTextColor(info);
    int used = 0;
    if (info.columns == 0) {
        DrawCell(dc, rc, text_, color, info, used);
    } else {
        for (int i = 0; i < info.columns; ++i) {
            const RECT cell{info.columnRects[i].left, rc.top, info.columnRects[i].right, rc.bottom};
            DrawCell(dc, cell, GetText(i), color, info, used);
        }
    }
    // Slots this paint did not fill go, so that an old link cannot be hit
    // or take the hover colour.
    for (int i = used; i < kMaxLinks; ++i) {
        links_[i] = RECT{0, 0, 0, 0};
        linkTexts_[i].clear();
    }
    linkCount_ = used;
}

void CListTextElementUI::DrawCell(HDC dc, RECT cell, const std::string& text, DWORD color, const TListInfoUI& info,
                                  int& used) {
    if (text.empty()) return;
    const RECT pad = ScaleEdges(info.textPadding);
    cell.left += pad.left;
    cell.top += pad.top;
    cell.right -= pad.right;
    cell.bottom -= pad.bottom;
    const UINT style = info.textStyle | DT_SINGLELINE;
    if (!info.showHtml) {
        CRenderer::DrawText(dc, manager_, cell, text.c_str(), color, info.font, style);
        return;
    }
    int room = kMaxLinks - used;
    CRenderer::DrawHtmlText(dc, manager_, cell, text.c_str(), color, links_ + used, linkTexts_ + used, room, style);
    used += room;
}

}  // namespace Loom

#include "Loom/Control/ListHeaderItemUI.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

CListHeaderItemUI::CListHeaderItemUI() = default;

const char* CListHeaderItemUI::GetClass() const { return "ListHeaderItemUI"; }

void* CListHeaderItemUI::GetInterface(const char* name) {
    if (Is(name, "ListHeaderItem")) return this;
    return CControlUI::GetInterface(name);
}

UINT CListHeaderItemUI::GetControlFlags() const {
    return IsEnabled() && dragable_ && sepWidth_ != 0 ? static_cast<UINT>(ControlFlagSetCursor) : 0u;
}

void CListHeaderItemUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!enabled) state_ = 0;
}

void CListHeaderItemUI::SetDragable(bool dragable) {
    dragable_ = dragable;
    if (!dragable) state_ &= ~StateCaptured;
}

void CListHeaderItemUI::SetSepWidth(int width) {
    sepWidth_ = width;
    Invalidate();
}

RECT CListHeaderItemUI::GetThumbRect() const {
    const int sep = ScaleMeasure(sepWidth_);
    if (sep > 0) return RECT{std::max(pos_.left, pos_.right - sep), pos_.top, pos_.right, pos_.bottom};
    if (sep < 0) return RECT{pos_.left, pos_.top, std::min(pos_.right, pos_.left - sep), pos_.bottom};
    return RECT{0, 0, 0, 0};
}

void CListHeaderItemUI::DoEvent(UIEvent& event) {
    if (!mouseEnabled_ && IsMouseEvent(event.kind)) {
        if (parent_ != nullptr) {
            parent_->DoEvent(event);
        } else {
            CControlUI::DoEvent(event);
        }
        return;
    }
    if (event.kind == EventSetFocus || event.kind == EventKillFocus) {
        focused_ = event.kind == EventSetFocus;
        Invalidate();
        return;
    }
    if (HandleMouse(event)) return;
    CControlUI::DoEvent(event);
}

bool CListHeaderItemUI::HandleMouse(UIEvent& event) {
    const POINT pt = event.mousePoint;
    switch (event.kind) {
    case EventButtonDown:
    case EventDoubleClick: {
        if (!IsEnabled()) return false;
        const RECT sep = GetThumbRect();
        state_ |= dragable_ && ::PtInRect(&sep, pt) ? StateCaptured : StatePushed;
        lastMouse_ = pt;
        Invalidate();
        return true;
    }
    case EventButtonUp:
        if (state_ & StateCaptured) {
            state_ &= ~StateCaptured;
        } else if (state_ & StatePushed) {
            state_ &= ~StatePushed;
            Invalidate();
            if (::PtInRect(&pos_, pt) && manager_ != nullptr) manager_->SendNotify(this, "headerclick");
        }
        return true;
    case EventMouseMove:
        if (state_ & StateCaptured) DragTo(pt);
        return true;
    case EventSetCursor: {
        const RECT sep = GetThumbRect();
        const bool onSep = IsEnabled() && dragable_ && ::PtInRect(&sep, pt);
        ::SetCursor(::LoadCursor(nullptr, onSep ? IDC_SIZEWE : IDC_ARROW));
        return true;
    }
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
    default:
        return false;
    }
}

// The separator follows the pointer; the whole list is laid out again so
// that its items take the new column edges. The pointer moves in the
// window's pixels; the column keeps its width in 96-DPI numbers, so that a
// later change of scale shows it from those and never scales it twice.
void CListHeaderItemUI::DragTo(POINT pt) {
    const int dx = pt.x - lastMouse_.x;
    lastMouse_ = pt;
    if (dx == 0) return;
    const int least = std::max(GetScaledMinWidth(), std::abs(ScaleMeasure(sepWidth_)));
    int width = GetWidth() + (sepWidth_ >= 0 ? dx : -dx);
    width = std::min(std::max(width, least), GetScaledMaxWidth());
    if (width == GetWidth() && width == GetScaledFixedWidth()) return;
    SetFixedWidth(UnscaleMeasure(width));
    if (parent_ != nullptr) parent_->RequestParentLayout();
}

SIZE CListHeaderItemUI::EstimateSize(SIZE /*available*/) {
    SIZE sz{GetScaledFixedWidth(), GetScaledFixedHeight()};
    if (sz.cy == 0 && manager_ != nullptr) sz.cy = manager_->GetFontInfo(font_).tmHeight + ScaleMeasure(14);
    return sz;
}

bool CListHeaderItemUI::DrawStateImage(HDC dc, std::string& image) {
    if (image.empty()) return false;
    if (DrawImage(dc, image)) return true;
    image.clear();
    return false;
}

void CListHeaderItemUI::PaintStatusImage(HDC dc) {
    if (focused_) {
        state_ |= StateFocused;
    } else {
        state_ &= ~StateFocused;
    }
    if (const TContrastColors* contrast = GetContrastColors()) {
        // A framed button face, in the highlight while pressed.
        const bool pushed = (state_ & StatePushed) != 0;
        CRenderer::DrawColor(dc, paintRect_, pushed ? contrast->highlight : contrast->buttonFace);
        CRenderer::DrawRect(dc, pos_, std::max(1, ScaleMeasure(1)), contrast->buttonText);
        return;
    }
    bool drawn = false;
    if (state_ & StatePushed) {
        drawn = DrawStateImage(dc, pushedImage_);
    } else if (state_ & StateHot) {
        drawn = DrawStateImage(dc, hotImage_);
    } else if (state_ & StateFocused) {
        drawn = DrawStateImage(dc, focusedImage_);
    }
    if (!drawn) DrawStateImage(dc, normalImage_);
    if (sepImage_.empty() || sepWidth_ == 0) return;
    const RECT sep = GetThumbRect();
    char dest[80];
    std::snprintf(dest, sizeof(dest), "dest='%ld,%ld,%ld,%ld'", sep.left - pos_.left, sep.top - pos_.top,
                  sep.right - pos_.left, sep.bottom - pos_.top);
    if (!DrawImage(dc, sepImage_, dest)) sepImage_.clear();
}

void CListHeaderItemUI::PaintText(HDC dc) {
    if (text_.empty() || manager_ == nullptr) return;
    DWORD color = textColor_ != 0 ? textColor_ : manager_->GetDefaultFontColor();
    if (const TContrastColors* contrast = GetContrastColors()) {
        color = (state_ & StatePushed) != 0 ? contrast->highlightText : contrast->buttonText;
    }
    const RECT padding = ScaleEdges(textPadding_);
    RECT rc{pos_.left + padding.left, pos_.top + padding.top, pos_.right - padding.right, pos_.bottom - padding.bottom};
    if (showHtml_) {
        int links = 0;
        CRenderer::DrawHtmlText(dc, manager_, rc, text_.c_str(), color, nullptr, nullptr, links,
                                textStyle_ | DT_SINGLELINE);
    } else {
        CRenderer::DrawText(dc, manager_, rc, text_.c_str(), color, font_, textStyle_ | DT_SINGLELINE);
    }
}

void CListHeaderItemUI::SetAlign(const char* value) {
    if (std::strstr(value, "left") != nullptr) textStyle_ &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
    if (std::strstr(value, "center") != nullptr) textStyle_ = (textStyle_ & ~static_cast<UINT>(DT_RIGHT)) | DT_CENTER;
    if (std::strstr(value, "right") != nullptr) textStyle_ = (textStyle_ & ~static_cast<UINT>(DT_CENTER)) | DT_RIGHT;
    Invalidate();
}

void CListHeaderItemUI::SetAttribute(const char* name, const char* value) {
    if (Is(name, "dragable")) {
        SetDragable(ValueReaders::ReadBool(value));
    } else if (Is(name, "sepwidth")) {
        SetSepWidth(ValueReaders::ReadInt(value));
    } else if (Is(name, "align")) {
        SetAlign(value);
    } else if (Is(name, "endellipsis")) {
        if (ValueReaders::ReadBool(value)) {
            textStyle_ |= DT_END_ELLIPSIS;
        } else {
            textStyle_ &= ~static_cast<UINT>(DT_END_ELLIPSIS);
        }
    } else if (Is(name, "font")) {
        font_ = ValueReaders::ReadInt(value);
    } else if (Is(name, "textcolor")) {
        textColor_ = ValueReaders::ReadColor(value);
    } else if (Is(name, "textpadding")) {
        int v[4] = {0, 0, 0, 0};
        ValueReaders::ReadNumberList(value, v, 4);
        textPadding_ = RECT{v[0], v[1], v[2], v[3]};
    } else if (Is(name, "showhtml")) {
        showHtml_ = ValueReaders::ReadBool(value);
    } else if (Is(name, "normalimage")) {
        normalImage_ = value;
    } else if (Is(name, "hotimage")) {
        hotImage_ = value;
    } else if (Is(name, "pushedimage")) {
        pushedImage_ = value;
    } else if (Is(name, "focusedimage")) {
        focusedImage_ = value;
    } else if (Is(name, "sepimage")) {
        sepImage_ = value;
    } else {
        CControlUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

}  // namespace Loom

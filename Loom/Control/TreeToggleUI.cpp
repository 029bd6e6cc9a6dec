#include "Loom/Control/TreeToggleUI.h"

#include <algorithm>
#include <cstring>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

CTreeToggleUI::CTreeToggleUI(Glyph glyph) : glyph_(glyph) { fixedSize_.cx = 16; }

const char* CTreeToggleUI::GetClass() const { return "TreeToggleUI"; }

void* CTreeToggleUI::GetInterface(const char* name) {
    if (Is(name, "TreeToggle")) return this;
    return CControlUI::GetInterface(name);
}

void CTreeToggleUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!enabled) state_ = 0;
}

void CTreeToggleUI::SetSelected(bool selected, bool notify) {
    if (selected_ == selected) return;
    selected_ = selected;
    Invalidate();
    if (notify && manager_ != nullptr) manager_->SendNotify(this, "selectchanged", selected ? 1 : 0);
}

void CTreeToggleUI::DoEvent(UIEvent& event) {
    if (!mouseEnabled_ && IsMouseEvent(event.kind)) {
        CControlUI::DoEvent(event);
        return;
    }
    switch (event.kind) {
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled()) state_ |= StatePushed | StateCaptured;
        return;
    case EventButtonUp:
        if (state_ & StateCaptured) {
            state_ &= ~(StatePushed | StateCaptured);
            if (::PtInRect(&pos_, event.mousePoint)) SetSelected(!selected_, true);
        }
        return;
    case EventMouseMove:
        return;
    case EventMouseEnter:
        if (IsEnabled()) state_ |= StateHot;
        Invalidate();
        return;
    case EventMouseLeave:
        state_ &= ~StateHot;
        Invalidate();
        return;
    default:
        CControlUI::DoEvent(event);
        return;
    }
}

void CTreeToggleUI::SetAttribute(const char* name, const char* value) {
    if (Is(name, "normalimage")) {
        normalImage_ = value;
    } else if (Is(name, "hotimage")) {
        hotImage_ = value;
    } else if (Is(name, "selectedimage")) {
        selectedImage_ = value;
    } else if (Is(name, "selectedhotimage")) {
        selectedHotImage_ = value;
    } else if (Is(name, "selected")) {
        SetSelected(ValueReaders::ReadBool(value), false);
    } else {
        CControlUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

bool CTreeToggleUI::DrawStateImage(HDC dc, std::string& image) {
    if (image.empty()) return false;
    if (DrawImage(dc, image)) return true;
    image.clear();
    return false;
}

void CTreeToggleUI::PaintStatusImage(HDC dc) {
    // While high contrast is on the skin's images give way to the glyph.
    if (GetContrastColors() != nullptr) {
        PaintGlyph(dc);
        return;
    }
    const bool hot = (state_ & StateHot) != 0;
    if (selected_ && hot && DrawStateImage(dc, selectedHotImage_)) return;
    if (selected_ && DrawStateImage(dc, selectedImage_)) return;
    if (!selected_ && hot && DrawStateImage(dc, hotImage_)) return;
    if (DrawStateImage(dc, normalImage_)) return;
    PaintGlyph(dc);
}

// A 9-pixel box centred in the control (at 96 DPI; its size, frame, stroke
// and margins at the window's scale).
void CTreeToggleUI::PaintGlyph(HDC dc) {
    const DpiScale scale = GetScale();
    const int size = std::min({static_cast<long>(scale.Scale(9)), pos_.right - pos_.left, pos_.bottom - pos_.top});
    if (size < scale.Scale(5) || manager_ == nullptr) return;
    const int stroke = scale.Scale(1);
    const int margin = scale.Scale(2);
    const int left = (pos_.left + pos_.right - size) / 2;
    const int top = (pos_.top + pos_.bottom - size) / 2;
    const RECT box{left, top, left + size, top + size};
    DWORD color = IsEnabled() ? manager_->GetDefaultFontColor() : manager_->GetDefaultDisabledColor();
    if (const TContrastColors* contrast = GetContrastColors()) {
        color = IsEnabled() ? contrast->windowText : contrast->grayText;
    }
    CRenderer::DrawRect(dc, box, stroke, color);
    if (glyph_ == Glyph::Check) {
        if (selected_) {
            CRenderer::DrawColor(dc, RECT{left + margin, top + margin, left + size - margin, top + size - margin},
                                 color);
        }
        return;
    }
    const int mid = (size - stroke) / 2;
    CRenderer::DrawColor(dc, RECT{left + margin, top + mid, left + size - margin, top + mid + stroke}, color);
    // Collapsed: the vertical stroke of the plus.
    if (!selected_) {
        CRenderer::DrawColor(dc, RECT{left + mid, top + margin, left + mid + stroke, top + size - margin}, color);
    }
}

}  // namespace Loom

#include "Loom/Control/ScrollBarUI.h"

#include <cstring>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/ValueReaders.h"

namespace Loom {

CScrollBarUI::CScrollBarUI() { fixedSize_.cx = 16; }

const char* CScrollBarUI::GetClass() const { return "ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const char* name) {
    if (std::strcmp(name, "ScrollBar") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetVisible(bool visible) { visible_ = visible; }

void CScrollBarUI::SetFocus() {
    if (owner_ != nullptr) {
        owner_->SetFocus();
    } else {
        CControlUI::SetFocus();
    }
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
    if (horizontal_ == horizontal) return;
    horizontal_ = horizontal;
    if (horizontal_ && fixedSize_.cy == 0) {
        fixedSize_.cy = fixedSize_.cx;
        fixedSize_.cx = 0;
    } else if (!horizontal_ && fixedSize_.cx == 0) {
        fixedSize_.cx = fixedSize_.cy;
        fixedSize_.cy = 0;
    }
    if (owner_ != nullptr) {
        owner_->RequestLayout();
    } else {
        RequestParentLayout();
    }
}

void CScrollBarUI::SetScrollRange(int range) {
    range_ = range < 0 ? 0 : range;
    if (position_ > range_) position_ = range_;
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos) {
    if (pos < 0) pos = 0;
    if (pos > range_) pos = range_;
    if (position_ == pos) return;
    position_ = pos;
    Invalidate();
}

void CScrollBarUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "hor") == 0) {
        SetHorizontal(ValueReaders::ReadBool(value));
    } else if (std::strcmp(name, "linesize") == 0) {
        SetLineSize(ValueReaders::ReadInt(value));
    } else if (std::strcmp(name, "range") == 0) {
        SetScrollRange(ValueReaders::ReadInt(value));
    } else if (std::strcmp(name, "value") == 0) {
        SetScrollPos(ValueReaders::ReadInt(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

}  // namespace Loom

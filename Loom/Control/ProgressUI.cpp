#include "Loom/Core/AccessibleUI.h"
#include "Loom/Control/ProgressUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "Loom/Render/Render.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

std::string RectText(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

}  // namespace

CProgressUI::CProgressUI() {
    textStyle_ = DT_SINGLELINE | DT_CENTER;
    fixedSize_.cy = 12;
}

const char* CProgressUI::GetClass() const { return "ProgressUI"; }

void* CProgressUI::GetInterface(const char* name) {
    if (Is(name, "Progress")) return this;
    return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
    if (horizontal_ == horizontal) return;
    horizontal_ = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int value) {
    min_ = value;
    Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
    max_ = value;
    Invalidate();
}

void CProgressUI::SetValue(int value) {
    if (value == value_ || value < min_ || value > max_) return;
    value_ = value;
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_VALUECHANGE);
}

void CProgressUI::SetForeImage(const std::string& image) {
    if (foreImage_ == image) return;
    foreImage_ = image;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool stretch) {
    if (stretchForeImage_ == stretch) return;
    stretchForeImage_ = stretch;
    Invalidate();
}

void CProgressUI::SetAttribute(const char* name, const char* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, "foreimage")) {
        SetForeImage(value);
    } else if (Is(name, "hor")) {
        SetHorizontal(ValueReaders::ReadBool(value));
    } else if (Is(name, "min")) {
        SetMinValue(ValueReaders::ReadInt(value));
    } else if (Is(name, "max")) {
        SetMaxValue(ValueReaders::ReadInt(value));
    } else if (Is(name, "value")) {
        SetValue(ValueReaders::ReadInt(value));
    } else if (Is(name, "isstretchfore")) {
        SetStretchForeImage(ValueReaders::ReadBool(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

RECT CProgressUI::GetFilledRect() const {
    // 64-bit products: a range of millions times a width must not overflow.
    const long long low = min_;
    const long long high = max_ <= min_ ? low + 1 : max_;
    const long long value = std::clamp<long long>(value_, low, high);
    const long long width = GetWidth();
    const long long height = GetHeight();
    if (horizontal_) {
        return RECT{0, 0, static_cast<LONG>(width * (value - low) / (high - low)), static_cast<LONG>(height)};
    }
    return RECT{0, static_cast<LONG>(height * (high - value) / (high - low)), static_cast<LONG>(width),
                static_cast<LONG>(height)};
}

void CProgressUI::PaintStatusImage(HDC dc) {
    if (const TContrastColors* contrast = GetContrastColors()) {
        // The share done in the highlight, in a frame of the text colour.
        RECT filled = GetFilledRect();
        ::OffsetRect(&filled, pos_.left, pos_.top);
        CRenderer::DrawColor(dc, filled, contrast->highlight);
        CRenderer::DrawRect(dc, pos_, std::max(1, ScaleMeasure(1)), contrast->windowText);
        return;
    }
    if (foreImage_.empty()) return;
    const std::string part = RectText(GetFilledRect());
    std::string modify = "dest='" + part + "'";
    if (!stretchForeImage_) modify += " source='" + part + "'";
    if (!DrawImage(dc, foreImage_, modify.c_str())) foreImage_.clear();
}

// The value as a percentage of the bar's range, as a native bar tells it.
CControlUI::AccessibleTraits CProgressUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_PROGRESSBAR;
    const long long range = static_cast<long long>(max_) - min_;
    const long long done = static_cast<long long>(value_) - min_;
    traits.value = std::to_string(range > 0 ? done * 100 / range : 0) + "%";
    return traits;
}

}  // namespace Loom

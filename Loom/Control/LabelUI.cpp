#include "Loom/Control/LabelUI.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// Runs body; whatever it throws leaves as std::runtime_error(name).
template <typename F>
void Guarded(const char* name, F&& body) {
    try {
        body();
    } catch (...) {
        throw std::runtime_error(name);
    }
}

}  // namespace

CLabelUI::CLabelUI() = default;
CLabelUI::~CLabelUI() = default;

const char* CLabelUI::GetClass() const { return "LabelUI"; }

void* CLabelUI::GetInterface(const char* name) {
    if (Is(name, "Label")) return this;
    return CControlUI::GetInterface(name);
}

std::string CLabelUI::GetText() const {
    try {
        return effects_.enabled ? effectText_ : text_;
    } catch (...) {
        throw std::runtime_error("CLabelUI::GetText");
    }
}

void CLabelUI::SetText(const std::string& text) {
    Guarded("CLabelUI::SetText", [&] {
        if (effects_.enabled) {
            effectText_ = text;
        } else {
            CControlUI::SetText(text);
        }
    });
}

SIZE CLabelUI::EstimateSize(SIZE available) {
    if (fixedSize_.cy != 0 || manager_ == nullptr) return CControlUI::EstimateSize(available);
    return SIZE{GetScaledFixedWidth(), manager_->GetFontInfo(font_).tmHeight + ScaleMeasure(4)};
}

void CLabelUI::DoEvent(UIEvent& event) {
    if (event.kind == EventSetFocus) {
        focused_ = true;
        return;
    }
    if (event.kind == EventKillFocus) {
        focused_ = false;
        return;
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetTextStyle(UINT style) {
    textStyle_ = style;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD color) {
    textColor_ = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD color) {
    disabledTextColor_ = color;
    Invalidate();
}

void CLabelUI::SetFont(int index) {
    font_ = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT padding) {
    textPadding_ = padding;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool on) {
    if (showHtml_ == on) return;
    showHtml_ = on;
    Invalidate();
}

// --- effects -----------------------------------------------------------------

namespace {

// Stores an effect setting and repaints, failures named after the setter.
template <typename T>
void SetEffect(CLabelUI& label, const char* name, T& field, T value) {
    Guarded(name, [&] {
        field = value;
        label.Invalidate();
    });
}

}  // namespace

void CLabelUI::SetEnabledEffect(bool on) { SetEffect(*this, "CLabelUI::SetEnabledEffect", effects_.enabled, on); }
void CLabelUI::SetEnabledStroke(bool on) { SetEffect(*this, "CLabelUI::SetEnabledStroke", effects_.stroke, on); }
void CLabelUI::SetEnabledShadow(bool on) { SetEffect(*this, "CLabelUI::SetEnabledShadow", effects_.shadow, on); }

void CLabelUI::SetTextRenderingHintAntiAlias(int hint) {
    SetEffect(*this, "CLabelUI::SetTextRenderingHintAntiAlias", effects_.renderingHint,
              hint >= 0 && hint <= 5 ? hint : 0);
}

void CLabelUI::SetTransShadow(int opacity) {
    SetEffect(*this, "CLabelUI::SetTransShadow", effects_.transShadow, opacity);
}

void CLabelUI::SetTransShadow1(int opacity) {
    SetEffect(*this, "CLabelUI::SetTransShadow1", effects_.transShadow1, opacity);
}

void CLabelUI::SetTransText(int opacity) { SetEffect(*this, "CLabelUI::SetTransText", effects_.transText, opacity); }

void CLabelUI::SetTransText1(int opacity) { SetEffect(*this, "CLabelUI::SetTransText1", effects_.transText1, opacity); }

void CLabelUI::SetTransStroke(int opacity) {
    SetEffect(*this, "CLabelUI::SetTransStroke", effects_.transStroke, opacity);
}

void CLabelUI::SetGradientAngle(int angle) {
    SetEffect(*this, "CLabelUI::SetGradientAngle", effects_.gradientAngle, angle);
}

void CLabelUI::SetGradientLength(int length) {
    SetEffect(*this, "CLabelUI::SetGradientLength", effects_.gradientLength, length);
}

void CLabelUI::SetShadowOffset(int distance, int angle) {
    Guarded("CLabelUI::SetShadowOffset", [&] {
        if (angle < -180 || angle > 180) return;
        const double radians = angle * 3.14159265358979323846 / 180.0;
        effects_.shadowOffsetX = static_cast<float>(distance * std::cos(radians));
        effects_.shadowOffsetY = static_cast<float>(distance * std::sin(radians));
        Invalidate();
    });
}

void CLabelUI::SetTextColor1(DWORD color) { SetEffect(*this, "CLabelUI::SetTextColor1", effects_.textColor1, color); }

void CLabelUI::SetTextShadowColorA(DWORD color) {
    SetEffect(*this, "CLabelUI::SetTextShadowColorA", effects_.shadowColorA, color);
}

void CLabelUI::SetTextShadowColorB(DWORD color) {
    SetEffect(*this, "CLabelUI::SetTextShadowColorB", effects_.shadowColorB, color);
}

void CLabelUI::SetStrokeColor(DWORD color) {
    SetEffect(*this, "CLabelUI::SetStrokeColor", effects_.strokeColor, color);
}

// --- attributes --------------------------------------------------------------

void CLabelUI::SetAttribute(const char* name, const char* value) {
    if (name == nullptr || value == nullptr) return;
    if (SetEffectAttribute(name, value)) return;
    if (Is(name, "align")) {
        ApplyAlign(value);
    } else if (Is(name, "endellipsis")) {
        SetTextStyle(ValueReaders::ReadBool(value) ? (textStyle_ | DT_END_ELLIPSIS) : (textStyle_ & ~DT_END_ELLIPSIS));
    } else if (Is(name, "font")) {
        SetFont(ValueReaders::ReadInt(value));
    } else if (Is(name, "textcolor")) {
        SetTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "disabledtextcolor")) {
        SetDisabledTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "textpadding")) {
        int v[4] = {0, 0, 0, 0};
        ValueReaders::ReadNumberList(value, v, 4);
        SetTextPadding(RECT{v[0], v[1], v[2], v[3]});
    } else if (Is(name, "showhtml")) {
        SetShowHtml(ValueReaders::ReadBool(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

// Each word found in the value edits the style, in this order; "vcenter"
// also contains "center".
void CLabelUI::ApplyAlign(const char* value) {
    UINT style = textStyle_;
    if (std::strstr(value, "left") != nullptr) style &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    if (std::strstr(value, "center") != nullptr) style = (style & ~DT_RIGHT) | DT_CENTER;
    if (std::strstr(value, "right") != nullptr) {
        style = (style & ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE)) | DT_RIGHT;
    }
    if (std::strstr(value, "top") != nullptr) style = (style & ~(DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE;
    if (std::strstr(value, "vcenter") != nullptr) {
        style = (style & ~DT_BOTTOM) | DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    }
    if (std::strstr(value, "bottom") != nullptr) style = (style & ~DT_VCENTER) | DT_BOTTOM | DT_SINGLELINE;
    SetTextStyle(style);
}

bool CLabelUI::SetEffectAttribute(const char* name, const char* value) {
    if (Is(name, "enabledeffect")) {
        SetEnabledEffect(ValueReaders::ReadBool(value));
    } else if (Is(name, "enabledstroke")) {
        SetEnabledStroke(ValueReaders::ReadBool(value));
    } else if (Is(name, "enabledshadow")) {
        SetEnabledShadow(ValueReaders::ReadBool(value));
    } else if (Is(name, "rhaa")) {
        SetTextRenderingHintAntiAlias(ValueReaders::ReadInt(value));
    } else if (Is(name, "transshadow")) {
        SetTransShadow(ValueReaders::ReadInt(value));
    } else if (Is(name, "transshadow1")) {
        SetTransShadow1(ValueReaders::ReadInt(value));
    } else if (Is(name, "transtext")) {
        SetTransText(ValueReaders::ReadInt(value));
    } else if (Is(name, "transtext1")) {
        SetTransText1(ValueReaders::ReadInt(value));
    } else if (Is(name, "transstroke")) {
        SetTransStroke(ValueReaders::ReadInt(value));
    } else if (Is(name, "gradientangle")) {
        SetGradientAngle(ValueReaders::ReadInt(value));
    } else if (Is(name, "gradientlength")) {
        SetGradientLength(ValueReaders::ReadInt(value));
    } else if (Is(name, "shadowoffset")) {
        int v[2] = {0, 0};
        ValueReaders::ReadNumberList(value, v, 2);
        SetShadowOffset(v[0], v[1]);
    } else if (Is(name, "textcolor1")) {
        SetTextColor1(ValueReaders::ReadColor(value));
    } else if (Is(name, "textshadowcolora")) {
        SetTextShadowColorA(ValueReaders::ReadColor(value));
    } else if (Is(name, "textshadowcolorb")) {
        SetTextShadowColorB(ValueReaders::ReadColor(value));
    } else if (Is(name, "strokecolor")) {
        SetStrokeColor(ValueReaders::ReadColor(value));
    } else {
        return false;
    }
    return true;
}

// --- painting ----------------------------------------------------------------

RECT CLabelUI::GetTextRect() const {
    const RECT padding = GetScaledTextPadding();
    return RECT{pos_.left + padding.left, pos_.top + padding.top, pos_.right - padding.right,
                pos_.bottom - padding.bottom};
}

void CLabelUI::TakeDefaultColors() {
    if (manager_ == nullptr) return;
    if (textColor_ == 0) textColor_ = manager_->GetDefaultFontColor();
    if (disabledTextColor_ == 0) disabledTextColor_ = manager_->GetDefaultDisabledColor();
}

DWORD CLabelUI::ShownTextColor() {
    TakeDefaultColors();
    if (const TContrastColors* contrast = GetContrastColors()) {
        return IsEnabled() ? contrast->windowText : contrast->grayText;
    }
    return IsEnabled() ? textColor_ : disabledTextColor_;
}

bool CLabelUI::DrawStateImage(HDC dc, std::string& image) {
    if (image.empty()) return false;
    if (DrawImage(dc, image)) return true;
    image.clear();
    return false;
}

bool CLabelUI::PassMouseEventOn(UIEvent& event) {
    if (IsMouseEnabled() || !IsMouseEvent(event.kind)) return false;
    if (parent_ != nullptr) {
        parent_->DoEvent(event);
    } else {
        CLabelUI::DoEvent(event);
    }
    return true;
}

void CLabelUI::PaintText(HDC dc) {
    if (manager_ == nullptr) return;
    TakeDefaultColors();
    const RECT rc = GetTextRect();
    // Shadows, strokes and gradients would blur the system's colours.
    if (!effects_.enabled || GetContrastColors() != nullptr) {
        PaintPlainText(dc, rc, effects_.enabled ? effectText_ : text_);
        return;
    }
    // The shadow's offset and the gradient's length are 96-DPI pixels.
    TLabelEffects effects = effects_;
    const float factor = static_cast<float>(GetScale().Dpi()) / DpiScale::kBaseDpi;
    effects.shadowOffsetX *= factor;
    effects.shadowOffsetY *= factor;
    effects.gradientLength = ScaleMeasure(effects_.gradientLength);
    CLabelEffectPainter::Paint(dc, manager_->GetFont(font_), rc, effectText_, textColor_, effects);
}

void CLabelUI::PaintPlainText(HDC dc, RECT rc, const std::string& text) {
    if (text.empty()) return;
    const DWORD color = ShownTextColor();
    const UINT style = textStyle_ | DT_SINGLELINE;
    if (showHtml_) {
        int links = 0;
        CRenderer::DrawHtmlText(dc, manager_, rc, text.c_str(), color, nullptr, nullptr, links, style);
    } else {
        CRenderer::DrawText(dc, manager_, rc, text.c_str(), color, font_, style);
    }
}

}  // namespace Loom

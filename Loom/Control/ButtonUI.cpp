#include "Loom/Control/ButtonUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "Loom/Render/Render.h"
#include "Loom/Core/TextRules.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

CButtonUI::CButtonUI() { textStyle_ = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

const char* CButtonUI::GetClass() const { return "ButtonUI"; }

void* CButtonUI::GetInterface(const char* name) {
    if (Is(name, "Button")) return this;
    return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const {
    return (IsKeyboardEnabled() ? ControlFlagTabStop : 0u) | (IsEnabled() ? ControlFlagSetCursor : 0u);
}

bool CButtonUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (manager_ != nullptr) manager_->SendNotify(this, "click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) state_ = 0;
}

SIZE CButtonUI::EstimateSize(SIZE available) {
    if (fixedSize_.cy != 0 || manager_ == nullptr) return CControlUI::EstimateSize(available);
    return SIZE{GetScaledFixedWidth(), manager_->GetFontInfo(font_).tmHeight + ScaleMeasure(8)};
}

void CButtonUI::DoEvent(UIEvent& event) {
    if (PassMouseEventOn(event)) return;
    if (HandlePress(event)) return;
    switch (event.kind) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        break;  // the label keeps the focused flag
    case EventKeyDown:
        if (IsKeyboardEnabled() && (event.key == VK_SPACE || event.key == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EventContextMenu:
        if (IsContextMenuUsed() && manager_ != nullptr) {
            manager_->SendNotify(this, "menu", event.wParam, event.lParam);
        }
        return;
    case EventMouseEnter:
        if (IsEnabled()) {
            state_ |= StateHot;
            Invalidate();
        }
        break;
    case EventMouseLeave:
        if (IsEnabled()) {
            state_ &= ~StateHot;
            Invalidate();
        }
        break;
    case EventSetCursor:
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

bool CButtonUI::HandlePress(UIEvent& event) {
    switch (event.kind) {
    case EventButtonDown:
    case EventDoubleClick:
        if (::PtInRect(&pos_, event.mousePoint) && IsEnabled()) {
            state_ |= StatePushed | StateCaptured;
            Invalidate();
        }
        return true;
    case EventMouseMove:
        if ((state_ & StateCaptured) != 0) {
            if (::PtInRect(&pos_, event.mousePoint)) {
                state_ |= StatePushed;
            } else {
                state_ &= ~StatePushed;
            }
            Invalidate();
        }
        return true;
    case EventButtonUp:
        if ((state_ & StateCaptured) != 0) {
            // Cleared first: the click may change the control (or its state).
            state_ &= ~(StatePushed | StateCaptured);
            Invalidate();
            if (::PtInRect(&pos_, event.mousePoint)) Activate();
        }
        return true;
    default:
        return false;
    }
}

// --- attributes --------------------------------------------------------------

void CButtonUI::SetNormalImage(const std::string& image) {
    normalImage_ = image;
    Invalidate();
}

void CButtonUI::SetHotImage(const std::string& image) {
    hotImage_ = image;
    Invalidate();
}

void CButtonUI::SetHotForeImage(const std::string& image) {
    hotForeImage_ = image;
    Invalidate();
}

void CButtonUI::SetPushedImage(const std::string& image) {
    pushedImage_ = image;
    Invalidate();
}

void CButtonUI::SetPushedForeImage(const std::string& image) {
    pushedForeImage_ = image;
    Invalidate();
}

void CButtonUI::SetFocusedImage(const std::string& image) {
    focusedImage_ = image;
    Invalidate();
}

void CButtonUI::SetDisabledImage(const std::string& image) {
    disabledImage_ = image;
    Invalidate();
}

void CButtonUI::SetForeImage(const std::string& image) {
    foreImage_ = image;
    Invalidate();
}

void CButtonUI::SetHotBkColor(DWORD color) {
    hotBkColor_ = color;
    Invalidate();
}

void CButtonUI::SetHotTextColor(DWORD color) {
    hotTextColor_ = color;
    Invalidate();
}

void CButtonUI::SetPushedTextColor(DWORD color) {
    pushedTextColor_ = color;
    Invalidate();
}

void CButtonUI::SetFocusedTextColor(DWORD color) {
    focusedTextColor_ = color;
    Invalidate();
}

void CButtonUI::SetAttribute(const char* name, const char* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, "normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, "hotimage")) {
        SetHotImage(value);
    } else if (Is(name, "pushedimage")) {
        SetPushedImage(value);
    } else if (Is(name, "focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, "disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, "foreimage")) {
        SetForeImage(value);
    } else if (Is(name, "hotforeimage")) {
        SetHotForeImage(value);
    } else if (Is(name, "pushedforeimage")) {
        SetPushedForeImage(value);
    } else if (Is(name, "hotbkcolor")) {
        SetHotBkColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "hottextcolor")) {
        SetHotTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "pushedtextcolor")) {
        SetPushedTextColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "focusedtextcolor")) {
        SetFocusedTextColor(ValueReaders::ReadColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

// --- painting ----------------------------------------------------------------

void CButtonUI::RefreshState() {
    if (IsFocused()) {
        state_ |= StateFocused;
    } else {
        state_ &= ~StateFocused;
    }
    if (!IsEnabled()) {
        state_ |= StateDisabled;
    } else {
        state_ &= ~StateDisabled;
    }
}

CButtonUI::ContrastLook CButtonUI::GetContrastLook(const TContrastColors& c) {
    RefreshState();
    const bool face = !normalImage_.empty() || !disabledImage_.empty() || bkColor_ != 0;
    const bool pressable = !hotImage_.empty() || !pushedImage_.empty() || hotBkColor_ != 0;
    const bool disabled = (state_ & StateDisabled) != 0;
    const bool marked = (state_ & (StatePushed | StateFocused)) != 0;
    const bool hot = (state_ & StateHot) != 0;
    ContrastLook look;
    if (face && (pressable || !text_.empty())) {
        look.face = c.buttonFace;
        look.text = look.frame = c.buttonText;
        if (disabled) {
            look.text = look.frame = c.grayText;
        } else if (marked) {
            look.face = c.highlight;
            look.text = c.highlightText;
        } else if (hot) {
            look.text = look.frame = c.hotLight;
        }
    } else {
        look.text = disabled ? c.grayText : c.windowText;
        if (!face && !disabled && (marked || hot)) {
            look.face = c.highlight;
            look.text = c.highlightText;
        }
    }
    return look;
}

void CButtonUI::PaintContrastLook(HDC dc, const TContrastColors& colors) {
    const ContrastLook look = GetContrastLook(colors);
    if (look.face != 0) CRenderer::DrawColor(dc, paintRect_, look.face);
    if (text_.empty()) {
        // The image is the button's only content: its shape stays.
        std::string* image = &normalImage_;
        if ((state_ & StatePushed) != 0 && !pushedImage_.empty()) {
            image = &pushedImage_;
        } else if ((state_ & StateHot) != 0 && !hotImage_.empty()) {
            image = &hotImage_;
        } else if ((state_ & StateDisabled) != 0 && !disabledImage_.empty()) {
            image = &disabledImage_;
        }
        if (!image->empty()) DrawImageShape(dc, *image, look.text);
    }
    if (!foreImage_.empty()) DrawImageShape(dc, foreImage_, look.text);
    if (look.frame != 0) CRenderer::DrawRect(dc, pos_, std::max(1, ScaleMeasure(1)), look.frame);
}

// The state's image ends painting with the fore image; the pushed and hot
// looks may bring their own fore image instead.
void CButtonUI::PaintStatusImage(HDC dc) {
    RefreshState();
    if (const TContrastColors* contrast = GetContrastColors()) {
        PaintContrastLook(dc, *contrast);
        return;
    }
    if ((state_ & StateDisabled) != 0) {
        if (DrawStateImage(dc, disabledImage_)) {
            DrawStateImage(dc, foreImage_);
            return;
        }
    } else if ((state_ & StatePushed) != 0) {
        if (!pushedImage_.empty()) {
            DrawStateImage(dc, pushedImage_);
            DrawStateImage(dc, pushedForeImage_.empty() ? foreImage_ : pushedForeImage_);
            return;
        }
    } else if ((state_ & StateHot) != 0) {
        if (!hotImage_.empty()) {
            DrawStateImage(dc, hotImage_);
            DrawStateImage(dc, hotForeImage_.empty() ? foreImage_ : hotForeImage_);
            return;
        }
        if (hotBkColor_ != 0) {
            CRenderer::DrawColor(dc, paintRect_, GetAdjustColor(hotBkColor_));
            return;
        }
    } else if ((state_ & StateFocused) != 0) {
        if (DrawStateImage(dc, focusedImage_)) {
            DrawStateImage(dc, foreImage_);
            return;
        }
    }
    DrawStateImage(dc, normalImage_);
    DrawStateImage(dc, foreImage_);
}

DWORD CButtonUI::GetBaseTextColor() const { return textColor_; }

void CButtonUI::PaintText(HDC dc) {
    if (manager_ == nullptr) return;
    RefreshState();
    TakeDefaultColors();
    if (text_.empty()) return;
    DWORD color = IsEnabled() ? GetBaseTextColor() : disabledTextColor_;
    if (const TContrastColors* contrast = GetContrastColors()) {
        color = GetContrastLook(*contrast).text;
    } else if ((state_ & StatePushed) != 0 && pushedTextColor_ != 0) {
        color = pushedTextColor_;
    } else if ((state_ & StateHot) != 0 && hotTextColor_ != 0) {
        color = hotTextColor_;
    } else if ((state_ & StateFocused) != 0 && focusedTextColor_ != 0) {
        color = focusedTextColor_;
    }
    RECT rc = GetTextRect();
    if (showHtml_) {
        int links = 0;
        CRenderer::DrawHtmlText(dc, manager_, rc, text_.c_str(), color, nullptr, nullptr, links, textStyle_);
    } else if (GetShortcut() != '\0' && manager_->AreKeyboardCuesShown()) {
        PaintShortcutText(dc, rc, color);
    } else {
        CRenderer::DrawText(dc, manager_, rc, text_.c_str(), color, font_, textStyle_);
    }
}

// The text with its shortcut letter underlined: the first one in the text,
// else the letter in brackets after it, as Chinese captions show theirs.
void CButtonUI::PaintShortcutText(HDC dc, RECT rc, DWORD color) {
    std::wstring text;
    const char key = UpperAscii(GetShortcut());
    bool marked = false;
    for (wchar_t ch : Text::Widen(text_)) {
        if (ch == L'&') text += L'&';
        if (!marked && ch < 0x80 && UpperAscii(static_cast<char>(ch)) == key) {
            text += L'&';
            marked = true;
        }
        text += ch;
    }
    if (!marked) text += std::wstring(L"(&") + static_cast<wchar_t>(key) + L")";
    const int saved = ::SaveDC(dc);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    if (HFONT f = manager_->GetFont(font_)) ::SelectObject(dc, f);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, textStyle_);
    ::RestoreDC(dc, saved);
}

CControlUI::AccessibleTraits CButtonUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_PUSHBUTTON;
    traits.defaultAction = "Press";
    if ((state_ & StatePushed) != 0) traits.state |= STATE_SYSTEM_PRESSED;
    return traits;
}

}  // namespace Loom

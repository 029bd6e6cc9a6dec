#include "Loom/Core/AccessibleUI.h"
#include "Loom/Control/EditUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "Loom/Control/EditWnd.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "platform/Utf8.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

CEditUI::CEditUI() {
    textPadding_ = RECT{4, 3, 4, 3};
    bkColor_ = 0xFFFFFFFF;
}

CEditUI::~CEditUI() {
    if (window_ == nullptr) return;
    CEditWnd* window = window_;
    window_ = nullptr;
    window->Discard();
}

const char* CEditUI::GetClass() const { return "EditUI"; }

void* CEditUI::GetInterface(const char* name) {
    if (Is(name, "Edit")) return this;
    return CLabelUI::GetInterface(name);
}

UINT CEditUI::GetControlFlags() const { return IsEnabled() ? (ControlFlagTabStop | ControlFlagSetCursor) : 0u; }

HWND CEditUI::GetNativeWindow() const { return window_ != nullptr ? window_->GetHWND() : nullptr; }

void CEditUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (IsEnabled()) return;
    state_ = 0;
    // Nothing is typed into a disabled edit: the focus leaves it, as it
    // leaves a hidden one, and its native window closes with the focus.
    if (manager_ != nullptr && manager_->GetFocus() == this) manager_->SetFocus(nullptr);
}

void CEditUI::SetText(const std::string& text) {
    text_ = text;
    if (window_ != nullptr) ::SetWindowTextW(window_->GetHWND(), Text::Widen(text_).c_str());
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_VALUECHANGE);
}

void CEditUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    if (!IsVisible() && window_ != nullptr && manager_ != nullptr) manager_->SetFocus(nullptr);
}

void CEditUI::SetParentVisible(bool visible) {
    CControlUI::SetParentVisible(visible);
    if (!IsVisible() && window_ != nullptr && manager_ != nullptr) manager_->SetFocus(nullptr);
}

void CEditUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    if (window_ == nullptr) return;
    const RECT native = CEditWnd::NativeRect(*this);
    ::SetWindowPos(window_->GetHWND(), nullptr, native.left, native.top, native.right - native.left,
                   native.bottom - native.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE CEditUI::EstimateSize(SIZE available) {
    if (fixedSize_.cy != 0 || manager_ == nullptr) return CControlUI::EstimateSize(available);
    return SIZE{GetScaledFixedWidth(), manager_->GetFontInfo(font_).tmHeight + ScaleMeasure(6)};
}

// --- the native window ---------------------------------------------------------

void CEditUI::OpenNativeWindow() {
    if (window_ != nullptr || manager_ == nullptr) return;
    window_ = CEditWnd::Open(this);
}

bool CEditUI::TakeTyping() {
    if (window_ != nullptr) {
        ::SetFocus(window_->GetHWND());
        return false;
    }
    OpenNativeWindow();
    return true;
}

void CEditUI::SelectAllInWindow() {
    if (window_ == nullptr) return;
    const HWND wnd = window_->GetHWND();
    int length = ::GetWindowTextLengthW(wnd);
    if (length == 0) length = 1;
    ::SendMessageW(wnd, EM_SETSEL, 0, length);
}

void CEditUI::TakeWindowText(const std::string& text) {
    text_ = text;
    if (manager_ != nullptr) manager_->SendNotify(this, "textchanged");
}

void CEditUI::OnNativeWindowGone(CEditWnd* window) {
    if (window_ == window) window_ = nullptr;
    Invalidate();
}

void CEditUI::DoEvent(UIEvent& event) {
    if (PassMouseEventOn(event)) return;
    switch (event.kind) {
    case EventSetCursor:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
        return;
    case EventWindowSize:
        // The window is placed again after the layout.
        if (window_ != nullptr && manager_ != nullptr) manager_->SetFocusNeeded(this);
        break;
    case EventScrollWheel:
        if (window_ != nullptr) return;
        break;
    case EventWindowFocus:
        // The window has the focus back while the edit still has the
        // manager's: the typing goes on in the edit, as in a dialog.
        if (IsEnabled() && IsVisible()) TakeTyping();
        return;
    case EventSetFocus:
        if (!IsEnabled()) break;
        // A window still open, perhaps with its close on the way, stays.
        if (!TakeTyping()) return;
        Invalidate();
        break;
    case EventKillFocus:
        if (IsEnabled()) Invalidate();
        break;
    case EventButtonDown:
    case EventDoubleClick:
    case EventRButtonDown:
        if (!IsEnabled()) return;
        if (manager_ != nullptr) manager_->ReleaseCapture();
        // A press beside an open native window took the window's focus from
        // it: it takes the typing back and stays.
        if (IsFocused() && TakeTyping() && !::PtInRect(&pos_, event.mousePoint)) return;
        SelectAllInWindow();
        return;
    case EventMouseMove:
    case EventButtonUp:
    case EventContextMenu:
        return;
    case EventMouseEnter:
        if (IsEnabled()) {
            state_ |= StateHot;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if (IsEnabled()) {
            state_ &= ~StateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// --- settings ----------------------------------------------------------------

void CEditUI::SetMaxChar(UINT count) {
    maxChar_ = count;
    if (window_ != nullptr) ::SendMessageW(window_->GetHWND(), EM_LIMITTEXT, maxChar_, 0);
}

void CEditUI::SetReadOnly(bool on) {
    if (readOnly_ == on) return;
    readOnly_ = on;
    if (window_ != nullptr) ::SendMessageW(window_->GetHWND(), EM_SETREADONLY, readOnly_ ? TRUE : FALSE, 0);
    Invalidate();
}

void CEditUI::SetNumberOnly(bool on) {
    SetNativeStyles(on ? (nativeStyles_ | ES_NUMBER) : (nativeStyles_ & ~ES_NUMBER));
}

void CEditUI::SetNativeStyles(DWORD styles) {
    const DWORD removed = nativeStyles_ & ~styles;
    nativeStyles_ = styles;
    if (window_ == nullptr) return;
    const HWND wnd = window_->GetHWND();
    const DWORD style = (static_cast<DWORD>(::GetWindowLongW(wnd, GWL_STYLE)) & ~removed) | nativeStyles_;
    ::SetWindowLongW(wnd, GWL_STYLE, static_cast<LONG>(style));
}

void CEditUI::SetPasswordMode(bool on) {
    if (password_ == on) return;
    password_ = on;
    Invalidate();
}

void CEditUI::SetPasswordChar(char ch) {
    if (passwordChar_ == ch) return;
    passwordChar_ = ch;
    if (window_ != nullptr) {
        ::SendMessageW(window_->GetHWND(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
    }
    Invalidate();
}

void CEditUI::SetNativeBkColor(DWORD color) { nativeBkColor_ = color; }

void CEditUI::SetNormalImage(const std::string& image) {
    normalImage_ = image;
    Invalidate();
}

void CEditUI::SetHotImage(const std::string& image) {
    hotImage_ = image;
    Invalidate();
}

void CEditUI::SetFocusedImage(const std::string& image) {
    focusedImage_ = image;
    Invalidate();
}

void CEditUI::SetDisabledImage(const std::string& image) {
    disabledImage_ = image;
    Invalidate();
}

void CEditUI::SetAttribute(const char* name, const char* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, "readonly")) {
        SetReadOnly(ValueReaders::ReadBool(value));
    } else if (Is(name, "numberonly")) {
        SetNumberOnly(ValueReaders::ReadBool(value));
    } else if (Is(name, "password")) {
        SetPasswordMode(ValueReaders::ReadBool(value));
    } else if (Is(name, "maxchar")) {
        SetMaxChar(static_cast<UINT>(ValueReaders::ReadInt(value)));
    } else if (Is(name, "normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, "hotimage")) {
        SetHotImage(value);
    } else if (Is(name, "focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, "disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, "nativebkcolor")) {
        SetNativeBkColor(ValueReaders::ReadColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

// --- painting ----------------------------------------------------------------

void CEditUI::PaintStatusImage(HDC dc) {
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
    if (const TContrastColors* contrast = GetContrastColors()) {
        PaintContrastFrame(dc, *contrast);
        return;
    }
    if ((state_ & StateDisabled) != 0) {
        if (DrawStateImage(dc, disabledImage_)) return;
    } else if ((state_ & StateFocused) != 0) {
        if (DrawStateImage(dc, focusedImage_)) return;
    } else if ((state_ & StateHot) != 0) {
        if (DrawStateImage(dc, hotImage_)) return;
    }
    DrawStateImage(dc, normalImage_);
}

// A field on the window colour in a frame of the text colour: gray while
// disabled, the highlight while focused.
void CEditUI::PaintContrastFrame(HDC dc, const TContrastColors& contrast) {
    CRenderer::DrawColor(dc, paintRect_, contrast.window);
    DWORD frame = contrast.windowText;
    if ((state_ & StateDisabled) != 0) {
        frame = contrast.grayText;
    } else if ((state_ & StateFocused) != 0) {
        frame = contrast.highlight;
    }
    CRenderer::DrawRect(dc, pos_, std::max(1, ScaleMeasure(1)), frame);
}

void CEditUI::PaintText(HDC dc) {
    if (manager_ == nullptr) return;
    TakeDefaultColors();
    if (text_.empty()) return;
    std::string shown = text_;
    if (password_) {
        // One mask character per character, whatever its length in bytes.
        shown.clear();
        for (const char* p = text_.c_str(); *p != '\0'; p = Text::Utf8Next(p)) shown += passwordChar_;
    }
    RECT rc = GetTextRect();
    CRenderer::DrawText(dc, manager_, rc, shown.c_str(), ShownTextColor(), font_, DT_SINGLELINE | textStyle_);
}

// A password is never told.
CControlUI::AccessibleTraits CEditUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_TEXT;
    if (IsReadOnly()) traits.state |= STATE_SYSTEM_READONLY;
    if (IsPasswordMode())
        traits.state |= STATE_SYSTEM_PROTECTED;
    else
        traits.value = GetText();
    return traits;
}

}  // namespace Loom

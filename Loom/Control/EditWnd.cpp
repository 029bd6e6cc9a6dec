#include "Loom/Control/EditWnd.h"

#include <string>

#include "Loom/Control/EditUI.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

// The paint manager sends a child's WM_COMMAND and colour messages back to
// the child at this offset (the reflected messages).
constexpr UINT kReflectBase = 0x2000;

// Whether the clipboard's text, up to its first line break (all a one-line
// edit takes of it), is digits only. The system edit checks only typed
// characters against its digits-only style and lets any paste through.
bool ClipboardHoldsDigitsOnly(HWND wnd) {
    if (!::OpenClipboard(wnd)) return false;
    bool digits = true;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            const SIZE_T size = ::GlobalSize(data) / sizeof(wchar_t);
            for (SIZE_T i = 0; i < size && text[i] != L'\0' && text[i] != L'\r' && text[i] != L'\n'; ++i)
                digits = digits && text[i] >= L'0' && text[i] <= L'9';
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return digits;
}

}  // namespace

CEditWnd* CEditWnd::Open(CEditUI* owner) {
    CUIManager* manager = owner != nullptr ? owner->GetManager() : nullptr;
    if (manager == nullptr || manager->GetPaintWindow() == nullptr) return nullptr;
    auto* window = new CEditWnd(owner);
    DWORD style = WS_CHILD | ES_AUTOHSCROLL | owner->GetNativeStyles();
    if (owner->IsPasswordMode()) style |= ES_PASSWORD;
    bool ended = false;
    window->endedFlag_ = &ended;
    const HWND wnd = window->Create(manager->GetPaintWindow(), nullptr, style, 0, NativeRect(*owner));
    if (wnd == nullptr) {
        // A creation that failed after WM_NCCREATE has already run the final
        // message, which deleted the object.
        if (!ended) delete window;
        return nullptr;
    }
    window->endedFlag_ = nullptr;
    try {
        window->Init();
    } catch (...) {
        window->Discard();  // no window may stay behind that the control does not know
        throw;
    }
    return window;
}

void CEditWnd::Init() {
    CUIManager* manager = owner_->GetManager();
    const HWND wnd = GetHWND();
    ::SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner_->GetFont())), TRUE);
    ::SendMessageW(wnd, EM_LIMITTEXT, owner_->GetMaxChar(), 0);
    if (owner_->IsPasswordMode()) {
        ::SendMessageW(wnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(owner_->GetPasswordChar()), 0);
    }
    ::SetWindowTextW(wnd, Text::Widen(owner_->text_).c_str());
    ::SendMessageW(wnd, EM_SETMODIFY, FALSE, 0);
    ::SendMessageW(wnd, EM_SETMARGINS, EC_USEFONTINFO, 0);
    ::EnableWindow(wnd, owner_->IsEnabled() ? TRUE : FALSE);
    ::SendMessageW(wnd, EM_SETREADONLY, owner_->IsReadOnly() ? TRUE : FALSE, 0);
    const LONG style = ::GetWindowLongW(wnd, GWL_STYLE);
    ::SetWindowLongW(wnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) | owner_->GetNativeStyles()));
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    ::SetFocus(wnd);
    initialized_ = true;
}

void CEditWnd::Discard() {
    owner_ = nullptr;
    ::DestroyWindow(GetHWND());  // the final message deletes this object
}

RECT CEditWnd::NativeRect(const CEditUI& owner) {
    const RECT& pos = owner.GetPos();
    const RECT padding = owner.GetScaledTextPadding();
    RECT rc{pos.left + padding.left, pos.top + padding.top, pos.right - padding.right, pos.bottom - padding.bottom};
    CUIManager* manager = owner.GetManager();
    if (manager == nullptr) return rc;
    const LONG textHeight = manager->GetFontInfo(owner.GetFont()).tmHeight;
    if (textHeight < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - textHeight) / 2;
        rc.bottom = rc.top + textHeight;
    }
    return rc;
}

const char* CEditWnd::GetWindowClassName() const { return "EditWnd"; }
const char* CEditWnd::GetSuperClassName() const { return "Edit"; }

LRESULT CEditWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = CallOldProc(message, wParam, lParam);
        ::PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
        return result;
    }
    case WM_CLOSE:
        // Posted when the focus left; a window that has it back stays open.
        if (::GetFocus() == GetHWND()) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        // Not passed on: a one-line edit has nothing to do with it.
        if (owner_ != nullptr && owner_->GetManager() != nullptr) {
            owner_->GetManager()->SendNotify(owner_, "return");
        }
        return 0;
    case WM_PASTE:
        // A digits-only edit refuses a paste with anything else, as it
        // refuses such a key.
        if ((static_cast<DWORD>(::GetWindowLongW(GetHWND(), GWL_STYLE)) & ES_NUMBER) != 0 &&
            !ClipboardHoldsDigitsOnly(GetHWND())) {
            ::MessageBeep(MB_OK);
            return 0;
        }
        break;
    case kReflectBase + WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) return OnEditChanged();
        if (HIWORD(wParam) == EN_UPDATE) ::InvalidateRect(GetHWND(), nullptr, FALSE);
        return 0;
    case kReflectBase + WM_CTLCOLOREDIT:
    case kReflectBase + WM_CTLCOLORSTATIC:
        return OnColor(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return CallOldProc(message, wParam, lParam);
}

LRESULT CEditWnd::OnEditChanged() {
    if (!initialized_ || owner_ == nullptr) return 0;
    const HWND wnd = GetHWND();
    owner_->TakeWindowText(Text::WindowText(wnd));
    return 0;
}

// No brush: the system's colours, which are also what high contrast asks for.
LRESULT CEditWnd::OnColor(HDC dc) {
    if (owner_ == nullptr || owner_->GetNativeBkColor() == 0xFFFFFFFF || owner_->GetContrastColors() != nullptr) {
        return 0;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, CRenderer::ToColorRef(owner_->GetTextColor()));
    if (!bkBrush_) bkBrush_.reset(::CreateSolidBrush(CRenderer::ToColorRef(owner_->GetNativeBkColor())));
    return reinterpret_cast<LRESULT>(bkBrush_.get());
}

void CEditWnd::OnFinalMessage(HWND /*wnd*/) {
    if (endedFlag_ != nullptr) *endedFlag_ = true;
    if (owner_ != nullptr) owner_->OnNativeWindowGone(this);
    delete this;
}

}  // namespace Loom

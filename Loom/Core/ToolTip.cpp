#include "Loom/Core/ToolTip.h"

#include "platform/LateLibrary.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

// The common controls (version 6, by the manifest) are loaded for the first
// tip rather than with the program: the tip is all they are used for, and
// every library loaded with the program delays its first window. They stay
// loaded, as an imported library would.
bool LoadToolTipClass() {
    static const bool loaded = [] {
        using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = LibraryFunction<InitFn>(LoadSystemLibrary("comctl32.dll"), "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return init != nullptr && init(&classes) != FALSE;
    }();
    return loaded;
}

}  // namespace

void CToolTip::Show(HWND owner, HINSTANCE instance, const std::string& text, const RECT& rc, int maxWidth, int below) {
    text_ = Text::Widen(text);
    info_ = TOOLINFOW{};
    info_.cbSize = TTTOOLINFOW_V2_SIZE;
    info_.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    info_.hwnd = owner;
    info_.uId = reinterpret_cast<UINT_PTR>(owner);
    info_.hinst = instance;
    info_.lpszText = text_.data();
    info_.rect = rc;
    if (!window_) {
        if (!LoadToolTipClass()) return;
        window_.reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                        instance, nullptr));
        if (!window_) return;
        ::SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info_));
    }
    ::SendMessageW(window_.get(), TTM_SETMAXTIPWIDTH, 0, maxWidth);
    ::SendMessageW(window_.get(), TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info_));
    // Tracking mode: the tip appears just below the pointer.
    POINT at{0, 0};
    ::GetCursorPos(&at);
    ::SendMessageW(window_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y + below));
    ::SendMessageW(window_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info_));
}

void CToolTip::Hide() {
    if (window_) ::SendMessageW(window_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info_));
}

DWORD CToolTip::InitialDelay() const {
    return window_ ? static_cast<DWORD>(::SendMessageW(window_.get(), TTM_GETDELAYTIME, TTDT_INITIAL, 0)) : 400;
}

}  // namespace Loom

#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/UniqueWindow.h"

namespace Loom {

// The tool tip of one window: a tracking tip window, made for the first tip
// shown, that shows one control's text just below the pointer. Window
// thread only.
class CToolTip {
public:
    CToolTip() = default;
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    // Shows text for the area rc of owner, at most maxWidth pixels wide
    // (-1: no limit), below pixels below the pointer.
    void Show(HWND owner, HINSTANCE instance, const std::string& text, const RECT& rc, int maxWidth, int below = 20);
    // Hides the tip, if one was made.
    void Hide();
    // The time the pointer rests before a tip shows (400 ms until a tip
    // window exists).
    DWORD InitialDelay() const;
    // Destroys the tip window.
    void Reset() { window_.reset(); }
    HWND Window() const { return window_.get(); }

private:
    UniqueWindow window_;
    TOOLINFOW info_{};
    std::wstring text_;
};

}  // namespace Loom

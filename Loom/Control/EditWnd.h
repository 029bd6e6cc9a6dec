#pragma once
#include <windows.h>

#include "platform/GdiHandles.h"
#include "Loom/Core/WindowWnd.h"

namespace Loom {

class CEditUI;

// The native edit window of an edit control while the user types in it: a
// child of the control's window over the control's text, of the class
// "EditWnd" (a superclass of the system class "Edit"). It copies each
// change into the control ("textchanged"), reports Return ("return"),
// answers the colour messages when the control has a native background
// colour, closes itself after losing the focus (unless it has it back by
// then) and, when its window is destroyed, tells the control and deletes
// itself. Window thread only.
class CEditWnd : public CWindowWnd {
public:
    // Creates, fills, shows (without activation) and focuses the window for
    // owner. The object deletes itself when its window is destroyed.
    // nullptr when the window could not be made; nothing is left then.
    static CEditWnd* Open(CEditUI* owner);
    // For a control that is going away: forgets it and destroys the window
    // now, which deletes this object.
    void Discard();
    // Where the window goes: the control's pos less its text padding, or a
    // band of the font's text height centred in that when it is lower.
    static RECT NativeRect(const CEditUI& owner);

protected:
    const char* GetWindowClassName() const override;
    const char* GetSuperClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND wnd) override;

private:
    explicit CEditWnd(CEditUI* owner) : owner_(owner) {}
    ~CEditWnd() override = default;

    // Settings of the control that the window takes after it was created.
    void Init();
    LRESULT OnEditChanged();
    LRESULT OnColor(HDC dc);

    CEditUI* owner_;
    UniqueBrush bkBrush_;  // made on first use
    bool initialized_ = false;
    // Set while the window is being created: tells Open that the object
    // ended with a creation that failed half way.
    bool* endedFlag_ = nullptr;
};

}  // namespace Loom

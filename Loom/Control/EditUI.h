#pragma once
#include <windows.h>

#include <string>

#include "Loom/Control/LabelUI.h"

namespace Loom {

class CEditWnd;

// A one-line text box. It paints its text (masked in password mode) like a
// label; while it has the focus a native edit window (CEditWnd) lies over
// it and takes the typing, and every change comes back into the control's
// text with "textchanged"; Return sends "return". Class "EditUI",
// interface "Edit". Window thread only.
//
// The native window lives from the focus to the loss of the focus. It
// tells the control when it is gone; a control destroyed while its window
// is open destroys the window first, so neither points at the other after.
class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // Tab stop and own cursor while enabled, else 0.
    UINT GetControlFlags() const override;
    AccessibleTraits GetAccessibleTraits() const override;
    // Disabling clears the state word.
    void SetEnabled(bool enabled = true) override;
    // Stores the text and puts it into an open native window. The text is
    // kept whole even when it is longer than the character limit, which
    // only limits what the user types or pastes.
    void SetText(const std::string& text) override;
    // Hiding the control with an open window takes the focus away (which
    // closes the window).
    void SetVisible(bool visible = true) override;
    void SetParentVisible(bool visible) override;
    // Moves an open native window along.
    void SetPos(RECT rc) override;
    void DoEvent(UIEvent& event) override;
    // Fixed height, or the font's text height + 6.
    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;

    // The open native window, or nullptr.
    HWND GetNativeWindow() const;
    UINT GetState() const { return state_; }

    // Also applied to an open window.
    UINT GetMaxChar() const { return maxChar_; }
    void SetMaxChar(UINT count);
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    // The ES_NUMBER bit of the extra native styles (also applied to an open
    // window).
    bool IsNumberOnly() const { return (nativeStyles_ & ES_NUMBER) != 0; }
    void SetNumberOnly(bool on);
    // Masks the painted text at once, the native window from its next
    // opening.
    bool IsPasswordMode() const { return password_; }
    void SetPasswordMode(bool on);
    char GetPasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char ch);
    // Style bits added to the native window's styles.
    DWORD GetNativeStyles() const { return nativeStyles_; }
    void SetNativeStyles(DWORD styles);
    // 0xFFFFFFFF (the default): the system's colours for the native window.
    DWORD GetNativeBkColor() const { return nativeBkColor_; }
    void SetNativeBkColor(DWORD color);

    const std::string& GetNormalImage() const { return normalImage_; }
    void SetNormalImage(const std::string& image);
    const std::string& GetHotImage() const { return hotImage_; }
    void SetHotImage(const std::string& image);
    const std::string& GetFocusedImage() const { return focusedImage_; }
    void SetFocusedImage(const std::string& image);
    const std::string& GetDisabledImage() const { return disabledImage_; }
    void SetDisabledImage(const std::string& image);

private:
    friend class CEditWnd;

    void OpenNativeWindow();
    // The typing goes to the edit: its open native window takes the keyboard
    // focus (a close on the way then leaves it open), or one opens. True
    // when a window was opened.
    bool TakeTyping();
    void PaintContrastFrame(HDC dc, const TContrastColors& contrast);
    // Selects the whole text of the open window (at least one character).
    void SelectAllInWindow();
    // From the native window: its text changed.
    void TakeWindowText(const std::string& text);
    // From the native window: it is gone.
    void OnNativeWindowGone(CEditWnd* window);

    CEditWnd* window_ = nullptr;
    UINT maxChar_ = 255;
    bool readOnly_ = false;
    bool password_ = false;
    char passwordChar_ = '*';
    UINT state_ = 0;
    DWORD nativeBkColor_ = 0xFFFFFFFF;
    DWORD nativeStyles_ = 0;
    std::string normalImage_;
    std::string hotImage_;
    std::string focusedImage_;
    std::string disabledImage_;
};

}  // namespace Loom

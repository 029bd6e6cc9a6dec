#pragma once
#include <string>

#include "Loom/Control/LabelUI.h"

namespace Loom {

// A label that can be pressed: a state word (ControlState bits), status
// images for its states and text colours for them. Activating it (a click
// inside it, Space or Return while it has the focus) sends "click"; a
// context menu sends "menu" when "menu" is set. Class "ButtonUI",
// interface "Button". Window thread only.
class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // ControlFlagTabStop when keyboard-enabled, ControlFlagSetCursor when enabled.
    UINT GetControlFlags() const override;
    AccessibleTraits GetAccessibleTraits() const override;
    // The control's Activate, then "click".
    bool Activate() override;
    // Disabling clears the state word.
    void SetEnabled(bool enabled = true) override;
    void DoEvent(UIEvent& event) override;
    // Fixed height, or the font's text height + 8.
    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;

    UINT GetState() const { return state_; }

    const std::string& GetNormalImage() const { return normalImage_; }
    void SetNormalImage(const std::string& image);
    const std::string& GetHotImage() const { return hotImage_; }
    void SetHotImage(const std::string& image);
    const std::string& GetHotForeImage() const { return hotForeImage_; }
    void SetHotForeImage(const std::string& image);
    const std::string& GetPushedImage() const { return pushedImage_; }
    void SetPushedImage(const std::string& image);
    const std::string& GetPushedForeImage() const { return pushedForeImage_; }
    void SetPushedForeImage(const std::string& image);
    const std::string& GetFocusedImage() const { return focusedImage_; }
    void SetFocusedImage(const std::string& image);
    const std::string& GetDisabledImage() const { return disabledImage_; }
    void SetDisabledImage(const std::string& image);
    const std::string& GetForeImage() const { return foreImage_; }
    void SetForeImage(const std::string& image);

    // 0: not set.
    DWORD GetHotBkColor() const { return hotBkColor_; }
    void SetHotBkColor(DWORD color);
    DWORD GetHotTextColor() const { return hotTextColor_; }
    void SetHotTextColor(DWORD color);
    DWORD GetPushedTextColor() const { return pushedTextColor_; }
    void SetPushedTextColor(DWORD color);
    DWORD GetFocusedTextColor() const { return focusedTextColor_; }
    void SetFocusedTextColor(DWORD color);

protected:
    // The focused and disabled bits from the control's flags.
    void RefreshState();
    // The text colour before the state colours apply (an option puts its
    // selected colour here).
    virtual DWORD GetBaseTextColor() const;
    void PaintShortcutText(HDC dc, RECT rc, DWORD color);

    // How the button shows while high contrast is on, in the system's
    // colours (0: not drawn). A button with a face of its own (a normal or
    // disabled image, a background colour) is a framed face, in the
    // highlight while pushed or focused and in the hot-light colour under
    // the mouse; one with a hot look only (a menu's header or item) is text
    // that takes the highlight as native menus do; a button without text
    // shows its image's shape in the text colour, framed only if it can be
    // pressed (a logo is an image, not a button).
    struct ContrastLook {
        DWORD face = 0;
        DWORD text = 0;
        DWORD frame = 0;
    };
    virtual ContrastLook GetContrastLook(const TContrastColors& colors);
    DWORD GetContrastBkColor(const TContrastColors& colors) const override { return colors.buttonFace; }

    UINT state_ = 0;

private:
    // Button-down, mouse-move and button-up; true when the event was one.
    bool HandlePress(UIEvent& event);
    void PaintContrastLook(HDC dc, const TContrastColors& colors);

    std::string normalImage_;
    std::string hotImage_;
    std::string hotForeImage_;
    std::string pushedImage_;
    std::string pushedForeImage_;
    std::string focusedImage_;
    std::string disabledImage_;
    std::string foreImage_;
    DWORD hotBkColor_ = 0;
    DWORD hotTextColor_ = 0;
    DWORD pushedTextColor_ = 0;
    DWORD focusedTextColor_ = 0;
};

}  // namespace Loom

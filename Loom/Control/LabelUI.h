#pragma once
#include <windows.h>

#include <string>

#include "Loom/Control/GdiplusSession.h"
#include "Loom/Control/LabelEffectPainter.h"
#include "Loom/Core/ControlUI.h"

namespace Loom {

// A control that shows one text: plain or html, in its font and colours,
// inside its rectangle less the text padding; or, with effects on, drawn
// through GDI+ with gradient brushes, an optional four-way stroke and an
// optional shadow. Class "LabelUI", interface "Label". Window thread only.
//
// Every label starts GDI+ for itself when it is created and shuts it down
// when it is destroyed.
//
// While effects are on, SetText and GetText use a text of their own (the
// effect text) and the plain text stays as it was; text given before the
// effects were turned on is therefore not drawn with effects.
//
// The effect setters and getters, SetText and GetText turn any failure
// inside them into std::runtime_error whose what() is the qualified name
// ("CLabelUI::SetTransShadow"); the getters of plain values cannot fail.
// Window procedures catch at their boundary (CWindowWnd does).
class CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    std::string GetText() const override;
    void SetText(const std::string& text) override;
    // (fixed width, fixed height), or with no fixed height the font's text
    // height + 4.
    SIZE EstimateSize(SIZE available) override;
    // Set-focus and kill-focus only set the focused flag.
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintText(HDC dc) override;

    UINT GetTextStyle() const { return textStyle_; }
    void SetTextStyle(UINT style);
    // 0: the manager's default colour, taken (and kept) at paint time.
    DWORD GetTextColor() const { return textColor_; }
    void SetTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return disabledTextColor_; }
    void SetDisabledTextColor(DWORD color);
    // Index into the manager's font list; -1 (or any index out of range)
    // is the default font.
    int GetFont() const { return font_; }
    void SetFont(int index);
    RECT GetTextPadding() const { return textPadding_; }
    void SetTextPadding(RECT padding);
    // The text padding (kept at 96 DPI) at the manager's scale, as the text
    // is painted and measured with it.
    RECT GetScaledTextPadding() const { return ScaleEdges(textPadding_); }
    bool IsShowHtml() const { return showHtml_; }
    void SetShowHtml(bool on);

    // Text effects.
    void SetEnabledEffect(bool on);
    bool GetEnabledEffect() const { return effects_.enabled; }
    void SetEnabledStroke(bool on);
    bool GetEnabledStroke() const { return effects_.stroke; }
    void SetEnabledShadow(bool on);
    bool GetEnabledShadow() const { return effects_.shadow; }
    // A GDI+ TextRenderingHint 0..5; other values become 0.
    void SetTextRenderingHintAntiAlias(int hint);
    int GetTextRenderingHintAntiAlias() const { return effects_.renderingHint; }
    // Opacities 0..255.
    void SetTransShadow(int opacity);
    int GetTransShadow() const { return effects_.transShadow; }
    void SetTransShadow1(int opacity);
    int GetTransShadow1() const { return effects_.transShadow1; }
    void SetTransText(int opacity);
    int GetTransText() const { return effects_.transText; }
    void SetTransText1(int opacity);
    int GetTransText1() const { return effects_.transText1; }
    void SetTransStroke(int opacity);
    int GetTransStroke() const { return effects_.transStroke; }
    void SetGradientAngle(int angle);
    int GetGradientAngle() const { return effects_.gradientAngle; }
    // 0: the height of the text rectangle.
    void SetGradientLength(int length);
    int GetGradientLength() const { return effects_.gradientLength; }
    // The shadow moves distance pixels in the direction angle (degrees, 0
    // to the right, 90 down, -90 up); angles outside -180..180 are ignored.
    void SetShadowOffset(int distance, int angle);
    POINTFLOAT GetShadowOffset() const { return POINTFLOAT{effects_.shadowOffsetX, effects_.shadowOffsetY}; }
    // TLabelEffects::kUnsetColor (-1): the text colour.
    void SetTextColor1(DWORD color);
    DWORD GetTextColor1() const { return effects_.textColor1; }
    void SetTextShadowColorA(DWORD color);
    DWORD GetTextShadowColorA() const { return effects_.shadowColorA; }
    // TLabelEffects::kUnsetColor (-1): shadow colour A.
    void SetTextShadowColorB(DWORD color);
    DWORD GetTextShadowColorB() const { return effects_.shadowColorB; }
    // 0: no stroke.
    void SetStrokeColor(DWORD color);
    DWORD GetStrokeColor() const { return effects_.strokeColor; }

protected:
    // pos reduced by the text padding.
    RECT GetTextRect() const;
    // Zero text colours become the manager's defaults.
    void TakeDefaultColors();
    // The colour its text is drawn in: the text or disabled text colour, or
    // while high contrast is on the system's window text or gray text.
    DWORD ShownTextColor();
    DWORD GetContrastBkColor(const TContrastColors& colors) const override { return colors.window; }
    // Draws a status image string unless it is empty; a string that cannot
    // be drawn (no manager or DC) is cleared so it is not tried again. True
    // when it was drawn.
    bool DrawStateImage(HDC dc, std::string& image);
    // While the control is not mouse-enabled its mouse events belong to the
    // parent (or the label's default at the root): true when the event was
    // passed on so.
    bool PassMouseEventOn(UIEvent& event);

    int font_ = -1;
    DWORD textColor_ = 0;
    DWORD disabledTextColor_ = 0;
    UINT textStyle_ = DT_VCENTER;
    RECT textPadding_{0, 0, 0, 0};
    bool showHtml_ = false;

private:
    bool SetEffectAttribute(const char* name, const char* value);
    void ApplyAlign(const char* value);
    void PaintPlainText(HDC dc, RECT rc, const std::string& text);

    CGdiplusSession gdiplus_;
    TLabelEffects effects_;
    std::string effectText_;
};

}  // namespace Loom

#pragma once
#include <windows.h>

#include <string>

namespace Loom {

// The text effect settings of a label. Colours are 0xAARRGGBB of which only
// RGB is used: each is drawn at its own opacity, (opacity << 24) | rgb.
struct TLabelEffects {
    // The value of an optional colour that is not set.
    static constexpr DWORD kUnsetColor = 0xFFFFFFFF;

    bool enabled = false;
    bool stroke = false;
    bool shadow = false;
    int stringAlignment = 0;  // GDI+ StringAlignmentNear
    int lineAlignment = 1;    // GDI+ StringAlignmentCenter
    int transShadow = 60;
    int transShadow1 = 60;
    int transText = 168;
    int transText1 = 168;
    int transStroke = 255;
    int gradientLength = 0;  // 0: the text rectangle's height
    int gradientAngle = 0;
    DWORD textColor1 = kUnsetColor;  // unset: the text colour
    DWORD shadowColorA = 0xFF000000;
    DWORD shadowColorB = kUnsetColor;  // unset: shadow colour A
    DWORD strokeColor = 0;             // 0: no stroke
    float shadowOffsetX = 0.0f;
    float shadowOffsetY = 0.0f;
    int renderingHint = 0;  // GDI+ TextRenderingHint, 0..5
};

// Draws a label's text with GDI+ gradient brushes: the stroke (the text four
// times, one pixel left, right, up and down), the shadow at the shadow
// offset, then the text itself. Each brush runs from the point
// (gradient angle, 0) to (0, L), L the gradient length or the rectangle's
// height. Every GDI+ object lives only for the call.
class CLabelEffectPainter {
public:
    // text is UTF-8. font: the label's font, or
    // nullptr for the DC's font. Needs a running GDI+ (CGdiplusSession).
    // Returns false when GDI+ refused a step; whatever was drawn before it
    // stays. An empty text or rectangle draws nothing and returns true.
    static bool Paint(HDC dc, HFONT font, const RECT& rc, const std::string& text, DWORD textColor,
                      const TLabelEffects& effects);
};

}  // namespace Loom

#include "Loom/Control/LabelEffectPainter.h"

#include <memory>

#include "Loom/Control/GdiplusFunctions.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

// Owners of the GDI+ objects of one paint, released through the flat API
// (loaded, since they were made).
struct GraphicsDeleter {
    void operator()(Gdiplus::GpGraphics* graphics) const noexcept { GdiplusLibrary()->GdipDeleteGraphics(graphics); }
};
struct FontDeleter {
    void operator()(Gdiplus::GpFont* font) const noexcept { GdiplusLibrary()->GdipDeleteFont(font); }
};
struct BrushDeleter {
    void operator()(Gdiplus::GpBrush* brush) const noexcept { GdiplusLibrary()->GdipDeleteBrush(brush); }
};
struct FormatDeleter {
    void operator()(Gdiplus::GpStringFormat* format) const noexcept {
        GdiplusLibrary()->GdipDeleteStringFormat(format);
    }
};
using GraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics, GraphicsDeleter>;
using FontPtr = std::unique_ptr<Gdiplus::GpFont, FontDeleter>;
using BrushPtr = std::unique_ptr<Gdiplus::GpBrush, BrushDeleter>;
using FormatPtr = std::unique_ptr<Gdiplus::GpStringFormat, FormatDeleter>;

Gdiplus::ARGB WithOpacity(DWORD color, int opacity) {
    return (static_cast<DWORD>(opacity & 0xFF) << 24) | (color & 0x00FFFFFF);
}

using Text::Widen;

// The label's font as a GDI+ font; without one (or if GDI+ cannot take it)
// the font selected into the DC.
FontPtr MakeFont(const GdiplusFunctions& gdiplus, HDC dc, HFONT font) {
    Gdiplus::GpFont* made = nullptr;
    LOGFONTW description{};
    if (font != nullptr && ::GetObjectW(font, sizeof(description), &description) != 0 &&
        gdiplus.GdipCreateFontFromLogfontW(dc, &description, &made) == Gdiplus::Ok) {
        return FontPtr(made);
    }
    made = nullptr;
    if (gdiplus.GdipCreateFontFromDC(dc, &made) != Gdiplus::Ok) return FontPtr();
    return FontPtr(made);
}

FormatPtr MakeFormat(const GdiplusFunctions& gdiplus, const TLabelEffects& effects) {
    Gdiplus::GpStringFormat* format = nullptr;
    if (gdiplus.GdipCreateStringFormat(0, LANG_NEUTRAL, &format) != Gdiplus::Ok) return FormatPtr();
    FormatPtr owned(format);
    gdiplus.GdipSetStringFormatAlign(format, static_cast<Gdiplus::StringAlignment>(effects.stringAlignment));
    gdiplus.GdipSetStringFormatLineAlign(format, static_cast<Gdiplus::StringAlignment>(effects.lineAlignment));
    return owned;
}

BrushPtr MakeGradient(const GdiplusFunctions& gdiplus, int angle, int length, Gdiplus::ARGB from, Gdiplus::ARGB to) {
    const Gdiplus::PointF start(static_cast<Gdiplus::REAL>(angle), 0.0f);
    const Gdiplus::PointF end(0.0f, static_cast<Gdiplus::REAL>(length));
    Gdiplus::GpLineGradient* brush = nullptr;
    if (gdiplus.GdipCreateLineBrush(&start, &end, from, to, Gdiplus::WrapModeTile, &brush) != Gdiplus::Ok) {
        return BrushPtr();
    }
    return BrushPtr(brush);
}

struct TextRun {
    const GdiplusFunctions& gdiplus;
    Gdiplus::GpGraphics* graphics;
    const std::wstring& text;
    Gdiplus::GpFont* font;
    Gdiplus::GpStringFormat* format;

    bool Draw(const Gdiplus::RectF& box, float dx, float dy, Gdiplus::GpBrush* brush) const {
        const Gdiplus::RectF moved(box.X + dx, box.Y + dy, box.Width, box.Height);
        return gdiplus.GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &moved, format,
                                      brush) == Gdiplus::Ok;
    }
};

}  // namespace

bool CLabelEffectPainter::Paint(HDC dc, HFONT font, const RECT& rc, const std::string& text, DWORD textColor,
                                const TLabelEffects& effects) {
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (text.empty() || width <= 0 || height <= 0) return true;
    const std::wstring wide = Widen(text);
    if (wide.empty()) return false;

    const GdiplusFunctions* gdiplus = GdiplusLibrary();
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gdiplus == nullptr || dc == nullptr || gdiplus->GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return false;
    const GraphicsPtr ownedGraphics(graphics);
    gdiplus->GdipSetTextRenderingHint(graphics, static_cast<Gdiplus::TextRenderingHint>(effects.renderingHint));
    const FontPtr gpFont = MakeFont(*gdiplus, dc, font);
    const FormatPtr format = MakeFormat(*gdiplus, effects);
    if (!gpFont || !format) return false;

    const int length = effects.gradientLength != 0 ? effects.gradientLength : height;
    const DWORD shadowB =
        effects.shadowColorB == TLabelEffects::kUnsetColor ? effects.shadowColorA : effects.shadowColorB;
    const DWORD text1 = effects.textColor1 == TLabelEffects::kUnsetColor ? textColor : effects.textColor1;
    const BrushPtr shadowBrush =
        MakeGradient(*gdiplus, effects.gradientAngle, length, WithOpacity(effects.shadowColorA, effects.transShadow),
                     WithOpacity(shadowB, effects.transShadow1));
    const BrushPtr textBrush =
        MakeGradient(*gdiplus, effects.gradientAngle, length, WithOpacity(textColor, effects.transText),
                     WithOpacity(text1, effects.transText1));
    if (!shadowBrush || !textBrush) return false;

    const TextRun run{*gdiplus, graphics, wide, gpFont.get(), format.get()};
    const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                             static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    bool ok = true;
    if (effects.stroke && effects.strokeColor != 0) {
        const Gdiplus::ARGB stroke = WithOpacity(effects.strokeColor, effects.transStroke);
        const BrushPtr strokeBrush = MakeGradient(*gdiplus, effects.gradientAngle, height + 2, stroke, stroke);
        if (!strokeBrush) return false;
        ok = run.Draw(box, -1.0f, 0.0f, strokeBrush.get()) && ok;
        ok = run.Draw(box, 1.0f, 0.0f, strokeBrush.get()) && ok;
        ok = run.Draw(box, 0.0f, -1.0f, strokeBrush.get()) && ok;
        ok = run.Draw(box, 0.0f, 1.0f, strokeBrush.get()) && ok;
    }
    if (effects.shadow && (effects.shadowColorA != 0 || effects.shadowColorB != 0)) {
        ok = run.Draw(box, effects.shadowOffsetX, effects.shadowOffsetY, shadowBrush.get()) && ok;
    }
    return run.Draw(box, 0.0f, 0.0f, textBrush.get()) && ok;
}

}  // namespace Loom

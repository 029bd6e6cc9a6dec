#pragma once
#include <cstdint>
#include <string>

#include "Loom/Render/Rect.h"

namespace Loom {

// A font of the canvas, opaque to the html layout (an HFONT on Windows).
using HtmlFont = uintptr_t;

enum class HtmlFontVariant { Bold, Italic, Underline };

struct THtmlFontMetrics {
    int height = 0;
    int externalLeading = 0;
    int maxCharWidth = 0;
    bool italic = false;
};

// What the html text layout needs to measure and draw: fonts, text extents,
// images and the drawing itself. The renderer implements it over a DC and a
// paint manager; tests implement it with fixed metrics.
class IHtmlCanvas {
public:
    virtual HtmlFont DefaultFont() = 0;
    // The font of that index; the default font if out of range.
    virtual HtmlFont FontAt(int index) = 0;
    // The bold, italic or underlined variant of a font (the font itself if
    // it cannot be made).
    virtual HtmlFont FontVariant(HtmlFont base, HtmlFontVariant variant) = 0;
    // A font of that face, size and flags (the default font if it cannot be made).
    virtual HtmlFont FontByFace(const std::string& face, int size, bool bold, bool underline, bool italic) = 0;
    virtual THtmlFontMetrics Metrics(HtmlFont font) = 0;
    // The C spacing of the blank character in that font (negative for most
    // italic fonts).
    virtual int BlankCSpacing(HtmlFont font) = 0;
    virtual int TextWidth(HtmlFont font, const char* text, int length) = 0;
    // How many bytes of the UTF-8 text fit into maxWidth (the layout moves
    // the cut to a character boundary).
    virtual int FitBytes(HtmlFont font, const char* text, int length, int maxWidth) = 0;
    // The size of an image; false when it cannot be loaded.
    virtual bool ImageSize(const std::string& name, const std::string& type, int& width, int& height) = 0;
    // Text with its cell's top-left corner at (x, y); selected: an opaque
    // background in the selection colour.
    virtual void PaintText(HtmlFont font, uint32_t argb, bool selected, int x, int y, const char* text, int length) = 0;
    virtual void PaintImage(const std::string& name, const std::string& type, const TRect& dest,
                            const TRect& source) = 0;
    // A length the text gives in 96-DPI pixels ({x}, {y}, {p}) at the
    // canvas's display scale; as it is where the canvas has none.
    virtual int ScaleLength(int n) { return n; }

protected:
    ~IHtmlCanvas() = default;
};

}  // namespace Loom

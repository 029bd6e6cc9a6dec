#pragma once
#include <windows.h>

#include "Loom/Render/HtmlCanvas.h"
#include "Loom/Render/RenderContext.h"

namespace Loom {

// The html text canvas over a DC and a paint manager: fonts and images come
// from the manager, text and images go to the DC. Selects fonts into the DC
// and changes its text colour and background mode; the caller saves and
// restores the DC around its use.
class CRenderHtmlCanvas : public IHtmlCanvas {
public:
    CRenderHtmlCanvas(HDC dc, IRenderContext* manager);
    CRenderHtmlCanvas(const CRenderHtmlCanvas&) = delete;
    CRenderHtmlCanvas& operator=(const CRenderHtmlCanvas&) = delete;
    virtual ~CRenderHtmlCanvas() = default;

    HtmlFont DefaultFont() override;
    HtmlFont FontAt(int index) override;
    HtmlFont FontVariant(HtmlFont base, HtmlFontVariant variant) override;
    HtmlFont FontByFace(const std::string& face, int size, bool bold, bool underline, bool italic) override;
    THtmlFontMetrics Metrics(HtmlFont font) override;
    int BlankCSpacing(HtmlFont font) override;
    int TextWidth(HtmlFont font, const char* text, int length) override;
    int FitBytes(HtmlFont font, const char* text, int length, int maxWidth) override;
    bool ImageSize(const std::string& name, const std::string& type, int& width, int& height) override;
    void PaintText(HtmlFont font, uint32_t argb, bool selected, int x, int y, const char* text, int length) override;
    void PaintImage(const std::string& name, const std::string& type, const TRect& dest, const TRect& source) override;
    int ScaleLength(int n) override;

private:
    const TImageInfo* ImageAtScale(const std::string& name, const std::string& type);
    void Use(HtmlFont font);
    static HFONT ToFont(HtmlFont f) { return reinterpret_cast<HFONT>(f); }
    static HtmlFont FromFont(HFONT f) { return reinterpret_cast<HtmlFont>(f); }

    HDC dc_;
    IRenderContext* manager_;
    HFONT selected_ = nullptr;
};

}  // namespace Loom

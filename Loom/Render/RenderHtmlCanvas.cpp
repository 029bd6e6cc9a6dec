#include "Loom/Render/RenderHtmlCanvas.h"

#include <algorithm>

#include "Loom/Render/Render.h"
#include "platform/Wide.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

CRenderHtmlCanvas::CRenderHtmlCanvas(HDC dc, IRenderContext* manager) : dc_(dc), manager_(manager) {}

void CRenderHtmlCanvas::Use(HtmlFont font) {
    HFONT f = ToFont(font);
    if (f && f != selected_) {
        ::SelectObject(dc_, f);
        selected_ = f;
    }
}

HtmlFont CRenderHtmlCanvas::DefaultFont() { return FromFont(manager_->GetFont(-1)); }

HtmlFont CRenderHtmlCanvas::FontAt(int index) { return FromFont(manager_->GetFont(index)); }

HtmlFont CRenderHtmlCanvas::FontVariant(HtmlFont base, HtmlFontVariant variant) {
    std::string face;
    int size = 0;
    bool bold = false, underline = false, italic = false;
    if (!manager_->GetFontDescription(ToFont(base), face, size, bold, underline, italic)) return base;
    if (variant == HtmlFontVariant::Bold) bold = true;
    if (variant == HtmlFontVariant::Italic) italic = true;
    if (variant == HtmlFontVariant::Underline) underline = true;
    HFONT f = manager_->GetOrAddFont(face, size, bold, underline, italic);
    return f ? FromFont(f) : base;
}

HtmlFont CRenderHtmlCanvas::FontByFace(const std::string& face, int size, bool bold, bool underline, bool italic) {
    HFONT f = manager_->GetOrAddFont(face, size, bold, underline, italic);
    return f ? FromFont(f) : DefaultFont();
}

THtmlFontMetrics CRenderHtmlCanvas::Metrics(HtmlFont font) {
    const TEXTMETRICW& tm = manager_->GetFontInfo(ToFont(font));
    THtmlFontMetrics m;
    m.height = tm.tmHeight;
    m.externalLeading = tm.tmExternalLeading;
    m.maxCharWidth = tm.tmMaxCharWidth;
    m.italic = tm.tmItalic != 0;
    return m;
}

int CRenderHtmlCanvas::BlankCSpacing(HtmlFont font) {
    Use(font);
    ABC abc{};
    return ::GetCharABCWidthsW(dc_, L' ', L' ', &abc) ? abc.abcC : 0;
}

int CRenderHtmlCanvas::TextWidth(HtmlFont font, const char* text, int length) {
    Use(font);
    SIZE size{};
    const std::wstring wide = Text::Widen(std::string_view(text, static_cast<size_t>(std::max(length, 0))));
    return ::GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size) ? size.cx : 0;
}

int CRenderHtmlCanvas::FitBytes(HtmlFont font, const char* text, int length, int maxWidth) {
    Use(font);
    INT fit = 0;
    SIZE size{};
    const std::string_view utf8(text, static_cast<size_t>(std::max(length, 0)));
    const std::wstring wide = Text::Widen(utf8);
    if (!::GetTextExtentExPointW(dc_, wide.c_str(), static_cast<int>(wide.size()), maxWidth, &fit, nullptr, &size))
        return 0;
    return static_cast<int>(Text::Utf8BytesForUnits(utf8, static_cast<size_t>(std::max(fit, 0))));
}

// Html images at the window's scale: the image made for it, whose size the
// layout measures and whose pixels its source rectangles count.
const TImageInfo* CRenderHtmlCanvas::ImageAtScale(const std::string& name, const std::string& type) {
    if (name.empty()) return nullptr;
    const TImageInfo* scaled =
        manager_->GetScale().IsIdentity() ? nullptr : manager_->FindOrLoadScaledImage(name, type, 0);
    return scaled != nullptr && scaled->hBitmap != nullptr ? scaled : manager_->FindOrLoadImage(name, type, 0);
}

bool CRenderHtmlCanvas::ImageSize(const std::string& name, const std::string& type, int& width, int& height) {
    const TImageInfo* image = ImageAtScale(name, type);
    if (!image) return false;
    width = image->nX;
    height = image->nY;
    return true;
}

void CRenderHtmlCanvas::PaintText(HtmlFont font, uint32_t argb, bool selected, int x, int y, const char* text,
                                  int length) {
    Use(font);
    ::SetTextColor(dc_, CRenderer::ToColorRef(argb));
    if (selected) {
        ::SetBkMode(dc_, OPAQUE);
        const TContrastColors* contrast = manager_->GetContrastColors();
        if (contrast != nullptr) ::SetTextColor(dc_, CRenderer::ToColorRef(contrast->highlightText));
        ::SetBkColor(dc_, CRenderer::ToColorRef(contrast != nullptr ? contrast->highlight
                                                                    : manager_->GetDefaultSelectedBkColor()));
    } else {
        ::SetBkMode(dc_, TRANSPARENT);
    }
    const std::wstring wide = Text::Widen(std::string_view(text, static_cast<size_t>(std::max(length, 0))));
    ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void CRenderHtmlCanvas::PaintImage(const std::string& name, const std::string& type, const TRect& dest,
                                   const TRect& source) {
    const TImageInfo* image = ImageAtScale(name, type);
    if (!image) return;
    RECT d = WinRectFrom(dest);
    RECT s = WinRectFrom(source);
    RECT none{0, 0, 0, 0};
    CRenderer::DrawImage(dc_, image->hBitmap, d, d, s, none, image->alphaChannel);
}

int CRenderHtmlCanvas::ScaleLength(int n) { return manager_ != nullptr ? manager_->GetScale().Scale(n) : n; }

}  // namespace Loom

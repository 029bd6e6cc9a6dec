// Colours, gradients, lines, text and image strings of CRenderer; images are
// loaded and drawn in RenderImage.cpp.
#include "Loom/Render/Render.h"

#include <algorithm>
#include <vector>

#include "Loom/Render/HtmlLayout.h"
#include "Loom/Render/ImageScale.h"
#include "Loom/Render/ImageStringParser.h"
#include "Loom/Render/RenderBlend.h"
#include "Loom/Render/RenderHtmlCanvas.h"
#include "Loom/Render/RenderPixels.h"
#include "platform/Wide.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

namespace {

// Restores a DC's whole state (selected objects, colours, modes, clip).
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(::SaveDC(dc)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() {
        if (id_) ::RestoreDC(dc_, id_);
    }

private:
    HDC dc_;
    int id_;
};

DWORD Mix(DWORD c1, DWORD c2, int i, int n) {
    auto channel = [&](int shift) {
        int a = (c1 >> shift) & 0xFF, b = (c2 >> shift) & 0xFF;
        return static_cast<DWORD>(a + (b - a) * i / n) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// Without GradientFill: 2^k bands of solid colour, from c2 at the bottom up.
void FillBands(HDC dc, const RECT& rc, DWORD c1, DWORD c2, int steps) {
    int k = steps < 4 ? 1 : steps < 8 ? 2 : steps < 16 ? 3 : steps < 32 ? 4 : steps < 64 ? 5 : 6;
    const int n = 1 << k;
    const long long h = rc.bottom - rc.top;
    for (int i = 0; i < n; ++i) {  // i = 0 is the bottom band
        RECT band{rc.left, static_cast<LONG>(rc.top + h * (n - 1 - i) / n), rc.right,
                  static_cast<LONG>(rc.top + h * (n - i) / n)};
        if (band.bottom <= band.top) continue;
        UniqueBrush brush(::CreateSolidBrush(CRenderer::ToColorRef(Mix(c2, c1, i, n - 1))));
        if (brush) ::FillRect(dc, &band, brush.get());
    }
}

void FillGradient(HDC dc, const RECT& rc, DWORD c1, DWORD c2, int steps) {
    if (!CRenderBlend::GradientFillV(dc, rc, c1, c2)) FillBands(dc, rc, c1, c2, steps);
}

// The part of rc the DC can show: its clip box, which for a memory DC
// without a clip region is the selected bitmap.
bool VisiblePart(HDC dc, const RECT& rc, RECT& visible) {
    RECT box{};
    return ::GetClipBox(dc, &box) != ERROR && ::IntersectRect(&visible, &box, &rc);
}

// While high contrast is on, text keeps a colour only if it is one of the
// system's (a control chose it for its state); any other is the skin's and
// gives way to the window text colour.
DWORD ContrastTextColor(const IRenderContext& manager, DWORD argb) {
    const TContrastColors* c = manager.GetContrastColors();
    if (c == nullptr) return argb;
    for (DWORD system : {c->window, c->windowText, c->buttonFace, c->buttonText, c->highlight, c->highlightText,
                         c->grayText, c->hotLight}) {
        if ((system & 0xFFFFFF) == (argb & 0xFFFFFF)) return argb;
    }
    return c->windowText;
}

}  // namespace

void CRenderer::DrawColor(HDC dc, const RECT& rc, DWORD argb) {
    if (!dc || ::IsRectEmpty(&rc) || argb <= 0x00FFFFFF) return;
    if ((argb >> 24) == 0xFF) {
        UniqueBrush brush(::CreateSolidBrush(ToColorRef(argb)));
        if (brush) ::FillRect(dc, &rc, brush.get());
        return;
    }
    // One pixel stretched over the rectangle: only its visible part is
    // blended, which also keeps its size within the int range.
    RECT visible{};
    if (!VisiblePart(dc, rc, visible)) return;
    uint32_t* bits = nullptr;
    UniqueBitmap pixel = CRenderBlend::CreateDib32(1, 1, &bits);
    UniqueMemDC mem = CompatibleDC(dc);
    if (!pixel || !mem) return;
    // Blending expects premultiplied pixels; the plain colour would come out
    // too bright over anything but black.
    *bits = RenderPixels::Premultiply(argb);
    SelectGuard selected(mem.get(), pixel.get());
    CRenderBlend::AlphaBlend(dc, visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top,
                             mem.get(), 0, 0, 1, 1, 255, true);
}

void CRenderer::DrawGradient(HDC dc, const RECT& rc, DWORD c1, DWORD c2, bool /*vertical*/, int steps) {
    if (!dc || ::IsRectEmpty(&rc)) return;
    const int opacity = static_cast<int>(((c1 >> 24) + (c2 >> 24)) / 2);
    if (opacity == 0) return;
    if (opacity == 255) {
        FillGradient(dc, rc, c1, c2, steps);
        return;
    }
    // Only the visible part gets a temporary bitmap; the gradient is drawn
    // into it in the DC's coordinates, shifted by the viewport origin.
    RECT visible{};
    if (!VisiblePart(dc, rc, visible)) return;
    const int w = visible.right - visible.left, h = visible.bottom - visible.top;
    uint32_t* bits = nullptr;
    UniqueBitmap tmp = CRenderBlend::CreateDib32(w, h, &bits);
    UniqueMemDC mem = CompatibleDC(dc);
    if (!tmp || !mem) return;
    SelectGuard selected(mem.get(), tmp.get());
    ::SetViewportOrgEx(mem.get(), -visible.left, -visible.top, nullptr);
    FillGradient(mem.get(), rc, c1, c2, steps);
    ::SetViewportOrgEx(mem.get(), 0, 0, nullptr);
    CRenderBlend::AlphaBlend(dc, visible.left, visible.top, w, h, mem.get(), 0, 0, w, h, static_cast<BYTE>(opacity),
                             false);
}

void CRenderer::DrawArrow(HDC dc, const RECT& box, Arrow direction, int half, DWORD argb) {
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    // Row 0 is the base, the widest; the tip is one or two pixels.
    for (int row = 0; row < half; ++row) {
        const int reach = half - row;
        const int at = row - half / 2;
        RECT line{};
        switch (direction) {
        case Arrow::Down:
            line = RECT{cx - reach, cy + at, cx + reach, cy + at + 1};
            break;
        case Arrow::Up:
            line = RECT{cx - reach, cy - at - 1, cx + reach, cy - at};
            break;
        case Arrow::Right:
            line = RECT{cx + at, cy - reach, cx + at + 1, cy + reach};
            break;
        case Arrow::Left:
            line = RECT{cx - at - 1, cy - reach, cx - at, cy + reach};
            break;
        }
        DrawColor(dc, line, argb);
    }
}

void CRenderer::DrawLine(HDC dc, const RECT& rc, int size, DWORD argb, int style) {
    if (!dc || size < 1) return;
    UniquePen pen(::CreatePen(style, size, ToColorRef(argb)));
    if (!pen) return;
    SelectGuard selected(dc, pen.get());
    POINT old{};
    ::MoveToEx(dc, rc.left, rc.top, &old);
    ::LineTo(dc, rc.right, rc.bottom);
    ::MoveToEx(dc, old.x, old.y, nullptr);
}

void CRenderer::DrawRect(HDC dc, const RECT& rc, int size, DWORD argb) {
    if (!dc || size < 1 || ::IsRectEmpty(&rc)) return;
    UniquePen pen(::CreatePen(PS_INSIDEFRAME, size, ToColorRef(argb)));
    if (!pen) return;
    SelectGuard selectedPen(dc, pen.get());
    SelectGuard selectedBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
}

void CRenderer::DrawRoundRect(HDC dc, const RECT& rc, int width, int cx, int cy, DWORD argb) {
    if (!dc || width < 1 || ::IsRectEmpty(&rc)) return;
    UniquePen pen(::CreatePen(PS_INSIDEFRAME, width, ToColorRef(argb)));
    if (!pen) return;
    SelectGuard selectedPen(dc, pen.get());
    SelectGuard selectedBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, cx, cy);
}

void CRenderer::DrawText(HDC dc, IRenderContext* manager, RECT& rc, const char* text, DWORD argb, int font,
                         UINT format) {
    if (!dc || !manager || !text || !*text) return;
    SavedDC saved(dc);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(ContrastTextColor(*manager, argb)));
    HFONT f = manager->GetFont(font);
    if (f) ::SelectObject(dc, f);
    const std::wstring wide = Text::Widen(text);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rc, format | DT_NOPREFIX);
}

namespace {

// A copy of an image with alpha as its shape: every pixel in colour at the
// image's opacity there, premultiplied as the drawing expects.
UniqueBitmap ShapeOf(const TImageInfo& image, DWORD argb) {
    DIBSECTION dib{};
    if (::GetObjectW(image.hBitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 32) {
        return UniqueBitmap();
    }
    uint32_t* bits = nullptr;
    UniqueBitmap shape = CRenderBlend::CreateDib32(image.nX, image.nY, &bits);
    if (!shape) return shape;
    const auto* source = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    const size_t count = static_cast<size_t>(image.nX) * static_cast<size_t>(image.nY);
    for (size_t i = 0; i < count; ++i)
        bits[i] = RenderPixels::Premultiply((source[i] & 0xFF000000u) | (argb & 0xFFFFFF));
    return shape;
}

}  // namespace

bool CRenderer::DrawImageString(HDC dc, IRenderContext* manager, const RECT& item, const RECT& paint, const char* image,
                                const char* modify) {
    return DrawImageSteps(dc, manager, item, paint, image, modify, nullptr);
}

bool CRenderer::DrawImageShape(HDC dc, IRenderContext* manager, const RECT& item, const RECT& paint, const char* image,
                               DWORD argb, const char* modify) {
    return DrawImageSteps(dc, manager, item, paint, image, modify, &argb);
}

bool CRenderer::DrawImageSteps(HDC dc, IRenderContext* manager, const RECT& item, const RECT& paint, const char* image,
                               const char* modify, const DWORD* shape) {
    if (!dc || !manager) return false;
    const TRect itemRect = RectFrom(item);
    const TRect paintRect = RectFrom(paint);
    const DpiScale& scale = manager->GetScale();
    for (const TImageDrawStep& step : CImageStringParser::Steps(image, modify, itemRect, scale)) {
        const TImageInfo* info = manager->FindOrLoadImage(step.name, step.type, step.mask);
        if (!info || !info->hBitmap) continue;
        TRect source = step.source;
        if (source == TRect{}) source = TRect{0, 0, info->nX, info->nY};
        source.right = std::min(source.right, info->nX);
        source.bottom = std::min(source.bottom, info->nY);
        if (!step.dest.Meets(itemRect) || !step.dest.Meets(paintRect)) continue;
        TRect corner = step.corner;
        if (!scale.IsIdentity()) {
            // The source and the corners at the window's scale, in the image
            // drawn (or filtered) for it; the dest is the scaled layout's, its
            // offsets in the control scaled by the parser.
            const TImageInfo* scaled = manager->FindOrLoadScaledImage(step.name, step.type, step.mask);
            if (scaled && scaled->hBitmap) {
                info = scaled;
                const TRect source96 = source;
                source = scale.ScaleEdges(source);
                source.right = std::min(source.right, info->nX);
                source.bottom = std::min(source.bottom, info->nY);
                corner = ImageScale::CornersKeepingMiddle(
                    scale.ScaleEdges(corner), static_cast<int>(source.Width()), static_cast<int>(source.Height()),
                    corner, static_cast<int>(source96.Width()), static_cast<int>(source96.Height()));
            }
        }
        RECT d = WinRectFrom(step.dest);
        RECT s = WinRectFrom(source);
        RECT c = WinRectFrom(corner);
        // An image without alpha has no shape to draw: it is drawn as it is.
        UniqueBitmap shaped = shape != nullptr && info->alphaChannel ? ShapeOf(*info, *shape) : UniqueBitmap();
        DrawImage(dc, shaped ? shaped.get() : info->hBitmap, d, paint, s, c, info->alphaChannel, step.fade, step.hole,
                  step.xtiled, step.ytiled);
    }
    return true;
}

void CRenderer::DrawHtmlText(HDC dc, IRenderContext* manager, RECT& rc, const char* text, DWORD argb, RECT* links,
                             std::string* linkTexts, int& linkCount, UINT format) {
    const int room = (links && linkTexts) ? std::max(0, linkCount) : 0;
    linkCount = 0;
    if (!dc || !manager || !text || !*text || ::IsRectEmpty(&rc)) return;

    std::vector<THtmlLink> previous;
    for (int i = 0; i < room; ++i)
        previous.push_back(THtmlLink{{links[i].left, links[i].top, links[i].right, links[i].bottom}, linkTexts[i]});
    THtmlLayoutParams params;
    params.rect = RectFrom(rc);
    params.colour = ContrastTextColor(*manager, argb);
    params.format = format;
    params.linkColour = manager->GetDefaultLinkFontColor();
    params.linkHoverColour = manager->GetDefaultLinkHoverFontColor();
    if (const TContrastColors* contrast = manager->GetContrastColors()) {
        params.linkColour = contrast->hotLight;
        params.linkHoverColour = contrast->hotLight;
        params.keepColour = true;
    }
    const POINT mouse = manager->GetMousePos();
    params.mouseX = mouse.x;
    params.mouseY = mouse.y;
    params.previousLinks = previous.data();
    params.previousLinkCount = room;
    params.maxLinks = room;

    THtmlLayoutResult result;
    {
        SavedDC saved(dc);
        if (!(format & DT_CALCRECT)) ::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        ::SetBkMode(dc, TRANSPARENT);
        CRenderHtmlCanvas canvas(dc, manager);
        result = CHtmlLayout(canvas, params).Run(text);
    }
    for (const THtmlLink& link : result.links) {
        links[linkCount] = RECT{link.rect.left, link.rect.top, link.rect.right, link.rect.bottom};
        linkTexts[linkCount] = link.text;
        ++linkCount;
    }
    if (format & DT_CALCRECT) {
        rc.right = result.extent.right;
        rc.bottom = result.extent.bottom;
    }
}

}  // namespace Loom

#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/GdiHandles.h"
#include "Loom/Render/RenderContext.h"

namespace Loom {

// Frees an image record together with its bitmap.
struct TImageInfoDeleter {
    void operator()(TImageInfo* image) const noexcept;
};
// An owned image record; the paint manager keeps these in its image table.
using TImagePtr = std::unique_ptr<TImageInfo, TImageInfoDeleter>;

// Restricts drawing on a DC to a rectangle or a rounded rectangle for one
// paint step and gives the DC its previous clip back when it ends. Move-only.
class CRenderClip {
public:
    CRenderClip() = default;
    CRenderClip(CRenderClip&& other) noexcept;
    CRenderClip& operator=(CRenderClip&& other) noexcept;
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;
    ~CRenderClip();

    // Clips the DC to rc, within the clip already in force (a child never
    // paints outside its parent's clip).
    static CRenderClip ClipToRect(HDC dc, const RECT& rc);
    // Clips the DC to rc intersected with a rounded rectangle over round
    // (corner ellipse cx, cy; the region's right and bottom extended by one
    // pixel so the rounded frame drawn over round stays inside), again
    // within the clip already in force.
    static CRenderClip ClipToRoundRect(HDC dc, const RECT& rc, const RECT& round, int cx, int cy);
    // The same, assigning to an existing clip object (its earlier clip, if
    // any, is restored first).
    static void GenerateClip(HDC dc, const RECT& rc, CRenderClip& clip);
    static void GenerateRoundClip(HDC dc, const RECT& rc, const RECT& round, int cx, int cy, CRenderClip& clip);

    // Gives the DC its previous clip back now instead of at the end.
    void Restore();

private:
    void Select(HDC dc, HRGN region);

    HDC dc_ = nullptr;
    UniqueRegion previous_;  // the clip before this one; empty if there was none
    bool hadClip_ = false;
    bool active_ = false;
};

// Stateless drawing operations used by every control. All draw into a DC
// given by the caller; colours are 0xAARRGGBB. Window thread only (they use
// the paint manager's font and image tables).
class CRenderer {
public:
    // Loads an image into a premultiplied top-down 32-bit DIB section.
    // nameOrId: a name, or a resource number made with MAKEINTRESOURCE.
    // type: resource type (a name such as "PNG", or MAKEINTRESOURCE(n)); with
    // nullptr or "" the image is the file resourcePath + name. module: the
    // module whose resources are read (nullptr: the program's own). A pixel
    // equal to mask (0xAARRGGBB after premultiplying) becomes transparent.
    // Returns nothing when the image cannot be found or decoded.
    static TImagePtr LoadImage(LPCSTR nameOrId, LPCSTR type, DWORD mask, HINSTANCE module = nullptr,
                               const char* resourcePath = "");

    // The image filtered to width x height (ImageScale::Resample), with its
    // mask and type; nothing for a size beyond a skin image's or below 1.
    static TImagePtr ResampleImage(const TImageInfo& image, int width, int height);

    // Draws bitmap (source part) into dest, only where dest meets paint:
    // nine-slice corners drawn 1:1, the middle stretched or tiled, or left
    // out with hole; blended when alpha is set or fade < 255.
    static void DrawImage(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                          const RECT& corners, bool alpha, BYTE fade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);

    // Draws an image string over item, limited to paint; modify overrides
    // the string's settings (a control adds its "dest" this way). Returns
    // false only when there is no DC or no manager; a missing image draws
    // nothing and still returns true.
    static bool DrawImageString(HDC dc, IRenderContext* manager, const RECT& item, const RECT& paint, const char* image,
                                const char* modify = nullptr);

    // The same image string drawn as its shape only: each pixel in argb at
    // the image's opacity there (an image without alpha is drawn as it is).
    // While high contrast is on, an image that is a control's only content
    // (an image-only button) is drawn so, in the control's text colour.
    static bool DrawImageShape(HDC dc, IRenderContext* manager, const RECT& item, const RECT& paint, const char* image,
                               DWORD argb, const char* modify = nullptr);

    // Fills rc with colour: nothing at alpha 0, solid at 0xFF, blended otherwise.
    static void DrawColor(HDC dc, const RECT& rc, DWORD argb);
    // A gradient from c1 at the top to c2 at the bottom (vertical does not
    // change the direction), at the mean opacity of both colours.
    static void DrawGradient(HDC dc, const RECT& rc, DWORD c1, DWORD c2, bool vertical, int steps);

    // A solid triangle centred in box, half pixels from its tip to its
    // base and twice that wide: the arrows drawn while high contrast is on.
    enum class Arrow { Up, Down, Left, Right };
    static void DrawArrow(HDC dc, const RECT& box, Arrow direction, int half, DWORD argb);

    // A line from (left, top) to (right, bottom).
    static void DrawLine(HDC dc, const RECT& rc, int size, DWORD argb, int style = PS_SOLID);
    // Frames drawn inside rc, not filled.
    static void DrawRect(HDC dc, const RECT& rc, int size, DWORD argb);
    static void DrawRoundRect(HDC dc, const RECT& rc, int width, int cx, int cy, DWORD argb);

    // Plain text with the manager's font of that index (default font if out
    // of range); "&" is shown literally. format: DrawText flags.
    static void DrawText(HDC dc, IRenderContext* manager, RECT& rc, const char* text, DWORD argb, int font,
                         UINT format);

    // Tag-annotated text (b, i, u, c, f, a, n, p, r, s, x, y, i-image in
    // {x} or <x> form). format: DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM,
    // DT_WORDBREAK, DT_SINGLELINE, DT_CALCRECT (measure only: rc gets the
    // text's extent), DT_END_ELLIPSIS. links/linkTexts: linkCount entries on
    // input (the previous paint's links, used for the hover colour); on
    // return linkCount holds the number filled. Either may be null with a
    // linkCount of 0.
    static void DrawHtmlText(HDC dc, IRenderContext* manager, RECT& rc, const char* text, DWORD argb, RECT* links,
                             std::string* linkTexts, int& linkCount, UINT format);

    // The GDI colour (0x00BBGGRR) of an ARGB colour; alpha is dropped.
    static COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

private:
    // DrawImageString, and with shape DrawImageShape in *shape.
    static bool DrawImageSteps(HDC dc, IRenderContext* manager, const RECT& item, const RECT& paint, const char* image,
                               const char* modify, const DWORD* shape);
};

}  // namespace Loom

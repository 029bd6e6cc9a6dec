#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/GdiHandles.h"

namespace Loom {

// AlphaBlend and GradientFill of "msimg32.dll", looked up once at run time,
// with the render engine's own replacements when the library or a function
// is missing. Any thread; the lookup is done once, on first use.
class CRenderBlend {
public:
    // Source-over of src (a memory DC holding a 32-bit premultiplied DIB
    // section) onto dst, stretched from (sx, sy, sw, sh) to (x, y, w, h),
    // with a constant opacity and, if perPixel, the source's own alpha.
    // Returns false when nothing could be drawn.
    static bool AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                           BYTE constantAlpha, bool perPixel);
    // A vertical gradient from c1 at the top to c2 at the bottom, opaque.
    // False when the platform's GradientFill is not there (or fails): the
    // caller then fills bands itself.
    static bool GradientFillV(HDC dc, const RECT& rc, DWORD c1, DWORD c2);

    // A top-down 32-bit DIB section; bits receives its pixels (0xAARRGGBB).
    static UniqueBitmap CreateDib32(int width, int height, uint32_t** bits);

    // Tests use this to run the own replacements on a system that has the
    // platform functions.
    static void ForceFallback(bool on);

private:
    static bool FallbackBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                              BYTE constantAlpha, bool perPixel);
};

}  // namespace Loom

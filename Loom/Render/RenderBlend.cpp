#include "Loom/Render/RenderBlend.h"

#include <algorithm>
#include <atomic>

#include "Loom/Render/RenderPixels.h"
#include "platform/LateLibrary.h"

namespace Loom {

namespace {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The library stays loaded for the life of the process, as the functions
// may be called until its end.
struct Msimg32 {
    AlphaBlendFn alphaBlend = nullptr;
    GradientFillFn gradientFill = nullptr;
    Msimg32() {
        const HMODULE m = LoadSystemLibrary("msimg32.dll");
        alphaBlend = LibraryFunction<AlphaBlendFn>(m, "AlphaBlend");
        gradientFill = LibraryFunction<GradientFillFn>(m, "GradientFill");
    }
};

const Msimg32& Library() {
    static const Msimg32 library;  // looked up once; thread-safe initialisation
    return library;
}

std::atomic<bool> forceFallback{false};

}  // namespace

void CRenderBlend::ForceFallback(bool on) { forceFallback = on; }

UniqueBitmap CRenderBlend::CreateDib32(int width, int height, uint32_t** bits) {
    *bits = nullptr;
    // 16384 x 16384 is far beyond any window; larger requests are mistakes.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return UniqueBitmap();
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    UniqueBitmap bmp(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &p, nullptr, 0));
    if (!bmp || !p) return UniqueBitmap();
    *bits = static_cast<uint32_t*>(p);
    return bmp;
}

bool CRenderBlend::AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                              BYTE constantAlpha, bool perPixel) {
    if (!dst || !src || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
    const Msimg32& lib = Library();
    if (lib.alphaBlend && !forceFallback) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, constantAlpha, static_cast<BYTE>(perPixel ? AC_SRC_ALPHA : 0)};
        return lib.alphaBlend(dst, x, y, w, h, src, sx, sy, sw, sh, bf) != FALSE;
    }
    return FallbackBlend(dst, x, y, w, h, src, sx, sy, sw, sh, constantAlpha, perPixel);
}

// Blends only the part of the destination inside its clip box: the source
// part and the visible destination are copied into DIB sections of known
// layout (GetObject does not tell a top-down DIB from a bottom-up one under
// Wine), blended there with nearest-neighbour samples and copied back.
bool CRenderBlend::FallbackBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                                 BYTE constantAlpha, bool perPixel) {
    RECT box{}, target{x, y, x + w, y + h}, visible{};
    if (::GetClipBox(dst, &box) == ERROR || !::IntersectRect(&visible, &box, &target)) return true;
    const int vw = visible.right - visible.left, vh = visible.bottom - visible.top;
    uint32_t* srcBits = nullptr;
    uint32_t* bits = nullptr;
    UniqueBitmap srcCopy = CreateDib32(sw, sh, &srcBits);
    UniqueBitmap dstCopy = CreateDib32(vw, vh, &bits);
    UniqueMemDC srcMem = CompatibleDC(dst);
    UniqueMemDC dstMem = CompatibleDC(dst);
    if (!srcCopy || !dstCopy || !srcMem || !dstMem) return false;
    SelectGuard srcSel(srcMem.get(), srcCopy.get());
    SelectGuard dstSel(dstMem.get(), dstCopy.get());
    if (!::BitBlt(srcMem.get(), 0, 0, sw, sh, src, sx, sy, SRCCOPY)) return false;
    ::BitBlt(dstMem.get(), 0, 0, vw, vh, dst, visible.left, visible.top, SRCCOPY);
    ::GdiFlush();
    for (int row = 0; row < vh; ++row) {
        const long long v = (static_cast<long long>(visible.top - y + row) * sh) / h;
        const uint32_t* srcRow = srcBits + v * sw;
        for (int col = 0; col < vw; ++col) {
            const long long u = (static_cast<long long>(visible.left - x + col) * sw) / w;
            uint32_t& d = bits[row * vw + col];
            d = RenderPixels::BlendOver(d, srcRow[u], constantAlpha, perPixel);
        }
    }
    ::BitBlt(dst, visible.left, visible.top, vw, vh, dstMem.get(), 0, 0, SRCCOPY);
    return true;
}

bool CRenderBlend::GradientFillV(HDC dc, const RECT& rc, DWORD c1, DWORD c2) {
    const Msimg32& lib = Library();
    if (!lib.gradientFill || forceFallback) return false;
    auto vertex = [](LONG x, LONG y, DWORD c) {
        TRIVERTEX v{};
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(((c >> 16) & 0xFF) << 8);
        v.Green = static_cast<COLOR16>(((c >> 8) & 0xFF) << 8);
        v.Blue = static_cast<COLOR16>((c & 0xFF) << 8);
        v.Alpha = 0xFF00;
        return v;
    };
    TRIVERTEX v[2] = {vertex(rc.left, rc.top, c1), vertex(rc.right, rc.bottom, c2)};
    GRADIENT_RECT r{0, 1};
    return lib.gradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V) != FALSE;
}

}  // namespace Loom

// Image loading and nine-slice image drawing of CRenderer.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Loom/Render/Render.h"
#include "Loom/Render/ImageScale.h"
#include "Loom/Render/RenderBlend.h"
#include "Loom/Render/RenderPixels.h"
#include "platform/Files.h"
#include "platform/Win32Text.h"

// The skin's images are PNG; the decoder's other formats stay out.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace Loom {

namespace {

// Image files beyond this are not skin images; refusing them keeps a wrong
// path from reading a whole disk file into memory.
constexpr long kMaxImageFileBytes = 64L * 1024 * 1024;

bool ReadResource(HINSTANCE module, LPCSTR name, LPCSTR type, std::vector<unsigned char>& bytes) {
    HRSRC res = Text::FindResourceNamed(module, name, type);
    if (!res) return false;
    DWORD size = ::SizeofResource(module, res);
    HGLOBAL global = ::LoadResource(module, res);  // not freed: resources live with the module
    const void* data = global ? ::LockResource(global) : nullptr;
    if (!data || size == 0) return false;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    bytes.assign(p, p + size);
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(Text::OpenFile(path, "rb"), &std::fclose);
    if (!f || std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    long size = std::ftell(f.get());
    if (size <= 0 || size > kMaxImageFileBytes || std::fseek(f.get(), 0, SEEK_SET) != 0) return false;
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        bytes.clear();  // a short read is a failed read
        return false;
    }
    return true;
}

TImagePtr Decode(const std::vector<unsigned char>& bytes, DWORD mask) {
    int w = 0, h = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4), &stbi_image_free);
    if (!rgba || w <= 0 || h <= 0) return nullptr;
    uint32_t* bits = nullptr;
    UniqueBitmap bmp = CRenderBlend::CreateDib32(w, h, &bits);
    if (!bmp) return nullptr;
    ::GdiFlush();
    bool alpha = RenderPixels::PremultiplyRgba(rgba.get(), bits, static_cast<size_t>(w) * h, mask);
    TImagePtr image(new TImageInfo);
    image->hBitmap = bmp.release();
    image->nX = w;
    image->nY = h;
    image->alphaChannel = alpha;
    image->dwMask = mask;
    return image;
}

// Draws parts of one bitmap, selected into a memory DC, onto a DC: blended,
// copied or stretched. Parts are given in 64-bit coordinates and skipped
// when empty, outside the bitmap or away from the paint rectangle.
class ImageBlitter {
public:
    struct Box {
        long long left, top, right, bottom;
        bool Empty() const { return right <= left || bottom <= top; }
        long long W() const { return right - left; }
        long long H() const { return bottom - top; }
    };

    ImageBlitter(HDC dc, HDC mem, const BITMAP& bm, const RECT& paint, bool blend, BYTE fade)
        : dc_(dc), mem_(mem), bm_(bm), paint_(paint), blend_(blend), fade_(fade) {}

    void Part(const Box& d, const Box& s) const {
        if (d.Empty() || s.Empty() || s.left < 0 || s.top < 0 || s.right > bm_.bmWidth || s.bottom > bm_.bmHeight)
            return;
        if (d.right <= paint_.left || d.left >= paint_.right || d.bottom <= paint_.top || d.top >= paint_.bottom)
            return;
        if (d.left < INT_MIN / 2 || d.right > INT_MAX / 2 || d.top < INT_MIN / 2 || d.bottom > INT_MAX / 2) return;
        const int x = int(d.left), y = int(d.top), w = int(d.W()), h = int(d.H());
        const int sx = int(s.left), sy = int(s.top), sw = int(s.W()), sh = int(s.H());
        if (blend_)
            CRenderBlend::AlphaBlend(dc_, x, y, w, h, mem_, sx, sy, sw, sh, fade_, true);
        else if (w == sw && h == sh)
            ::BitBlt(dc_, x, y, w, h, mem_, sx, sy, SRCCOPY);
        else
            ::StretchBlt(dc_, x, y, w, h, mem_, sx, sy, sw, sh, SRCCOPY);
    }

    // The middle part tiled in one or both directions; tiles away from the
    // paint rectangle are not visited, so huge destinations cost nothing.
    void Tiled(const Box& d, const Box& s, bool xtiled, bool ytiled) const {
        if ((xtiled && s.W() < 1) || (ytiled && s.H() < 1) || d.Empty()) return;
        const long long tw = xtiled ? s.W() : d.W(), th = ytiled ? s.H() : d.H();
        const long long cols = (d.W() + tw - 1) / tw, rows = (d.H() + th - 1) / th;
        const long long c0 = std::max(0LL, (paint_.left - d.left) / tw);
        const long long c1 = std::min(cols, (paint_.right - d.left + tw - 1) / tw);
        const long long r0 = std::max(0LL, (paint_.top - d.top) / th);
        const long long r1 = std::min(rows, (paint_.bottom - d.top + th - 1) / th);
        for (long long r = r0; r < r1; ++r) {
            for (long long c = c0; c < c1; ++c) {
                Box td{d.left + c * tw, d.top + r * th, 0, 0};
                td.right = std::min(d.right, td.left + tw);
                td.bottom = std::min(d.bottom, td.top + th);
                // In a tiled direction the (last, cut) tile is drawn 1:1.
                Box ts{s.left, s.top, xtiled ? s.left + td.W() : s.right, ytiled ? s.top + td.H() : s.bottom};
                Part(td, ts);
            }
        }
    }

private:
    HDC dc_;
    HDC mem_;
    BITMAP bm_;
    RECT paint_;
    bool blend_;
    BYTE fade_;
};

// Halftone stretching for the time of one drawing, then the DC's own mode.
class StretchModeGuard {
public:
    explicit StretchModeGuard(HDC dc) : dc_(dc), old_(::SetStretchBltMode(dc, HALFTONE)) {
        ::SetBrushOrgEx(dc, 0, 0, &oldOrg_);
    }
    StretchModeGuard(const StretchModeGuard&) = delete;
    StretchModeGuard& operator=(const StretchModeGuard&) = delete;
    ~StretchModeGuard() {
        if (old_) ::SetStretchBltMode(dc_, old_);
        ::SetBrushOrgEx(dc_, oldOrg_.x, oldOrg_.y, nullptr);
    }

private:
    HDC dc_;
    int old_;
    POINT oldOrg_{};
};

}  // namespace

void TImageInfoDeleter::operator()(TImageInfo* image) const noexcept {
    if (!image) return;
    UniqueBitmap owned(image->hBitmap);
    delete image;
}

TImagePtr CRenderer::LoadImage(LPCSTR nameOrId, LPCSTR type, DWORD mask, HINSTANCE module, const char* resourcePath) {
    if (nameOrId == nullptr) return nullptr;
    const bool isNumber = IS_INTRESOURCE(nameOrId);
    const bool hasType = type != nullptr && (IS_INTRESOURCE(type) || *type != '\0');
    std::vector<unsigned char> bytes;
    bool read = false;
    if (hasType) {
        read = ReadResource(module ? module : ::GetModuleHandleW(nullptr), nameOrId, type, bytes);
    } else if (!isNumber) {
        read = ReadWholeFile(std::string(resourcePath ? resourcePath : "") + nameOrId, bytes);
    }
    // A name that was not found where it was looked for may be a path itself.
    if (!read && !isNumber) read = ReadWholeFile(nameOrId, bytes);
    if (!read) return nullptr;
    TImagePtr image = Decode(bytes, mask);
    if (image && hasType && !IS_INTRESOURCE(type)) image->sResType = type;
    return image;
}

TImagePtr CRenderer::ResampleImage(const TImageInfo& image, int width, int height) {
    if (width < 1 || height < 1 || width > STBI_MAX_DIMENSIONS || height > STBI_MAX_DIMENSIONS) return nullptr;
    DIBSECTION from{};
    if (!image.hBitmap || ::GetObjectW(image.hBitmap, sizeof from, &from) != sizeof from || !from.dsBm.bmBits ||
        from.dsBm.bmBitsPixel != 32 || from.dsBm.bmWidth != image.nX || from.dsBm.bmHeight != image.nY)
        return nullptr;
    uint32_t* bits = nullptr;
    UniqueBitmap bmp = CRenderBlend::CreateDib32(width, height, &bits);
    if (!bmp) return nullptr;
    ::GdiFlush();
    ImageScale::Resample(static_cast<const uint32_t*>(from.dsBm.bmBits), image.nX, image.nY, bits, width, height);
    TImagePtr scaled(new TImageInfo);
    scaled->hBitmap = bmp.release();
    scaled->nX = width;
    scaled->nY = height;
    scaled->alphaChannel = image.alphaChannel;
    scaled->dwMask = image.dwMask;
    scaled->sResType = image.sResType;
    return scaled;
}

void CRenderer::DrawImage(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                          const RECT& corners, bool alpha, BYTE fade, bool hole, bool xtiled, bool ytiled) {
    BITMAP bm{};
    if (!dc || !bitmap || ::GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) return;
    if (::IsRectEmpty(&dest) || ::IsRectEmpty(&paint) || ::IsRectEmpty(&source)) return;
    if (source.left < 0 || source.top < 0 || source.right > bm.bmWidth || source.bottom > bm.bmHeight) return;
    UniqueMemDC mem = CompatibleDC(dc);
    if (!mem) return;
    SelectGuard selected(mem.get(), bitmap);
    StretchModeGuard halftone(dc);
    const bool blend = alpha || fade < 255;
    const ImageBlitter blit(dc, mem.get(), bm, paint, blend, fade);
    using Box = ImageBlitter::Box;
    const Box d{dest.left, dest.top, dest.right, dest.bottom};
    const Box s{source.left, source.top, source.right, source.bottom};
    const long long cl = std::max(0L, corners.left), ct = std::max(0L, corners.top);
    const long long cr = std::max(0L, corners.right), cb = std::max(0L, corners.bottom);

    if (cl == 0 && ct == 0 && cr == 0 && cb == 0 && !blend && d.W() == s.W() && d.H() == s.H()) {
        // A plain copy of the visible part, straight from the matching source offset.
        RECT part{};
        if (::IntersectRect(&part, &dest, &paint))
            ::BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, mem.get(),
                     source.left + (part.left - dest.left), source.top + (part.top - dest.top), SRCCOPY);
        return;
    }
    const Box dm{d.left + cl, d.top + ct, d.right - cr, d.bottom - cb};
    const Box sm{s.left + cl, s.top + ct, s.right - cr, s.bottom - cb};
    if (!hole) {
        if (xtiled || ytiled)
            blit.Tiled(dm, sm, xtiled, ytiled);
        else
            blit.Part(dm, sm);
    }
    if (cl > 0 && ct > 0) blit.Part({d.left, d.top, dm.left, dm.top}, {s.left, s.top, sm.left, sm.top});
    if (ct > 0) blit.Part({dm.left, d.top, dm.right, dm.top}, {sm.left, s.top, sm.right, sm.top});
    if (cr > 0 && ct > 0) blit.Part({dm.right, d.top, d.right, dm.top}, {sm.right, s.top, s.right, sm.top});
    if (cl > 0) blit.Part({d.left, dm.top, dm.left, dm.bottom}, {s.left, sm.top, sm.left, sm.bottom});
    if (cr > 0) blit.Part({dm.right, dm.top, d.right, dm.bottom}, {sm.right, sm.top, s.right, sm.bottom});
    if (cl > 0 && cb > 0) blit.Part({d.left, dm.bottom, dm.left, d.bottom}, {s.left, sm.bottom, sm.left, s.bottom});
    if (cb > 0) blit.Part({dm.left, dm.bottom, dm.right, d.bottom}, {sm.left, sm.bottom, sm.right, s.bottom});
    if (cr > 0 && cb > 0) blit.Part({dm.right, dm.bottom, d.right, d.bottom}, {sm.right, sm.bottom, s.right, s.bottom});
}

}  // namespace Loom

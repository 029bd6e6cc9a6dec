#pragma once
#include <cstddef>
#include <cstdint>

namespace Loom {

// Pixel conversions of the render engine, free of GDI so they are tested natively.
class RenderPixels {
public:
    // Converts count RGBA pixels (8 bits each, as the PNG decoder gives
    // them) to premultiplied 0xAARRGGBB values, which a 32-bit DIB keeps as
    // blue, green, red, alpha bytes. A pixel whose result equals mask
    // becomes 0. Returns true when any pixel is not fully opaque afterwards
    // (or was masked): the image then needs blending.
    static bool PremultiplyRgba(const uint8_t* rgba, uint32_t* out, size_t count, uint32_t mask);

    // The premultiplied form of an 0xAARRGGBB colour.
    static uint32_t Premultiply(uint32_t argb);

    // Source-over of a premultiplied pixel onto another with an extra
    // constant opacity (the blend the platform's AlphaBlend performs).
    // perPixel false ignores the source's alpha byte.
    static uint32_t BlendOver(uint32_t dst, uint32_t src, uint8_t constantAlpha, bool perPixel);
};

}  // namespace Loom

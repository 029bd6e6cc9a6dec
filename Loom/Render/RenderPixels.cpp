#include "Loom/Render/RenderPixels.h"

namespace Loom {

bool RenderPixels::PremultiplyRgba(const uint8_t* rgba, uint32_t* out, size_t count, uint32_t mask) {
    bool hasAlpha = false;
    for (size_t i = 0; i < count; ++i, rgba += 4) {
        uint32_t r = rgba[0], g = rgba[1], b = rgba[2], a = rgba[3];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            hasAlpha = true;
        }
        uint32_t pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            pixel = 0;
            hasAlpha = true;
        }
        out[i] = pixel;
    }
    return hasAlpha;
}

uint32_t RenderPixels::Premultiply(uint32_t argb) {
    uint32_t a = argb >> 24;
    uint32_t r = ((argb >> 16) & 0xFF) * a / 255;
    uint32_t g = ((argb >> 8) & 0xFF) * a / 255;
    uint32_t b = (argb & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t RenderPixels::BlendOver(uint32_t dst, uint32_t src, uint8_t constantAlpha, bool perPixel) {
    const uint32_t ca = constantAlpha;
    // The source scaled by the constant opacity, with rounding.
    auto scale = [](uint32_t c, uint32_t a) { return (c * a + 127) / 255; };
    uint32_t sa = perPixel ? scale(src >> 24, ca) : ca;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t s = shift == 24 ? (perPixel ? src >> 24 : 255) : (src >> shift) & 0xFF;
        uint32_t d = (dst >> shift) & 0xFF;
        uint32_t v = scale(s, ca) + scale(d, 255 - sa);
        result |= (v > 255 ? 255 : v) << shift;
    }
    return result;
}

}  // namespace Loom

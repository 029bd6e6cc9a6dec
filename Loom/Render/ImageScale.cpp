#include "Loom/Render/ImageScale.h"

#include <algorithm>
#include <cmath>

namespace Loom {
namespace ImageScale {

namespace {

struct Tap {
    int index;
    double weight;
};

// For each of m destination pixels, the source pixels of an axis of n that
// make it and their weights (summing to 1).
std::vector<std::vector<Tap>> AxisTaps(int n, int m) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(m));
    const double step = static_cast<double>(n) / m;
    for (int i = 0; i < m; ++i) {
        std::vector<Tap>& t = taps[static_cast<size_t>(i)];
        if (m == n) {
            t.push_back({i, 1.0});
        } else if (m < n) {
            // The destination pixel covers [i * step, (i + 1) * step) of the source.
            const double a = i * step, b = (i + 1) * step;
            for (int j = static_cast<int>(std::floor(a)); j < n && j < b; ++j) {
                const double overlap = std::min(b, j + 1.0) - std::max(a, static_cast<double>(j));
                if (overlap > 0) t.push_back({j, overlap / step});
            }
        } else {
            // Centre to centre: the source position of this pixel's centre.
            const double c = (i + 0.5) * step - 0.5;
            const int j = static_cast<int>(std::floor(c));
            const double f = c - j;
            t.push_back({std::clamp(j, 0, n - 1), 1.0 - f});
            if (f > 0) t.push_back({std::clamp(j + 1, 0, n - 1), f});
        }
    }
    return taps;
}

}  // namespace

std::vector<int> DrawnDpiOrder(int windowDpi) {
    std::vector<int> order;
    if (windowDpi < 1 || windowDpi == kDrawnDpis[0]) return {kDrawnDpis[0]};
    for (int dpi : kDrawnDpis)
        if (dpi >= windowDpi) order.push_back(dpi);
    for (auto it = std::rbegin(kDrawnDpis); it != std::rend(kDrawnDpis); ++it)
        if (*it < windowDpi) order.push_back(*it);
    return order;
}

int ScaledResourceId(int id, int dpi) {
    const int offset = dpi == 96 ? 0 : dpi == 144 ? 1000 : dpi == 192 ? 2000 : -1;
    if (offset < 0 || id < 1 || id + offset > 0xFFFF) return 0;
    return id + offset;
}

std::string ScaledFileName(const std::string& name, int dpi) {
    if (dpi == 96) return name;
    const char* suffix = dpi == 144 ? "@150" : dpi == 192 ? "@200" : nullptr;
    if (suffix == nullptr || name.empty()) return std::string();
    // The extension is the last dot's, when no folder separator follows it.
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == 0 || dot == slash + 1)
        return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

TRect CornersKeepingMiddle(TRect corner, int width, int height, const TRect& corner96, int width96, int height96) {
    if (corner96.left + corner96.right < width96 && corner.left + corner.right >= width)
        corner.right = std::max(0, width - 1 - corner.left);
    if (corner96.top + corner96.bottom < height96 && corner.top + corner.bottom >= height)
        corner.bottom = std::max(0, height - 1 - corner.top);
    return corner;
}

void Resample(const uint32_t* src, int sw, int sh, uint32_t* dst, int dw, int dh) {
    if (src == nullptr || dst == nullptr || sw < 1 || sh < 1 || dw < 1 || dh < 1) return;
    const std::vector<std::vector<Tap>> xs = AxisTaps(sw, dw), ys = AxisTaps(sh, dh);
    // Across first: sh rows of dw pixels, four channels each.
    std::vector<double> across(static_cast<size_t>(sh) * dw * 4);
    for (int y = 0; y < sh; ++y) {
        const uint32_t* row = src + static_cast<size_t>(y) * sw;
        double* out = &across[static_cast<size_t>(y) * dw * 4];
        for (int x = 0; x < dw; ++x) {
            double c[4] = {0, 0, 0, 0};
            for (const Tap& t : xs[static_cast<size_t>(x)])
                for (int k = 0; k < 4; ++k) c[k] += t.weight * ((row[t.index] >> (8 * k)) & 0xFF);
            std::copy(c, c + 4, out + x * 4);
        }
    }
    for (int y = 0; y < dh; ++y) {
        uint32_t* out = dst + static_cast<size_t>(y) * dw;
        for (int x = 0; x < dw; ++x) {
            double c[4] = {0, 0, 0, 0};
            for (const Tap& t : ys[static_cast<size_t>(y)])
                for (int k = 0; k < 4; ++k) c[k] += t.weight * across[(static_cast<size_t>(t.index) * dw + x) * 4 + k];
            uint32_t v[4];
            for (int k = 0; k < 4; ++k)
                v[k] = static_cast<uint32_t>(std::clamp(static_cast<int>(std::lround(c[k])), 0, 255));
            // Premultiplied: no colour channel above the alpha (byte 3).
            for (int k = 0; k < 3; ++k) v[k] = std::min(v[k], v[3]);
            out[x] = v[0] | v[1] << 8 | v[2] << 16 | v[3] << 24;
        }
    }
}

}  // namespace ImageScale
}  // namespace Loom

#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Loom/Render/Rect.h"

namespace Loom {

// The program's images are drawn at 100, 150 and 200 % (96, 144 and 192
// DPI). A window takes the one drawn for its own DPI, or the next larger one
// filtered down, or, with none larger, the largest filtered up. Free of
// <windows.h>.
namespace ImageScale {

// The DPIs images are drawn at.
inline constexpr int kDrawnDpis[] = {96, 144, 192};

// The drawn DPIs in the order a window of this DPI tries them: its own, the
// larger ones from the nearest up, then the smaller ones from the nearest
// down. At 96 (or a DPI below 1) only 96.
std::vector<int> DrawnDpiOrder(int windowDpi);

// The resource number of the image drawn at dpi for the 100 % image id:
// id + 1000 at 150 %, id + 2000 at 200 %, id itself at 100 %; 0 when there
// is no such number (another DPI, or beyond the 16-bit range).
int ScaledResourceId(int id, int dpi);

// The file of the image drawn at dpi beside the 100 % file: "a/b@150.png"
// for "a/b.png" at 144 ("@200" at 192), the suffix at the end when the name
// has no extension; the name itself at 96; empty for any other DPI.
std::string ScaledFileName(const std::string& name, int dpi);

// The corners of an image at a scale (scaled, as the image's width and
// height) given back where rounding made them meet although the 96-DPI
// corners left a middle between them (2 + 2 of 5 px at 125 %: 3 + 3 of 6),
// so that the middle, which stretches, is still drawn: the right and the
// bottom corner give up the pixel it needs.
TRect CornersKeepingMiddle(TRect corner, int width, int height, const TRect& corner96, int width96, int height96);

// Resamples premultiplied 32-bit pixels (four 8-bit channels, filtered
// alike) from sw x sh to dw x dh, rows top-down and packed: each axis on its
// own, by the average over the covered area when shrinking and linearly
// between the two nearest pixels when enlarging. Sizes below 1 write nothing.
void Resample(const uint32_t* src, int sw, int sh, uint32_t* dst, int dw, int dh);

}  // namespace ImageScale

}  // namespace Loom

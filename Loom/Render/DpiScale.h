#pragma once
#include <climits>

#include "Loom/Render/Rect.h"

namespace Loom {

// The scale of one window: its DPI over 96. Markup and code write every
// pixel measure at 96 DPI; the window shows it at its own DPI. The one
// rounding rule for every measure: n * dpi / 96 rounded half away from zero
// (as MulDiv rounds), computed in 64 bits and kept within the int range. At
// 96 every measure is its own number. Free of <windows.h>.
class DpiScale {
public:
    static constexpr int kBaseDpi = 96;

    DpiScale() = default;
    // A DPI below 1 is taken as 96 (a window that reports none).
    explicit DpiScale(int dpi) : dpi_(dpi >= 1 ? dpi : kBaseDpi) {}

    int Dpi() const { return dpi_; }
    bool IsIdentity() const { return dpi_ == kBaseDpi; }

    // A length, a size or a position at this scale.
    int Scale(int n) const { return MulDivRound(n, dpi_, kBaseDpi); }
    // The 96-DPI number of a measure at this scale, by the same rule. For a
    // DPI of 96 and above, Unscale(Scale(n)) == n.
    int Unscale(int n) const { return MulDivRound(n, kBaseDpi, dpi_); }
    // A measure taken at fromDpi, at toDpi (the same rule).
    static int Convert(int n, int fromDpi, int toDpi) {
        return fromDpi >= 1 && toDpi >= 1 ? MulDivRound(n, toDpi, fromDpi) : n;
    }
    // Fine units: a 96th of a window pixel, which is also a DPI-th of a
    // 96-DPI pixel, so that the window's pixels and the 96-DPI numbers are
    // both whole numbers of them. A layout that adds its measures up in fine
    // units and rounds only the edges it places (by the one rule) puts every
    // edge within a pixel of the 96-DPI edge scaled, where rounding each
    // measure before adding them up lets the errors add along a row.
    static constexpr int kFinePerPixel = kBaseDpi;
    int FinePer96Pixel() const { return dpi_; }
    static long long FineOfPixels(long long px) { return px * kFinePerPixel; }
    static int PixelsOfFine(long long fine) { return ToInt(RoundDiv(fine, kFinePerPixel)); }
    // A sum of measures (fine units or pixels) kept within the int range.
    static int ToInt(long long q) { return q > INT_MAX ? INT_MAX : q < INT_MIN ? INT_MIN : static_cast<int>(q); }
    // n / d rounded half away from zero (d > 0; otherwise n).
    static long long RoundDiv(long long n, long long d) {
        if (d <= 0) return n;
        const long long half = d / 2;
        return n >= 0 ? (n + half) / d : -((-n + half) / d);
    }

    // Edge widths (padding, inset, border sizes): each edge on its own.
    TRect ScaleEdges(const TRect& edges) const {
        return TRect{Scale(edges.left), Scale(edges.top), Scale(edges.right), Scale(edges.bottom)};
    }

    bool operator==(const DpiScale& o) const { return dpi_ == o.dpi_; }
    bool operator!=(const DpiScale& o) const { return dpi_ != o.dpi_; }

private:
    static int MulDivRound(int n, int num, int den) { return ToInt(RoundDiv(static_cast<long long>(n) * num, den)); }

    int dpi_ = kBaseDpi;
};

}  // namespace Loom

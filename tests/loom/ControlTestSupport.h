#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "testkit/LoomTestWindow.h"

// Small helpers of the standard controls' tests.
namespace LoomTest {

// The recorded notifications whose type is one of types, in order.
inline std::vector<std::string> OfTypes(const std::vector<std::string>& all, std::initializer_list<const char*> types) {
    std::vector<std::string> kept;
    for (const std::string& line : all) {
        const std::string type = line.substr(0, line.find(' '));
        for (const char* t : types) {
            if (type == t) {
                kept.push_back(line);
                break;
            }
        }
    }
    return kept;
}

// The notifications of one type recorded by w, in order.
inline std::vector<std::string> Of(const TestWindow& w, const std::string& type) {
    return OfTypes(w.notifications, {type.c_str()});
}

// Pixels of rc (clipped to the surface) whose colour (0xRRGGBB) matches.
template <typename Pred>
int CountPixels(const PixelSurface& surface, const RECT& rc, Pred matches) {
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const DWORD c = surface.At(x, y);
            if (c != 0xFFFFFFFF && matches(c)) ++count;
        }
    }
    return count;
}

inline int CountColour(const PixelSurface& surface, const RECT& rc, DWORD rgb) {
    return CountPixels(surface, rc, [rgb](DWORD c) { return c == rgb; });
}

inline int CountNotColour(const PixelSurface& surface, const RECT& rc, DWORD rgb) {
    return CountPixels(surface, rc, [rgb](DWORD c) { return c != rgb; });
}

// Clearly red: text drawn in pure red, anti-aliased or not.
inline bool IsReddish(DWORD c) { return ((c >> 16) & 0xFF) > 150 && ((c >> 8) & 0xFF) < 100 && (c & 0xFF) < 100; }

}  // namespace LoomTest

#pragma once
#include <windows.h>

#include "Loom/Render/Rect.h"

namespace Loom {

// The one conversion between the toolkit's rectangle and GDI's.
inline TRect RectFrom(const RECT& rc) { return TRect{rc.left, rc.top, rc.right, rc.bottom}; }
inline RECT WinRectFrom(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace Loom

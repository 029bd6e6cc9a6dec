#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace Loom {

// The GDI+ functions the toolkit calls, from gdiplus.dll in the system
// folder. GDI+ is loaded late rather than imported: it is not among the
// libraries Windows always takes from its own folder, and an imported
// library is looked for beside the program before the program can say where
// libraries come from (serial/LateLibrary.h).
struct GdiplusFunctions {
    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown;
    decltype(&Gdiplus::DllExports::GdipCreateFromHDC) GdipCreateFromHDC;
    decltype(&Gdiplus::DllExports::GdipDeleteGraphics) GdipDeleteGraphics;
    decltype(&Gdiplus::DllExports::GdipSetTextRenderingHint) GdipSetTextRenderingHint;
    decltype(&Gdiplus::DllExports::GdipCreateFontFromLogfontW) GdipCreateFontFromLogfontW;
    decltype(&Gdiplus::DllExports::GdipCreateFontFromDC) GdipCreateFontFromDC;
    decltype(&Gdiplus::DllExports::GdipDeleteFont) GdipDeleteFont;
    decltype(&Gdiplus::DllExports::GdipCreateStringFormat) GdipCreateStringFormat;
    decltype(&Gdiplus::DllExports::GdipSetStringFormatAlign) GdipSetStringFormatAlign;
    decltype(&Gdiplus::DllExports::GdipSetStringFormatLineAlign) GdipSetStringFormatLineAlign;
    decltype(&Gdiplus::DllExports::GdipDeleteStringFormat) GdipDeleteStringFormat;
    decltype(&Gdiplus::DllExports::GdipCreateLineBrush) GdipCreateLineBrush;
    decltype(&Gdiplus::DllExports::GdipDeleteBrush) GdipDeleteBrush;
    decltype(&Gdiplus::DllExports::GdipDrawString) GdipDrawString;
};

// Loaded once, on the first call from any thread, and kept loaded; null when
// the library or any of the functions is missing (the text effects then draw
// nothing).
const GdiplusFunctions* GdiplusLibrary();

}  // namespace Loom

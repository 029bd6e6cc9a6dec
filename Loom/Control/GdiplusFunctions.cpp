#include "Loom/Control/GdiplusFunctions.h"

#include "platform/LateLibrary.h"

namespace Loom {

namespace {

template <class Fn>
bool Find(HMODULE module, const char* name, Fn& function) {
    function = LibraryFunction<Fn>(module, name);
    return function != nullptr;
}

bool Load(GdiplusFunctions& f) {
    const HMODULE m = LoadSystemLibrary("gdiplus.dll");
    return m != nullptr && Find(m, "GdiplusStartup", f.GdiplusStartup) &&
           Find(m, "GdiplusShutdown", f.GdiplusShutdown) && Find(m, "GdipCreateFromHDC", f.GdipCreateFromHDC) &&
           Find(m, "GdipDeleteGraphics", f.GdipDeleteGraphics) &&
           Find(m, "GdipSetTextRenderingHint", f.GdipSetTextRenderingHint) &&
           Find(m, "GdipCreateFontFromLogfontW", f.GdipCreateFontFromLogfontW) &&
           Find(m, "GdipCreateFontFromDC", f.GdipCreateFontFromDC) && Find(m, "GdipDeleteFont", f.GdipDeleteFont) &&
           Find(m, "GdipCreateStringFormat", f.GdipCreateStringFormat) &&
           Find(m, "GdipSetStringFormatAlign", f.GdipSetStringFormatAlign) &&
           Find(m, "GdipSetStringFormatLineAlign", f.GdipSetStringFormatLineAlign) &&
           Find(m, "GdipDeleteStringFormat", f.GdipDeleteStringFormat) &&
           Find(m, "GdipCreateLineBrush", f.GdipCreateLineBrush) && Find(m, "GdipDeleteBrush", f.GdipDeleteBrush) &&
           Find(m, "GdipDrawString", f.GdipDrawString);
}

}  // namespace

const GdiplusFunctions* GdiplusLibrary() {
    static GdiplusFunctions functions{};
    static const bool loaded = Load(functions);
    return loaded ? &functions : nullptr;
}

}  // namespace Loom

#include "Loom/Control/GdiplusSession.h"

#include "Loom/Control/GdiplusFunctions.h"

namespace Loom {

CGdiplusSession::CGdiplusSession() {
    const GdiplusFunctions* gdiplus = GdiplusLibrary();
    if (gdiplus == nullptr) return;
    const Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
    ULONG_PTR token = 0;
    if (gdiplus->GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

CGdiplusSession::~CGdiplusSession() {
    // A token means the library was there to give it.
    if (token_ != 0) GdiplusLibrary()->GdiplusShutdown(token_);
}

}  // namespace Loom

#include "Loom/Control/GdiplusSession.h"

#include <objidl.h>
#include <gdiplus.h>

namespace Loom {

CGdiplusSession::CGdiplusSession() {
    const Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

CGdiplusSession::~CGdiplusSession() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

}  // namespace Loom

#pragma once
#include <windows.h>

namespace Loom {

// One start of the GDI+ library, shut down again when the object ends. GDI+
// counts its starts, so every holder can start and stop it on its own: each
// label keeps one, and GDI+ runs for as long as a label that may paint text
// effects exists. Window thread only (GdiplusStartup must not be called from
// DllMain or a thread that is ending).
class CGdiplusSession {
public:
    CGdiplusSession();
    ~CGdiplusSession();
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    // False when GDI+ is missing or GdiplusStartup failed; GDI+ calls then
    // fail and the text effects draw nothing.
    bool IsStarted() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

}  // namespace Loom

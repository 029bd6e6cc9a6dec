#include "testkit/ResourceCounts.h"

#include <windows.h>

int CountGdiObjects() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return static_cast<int>(reported);
    // Wine keeps the table index in the low word and accepts a handle with
    // an empty high word for whatever object holds that index.
    int count = 0;
    for (ULONG_PTR value = 1; value < 0x10000; ++value) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) ++count;
    }
    return count;
}

int CountHandles() {
    DWORD reported = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &reported) && reported != 0) return static_cast<int>(reported);
    int count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

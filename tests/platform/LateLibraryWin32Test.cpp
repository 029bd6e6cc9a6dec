#include "platform/LateLibrary.h"

#include <gtest/gtest.h>

namespace {

constexpr char kKernel[] = "kernel32.dll";
constexpr char kMissingLibrary[] = "no-such-library-here.dll";
constexpr char kTickCount[] = "GetTickCount";
constexpr char kMissingFunction[] = "NoSuchFunctionHere";

using TickCountFn = DWORD(WINAPI*)();

TEST(LateLibrary, PresentFunction_IsTheLibrarysOwn) {
    const TickCountFn tick = LateFunction<TickCountFn, kKernel, kTickCount>();
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick, reinterpret_cast<TickCountFn>(
                        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(kKernel), kTickCount))));
}

// A missing library or function is a null function, never a crash: the
// callers then report the dialog or link as not shown.
TEST(LateLibrary, MissingLibraryOrFunction_GivesNull) {
    EXPECT_EQ((LateFunction<TickCountFn, kMissingLibrary, kTickCount>()), nullptr);
    EXPECT_EQ((LateFunction<TickCountFn, kKernel, kMissingFunction>()), nullptr);
}

}  // namespace

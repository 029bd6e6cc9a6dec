#pragma once
#include <windows.h>

#include "platform/UniqueResource.h"

// Owners of kernel handles. The invalid value is part of the type:
// CreateEvent and CreateThread fail with NULL, CreateFile with
// INVALID_HANDLE_VALUE; both are stored as "no handle".
struct NullHandlePolicy {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return ::CloseHandle(h) != FALSE; }
};
struct FileHandlePolicy : NullHandlePolicy {
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
};

using UniqueHandle = UniqueResource<NullHandlePolicy>;  // events, threads, processes, mutexes
using UniqueFile = UniqueResource<FileHandlePolicy>;    // files and COM ports

// A Win32 critical section that lives as long as its owner.
class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&cs_); }
    ~CriticalSection() { ::DeleteCriticalSection(&cs_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void lock() { ::EnterCriticalSection(&cs_); }
    void unlock() { ::LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

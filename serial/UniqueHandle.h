#pragma once
#include <windows.h>
#include <utility>

// Move-only owners of kernel handles. The invalid value is part of the type:
// CreateEvent and CreateThread fail with NULL, CreateFile with
// INVALID_HANDLE_VALUE; both are stored as "no handle".
template <HANDLE (*Invalid)()>
class BasicUniqueHandle {
public:
    BasicUniqueHandle() = default;
    explicit BasicUniqueHandle(HANDLE h) : h_(h) {}
    BasicUniqueHandle(BasicUniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid())) {}
    BasicUniqueHandle& operator=(BasicUniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Invalid()));
        return *this;
    }
    BasicUniqueHandle(const BasicUniqueHandle&) = delete;
    BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;
    ~BasicUniqueHandle() { reset(); }

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != Invalid(); }
    explicit operator bool() const { return valid(); }
    // Closes the handle; true when there was none or it closed cleanly.
    bool reset(HANDLE h = Invalid()) {
        bool ok = true;
        if (h_ != Invalid()) ok = ::CloseHandle(h_) != FALSE;
        h_ = h;
        return ok;
    }

private:
    HANDLE h_ = Invalid();
};

inline HANDLE NullHandleValue() { return nullptr; }
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

using UniqueHandle = BasicUniqueHandle<NullHandleValue>;   // events, threads, processes
using UniqueFile = BasicUniqueHandle<InvalidHandleValue>;  // files and COM ports

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

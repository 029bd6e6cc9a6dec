// In the 64-bit build, every C++ object of this test program lies above
// 4 GB, so a pointer kept in a LONG, DWORD or int anywhere (window data, timer
// ids, message parameters, control tags) loses its upper half and the test
// that takes that path crashes or fails. The 32-bit build cannot show such a
// fault, and a 64-bit process under Wine gets low heap addresses unless made
// to: the free address space below 4 GB is reserved and operator new draws
// from a heap created after that.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#ifdef _WIN64
namespace {

constexpr uintptr_t kFourGiB = uintptr_t{1} << 32;

void ReserveBelowFourGiB() {
    MEMORY_BASIC_INFORMATION info;
    for (uintptr_t at = 0x10000; at < kFourGiB;) {
        if (::VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof info) == 0) break;
        const uintptr_t base = reinterpret_cast<uintptr_t>(info.BaseAddress);
        const uintptr_t end = base + info.RegionSize;
        if (info.State == MEM_FREE) {
            const uintptr_t start = (base + 0xFFFF) & ~uintptr_t{0xFFFF};  // allocation granularity
            const uintptr_t stop = end < kFourGiB ? end : kFourGiB;
            // Never released: the reservation lasts as long as the process.
            if (stop > start) ::VirtualAlloc(reinterpret_cast<void*>(start), stop - start, MEM_RESERVE, PAGE_NOACCESS);
        }
        at = end;
    }
}

BOOL CALLBACK CreateHighHeap(PINIT_ONCE, PVOID, PVOID* heap) {
    ReserveBelowFourGiB();
    *heap = ::HeapCreate(0, 0, 0);
    return *heap != nullptr;
}

// Created at the first allocation, before anything of the program exists;
// every block operator new returns comes from it, and only such blocks reach
// operator delete.
HANDLE HighHeap() {
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    void* heap = nullptr;
    if (!::InitOnceExecuteOnce(&once, &CreateHighHeap, nullptr, &heap)) std::abort();
    return heap;
}

}  // namespace

void* operator new(std::size_t size) {
    void* block = ::HeapAlloc(HighHeap(), 0, size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
    if (block != nullptr) ::HeapFree(HighHeap(), 0, block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

// The tests of this program prove nothing about 64-bit pointers unless the
// objects really are out of reach of 32 bits.
TEST(HighAddresses, ObjectsLieAboveFourGiB) {
    const std::unique_ptr<int> object(new int(7));
    EXPECT_GE(reinterpret_cast<uintptr_t>(object.get()), kFourGiB);
}
#endif

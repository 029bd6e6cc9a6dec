#include "TestHeap.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace {

int failNextAllocations = 0;

// The freed blocks kept while poisoning; the list lives in heap memory of
// its own asking, not through the operators it serves.
struct Quarantine {
    bool active = false;
    void** blocks = nullptr;
    SIZE_T count = 0;
    SIZE_T capacity = 0;
};
Quarantine quarantine;

void* Allocate(std::size_t size) noexcept { return ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1); }

void Keep(void* block) noexcept {
    if (quarantine.count == quarantine.capacity) {
        const SIZE_T capacity = quarantine.capacity * 2 + 1024;
        const SIZE_T bytes = capacity * sizeof(void*);
        void* grown = quarantine.blocks == nullptr ? ::HeapAlloc(::GetProcessHeap(), 0, bytes)
                                                   : ::HeapReAlloc(::GetProcessHeap(), 0, quarantine.blocks, bytes);
        if (grown == nullptr) {
            ::HeapFree(::GetProcessHeap(), 0, block);  // not kept, but never reused poisoned either
            return;
        }
        quarantine.blocks = static_cast<void**>(grown);
        quarantine.capacity = capacity;
    }
    std::memset(block, LoomTest::PoisonFreedMemory::kPoison, ::HeapSize(::GetProcessHeap(), 0, block));
    quarantine.blocks[quarantine.count++] = block;
}

void Release(void* block) noexcept {
    if (block == nullptr) return;
    if (quarantine.active) {
        Keep(block);
    } else {
        ::HeapFree(::GetProcessHeap(), 0, block);
    }
}

}  // namespace

void* operator new(std::size_t size) {
    if (failNextAllocations > 0) {
        --failNextAllocations;
        throw std::bad_alloc();
    }
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }

namespace LoomTest {

void FailNextAllocations(int count) { failNextAllocations = count; }

PoisonFreedMemory::PoisonFreedMemory() { quarantine.active = true; }

PoisonFreedMemory::~PoisonFreedMemory() {
    quarantine.active = false;
    for (SIZE_T i = 0; i < quarantine.count; ++i) ::HeapFree(::GetProcessHeap(), 0, quarantine.blocks[i]);
    if (quarantine.blocks != nullptr) ::HeapFree(::GetProcessHeap(), 0, quarantine.blocks);
    quarantine = Quarantine{};
}

int PoisonFreedMemory::WrittenAfterFree() const {
    int written = 0;
    for (SIZE_T i = 0; i < quarantine.count; ++i) {
        const auto* bytes = static_cast<const unsigned char*>(quarantine.blocks[i]);
        const SIZE_T size = ::HeapSize(::GetProcessHeap(), 0, quarantine.blocks[i]);
        for (SIZE_T k = 0; k < size; ++k) {
            if (bytes[k] != kPoison) {
                ++written;
                break;
            }
        }
    }
    return written;
}

}  // namespace LoomTest

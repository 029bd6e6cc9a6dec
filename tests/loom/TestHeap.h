#pragma once

// This test program replaces the global operator new and delete (and no
// other program does): they take blocks from the process heap, and a test
// can make them fail or keep what is freed.
namespace LoomTest {

// The next `count` allocations throw std::bad_alloc (0 disarms).
void FailNextAllocations(int count);

// While one lives, every freed block is filled with kPoison and kept, never
// handed out again, so that code touching an object after it was destroyed
// reads poison (a wrong value, or a crash through a poisoned pointer or
// virtual table) rather than an object that still looks alive or a new one
// in its place. A write after free shows as a kept block whose poison
// changed (a write of bits the poison already has goes unseen: its bits
// alternate, so that the usual flags do not). One at a time; window thread
// only.
class PoisonFreedMemory {
public:
    static constexpr unsigned char kPoison = 0xA5;

    PoisonFreedMemory();
    // Frees the kept blocks.
    ~PoisonFreedMemory();
    PoisonFreedMemory(const PoisonFreedMemory&) = delete;
    PoisonFreedMemory& operator=(const PoisonFreedMemory&) = delete;

    // How many kept blocks were written to after they were freed.
    int WrittenAfterFree() const;
};

}  // namespace LoomTest

#pragma once
#include <cstdint>

// The owner of an open port: receives every byte the port thread reads, one
// call per byte, in arrival order, never while the port's lock is held.
class IPortOwner {
public:
    virtual void OnPortByte(unsigned char byte) = 0;

protected:
    ~IPortOwner() = default;
};

// Where a block of bytes is queued for sending. Returns at once; the bytes go
// out on the port thread. At most 1024 bytes a block.
class IPortWriter {
public:
    virtual void Write(const unsigned char* data, uint32_t length) = 0;

protected:
    ~IPortWriter() = default;
};

#pragma once
#include <cstddef>
#include <string>

// A firmware file of `length` bytes whose byte at offset i is i * 7 + i / 256:
// no two neighbouring pages alike, so a page sent twice or out of order shows.
// The radio skips the first 4096 bytes; `ImageLength(pages)` gives the length
// of a file with that many 256-byte pages after them.
inline std::string MakeImage(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

constexpr size_t ImageLength(int pages) { return 4096 + 256 * static_cast<size_t>(pages); }

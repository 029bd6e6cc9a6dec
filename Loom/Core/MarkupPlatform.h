#pragma once
#include <cstddef>
#include <string>

namespace Loom {

// Why a markup file could not be read.
enum class MarkupFileError { None, Open, Empty, TooLarge, Read };

// The largest markup file read: 4 MiB (exactly that size is accepted).
constexpr size_t kMaxMarkupFileSize = 0x400000;

// Where the markup reader meets the platform: the code page it steps over
// and converts to, and the files it reads.
struct TMarkupPlatform {
    // The start of the character after the one that starts at p. The parser
    // steps over ASCII bytes itself and asks only at a byte of 0x80 or above,
    // so plain text costs no call per byte. Never passes the terminating NUL.
    const char* (*next)(const char* p);
    // Replaces out with the UTF-8 bytes converted to the code page; bytes
    // that have no place in it become replacement characters. False only if
    // the conversion could not run at all.
    bool (*fromUtf8)(const char* bytes, size_t size, std::string& out);
    // Reads the whole file at resource path + name into bytes, opened shared
    // for reading and closed again in every case.
    MarkupFileError (*readFile)(const char* name, std::string& bytes);
};

// The platform of this build: the ANSI code page and Win32 files under
// Windows, GBK (code page 936) and stdio files in the native build.
const TMarkupPlatform& DefaultMarkupPlatform();

// The GBK rule: a byte 0x81..0xFE followed by a byte 0x40..0xFE other than
// 0x7F is one character; any other byte is one character by itself.
const char* GbkCharNext(const char* p);

}  // namespace Loom

// The markup reader's code page and file access in the native build, where
// the system's ANSI code page is taken to be GBK (code page 936).
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "Loom/Core/MarkupPlatform.h"

namespace Loom {

namespace {

bool Utf8ToGbk(const char* bytes, size_t size, std::string& out) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    char* in = const_cast<char*>(bytes);
    size_t inLeft = size;
    char chunk[4096];
    while (inLeft > 0) {
        char* o = chunk;
        size_t outLeft = sizeof chunk;
        const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.append(chunk, static_cast<size_t>(o - chunk));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte that starts no valid UTF-8 sequence, or a character GBK
            // lacks, becomes "?" as the Windows conversion makes it.
            out.push_back('?');
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The native build has no resource path: the name is used as it is.
MarkupFileError ReadGbkFile(const char* name, std::string& bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name, "rb"));
    if (!file) return MarkupFileError::Open;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return MarkupFileError::Read;
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return MarkupFileError::Read;
    if (size == 0) return MarkupFileError::Empty;
    if (static_cast<unsigned long>(size) > kMaxMarkupFileSize) return MarkupFileError::TooLarge;
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(&bytes[0], 1, bytes.size(), file.get()) != bytes.size()) return MarkupFileError::Read;
    return MarkupFileError::None;
}

}  // namespace

const TMarkupPlatform& DefaultMarkupPlatform() {
    static const TMarkupPlatform platform{&GbkCharNext, &Utf8ToGbk, &ReadGbkFile};
    return platform;
}

}  // namespace Loom

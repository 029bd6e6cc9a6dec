// The markup reader's file access in the native build.
#include <cstdio>
#include <memory>

#include "Loom/Markup/MarkupPlatform.h"

namespace Loom {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The native build has no resource path: the name is used as it is.
MarkupFileError ReadFile(const char* name, std::string& bytes) {
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
    static const TMarkupPlatform platform{&ReadFile};
    return platform;
}

}  // namespace Loom

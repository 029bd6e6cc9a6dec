// The markup reader's file access under Windows: files below the toolkit's
// resource path, whatever characters the path holds.
#include <windows.h>

#include <string>

#include "Loom/Markup/MarkupPlatform.h"
#include "platform/UniqueHandle.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

MarkupFileError ReadMarkupFile(const char* name, std::string& bytes) {
    const std::string path = ResourcePath() + name;
    UniqueFile file(::CreateFileW(Text::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return MarkupFileError::Open;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return MarkupFileError::Read;
    if (size.QuadPart == 0) return MarkupFileError::Empty;
    if (size.QuadPart > static_cast<LONGLONG>(kMaxMarkupFileSize)) return MarkupFileError::TooLarge;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        return MarkupFileError::Read;
    return MarkupFileError::None;
}

}  // namespace

const TMarkupPlatform& DefaultMarkupPlatform() {
    static const TMarkupPlatform platform{&ReadMarkupFile};
    return platform;
}

}  // namespace Loom

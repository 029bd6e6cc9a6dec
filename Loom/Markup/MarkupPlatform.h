#pragma once
#include <cstddef>
#include <string>

namespace Loom {

// Why a markup file could not be read.
enum class MarkupFileError { None, Open, Empty, TooLarge, Read };

// The largest markup file read: 4 MiB (exactly that size is accepted).
constexpr size_t kMaxMarkupFileSize = 0x400000;

// Where the markup reader meets the platform: the files it reads. The text
// is UTF-8 and is stepped over by whole UTF-8 characters (Text::Utf8Next).
struct TMarkupPlatform {
    // Reads the whole file at resource path + name into bytes, opened shared
    // for reading and closed again in every case.
    MarkupFileError (*readFile)(const char* name, std::string& bytes);
};

// The platform of this build: Win32 files under Windows, stdio files in the
// native build.
const TMarkupPlatform& DefaultMarkupPlatform();

// The toolkit's resource path, one per process: the folder the Windows build
// reads markup files below (the native build uses names as they are). Kept
// here, below the paint manager, which sets and reads it
// (CUIManager::SetResourcePath adds the trailing separator).
const std::string& ResourcePath();
void SetResourcePath(const std::string& path);

}  // namespace Loom

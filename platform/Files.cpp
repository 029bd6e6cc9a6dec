#include "platform/Files.h"

#ifdef _WIN32
#include <share.h>

#include "platform/Wide.h"
#endif

namespace Text {

std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    return ::_wfopen(WidePath(path).c_str(), Widen(mode).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

std::FILE* OpenFileDenyWrite(const std::string& path, const char* mode) {
#ifdef _WIN32
    return ::_wfsopen(WidePath(path).c_str(), Widen(mode).c_str(), _SH_DENYWR);
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool RemoveFile(const std::string& path) {
#ifdef _WIN32
    return ::_wremove(WidePath(path).c_str()) == 0;
#else
    return std::remove(path.c_str()) == 0;
#endif
}

bool RenameFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return ::_wrename(WidePath(from).c_str(), WidePath(to).c_str()) == 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

std::filesystem::path PathOf(const std::string& path) {
#ifdef _WIN32
    return std::filesystem::path(WidePath(path));
#else
    return std::filesystem::path(path);
#endif
}

}  // namespace Text

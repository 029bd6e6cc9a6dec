// The markup reader's code page and file access under Windows: the system's
// ANSI code page and files below the toolkit's resource path.
#include <windows.h>

#include <climits>
#include <string>

#include "Loom/Core/MarkupPlatform.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

namespace {

const char* AnsiCharNext(const char* p) { return ::CharNextExA(CP_ACP, p, 0); }

// UTF-8 to UTF-16 to the ANSI code page; characters the code page lacks
// become its default character.
bool Utf8ToAnsi(const char* bytes, size_t size, std::string& out) {
    out.clear();
    if (size > static_cast<size_t>(INT_MAX)) return false;
    const int length = static_cast<int>(size);
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, bytes, length, nullptr, 0);
    if (wide <= 0) return false;
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes, length, &utf16[0], wide);
    const int narrow = ::WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return false;
    out.resize(static_cast<size_t>(narrow));
    ::WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, &out[0], narrow, nullptr, nullptr);
    return true;
}

// The open file, closed on every way out.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

MarkupFileError ReadAnsiFile(const char* name, std::string& bytes) {
    const std::string path = CUIManager::GetResourcePath() + name;
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
    static const TMarkupPlatform platform{&AnsiCharNext, &Utf8ToAnsi, &ReadAnsiFile};
    return platform;
}

}  // namespace Loom

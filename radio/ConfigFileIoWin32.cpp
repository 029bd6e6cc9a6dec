#include "radio/ConfigFileIo.h"

#include "platform/Wide.h"

bool ConfigFileIo::Write(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool ConfigFileIo::Flush(HANDLE file) { return ::FlushFileBuffers(file) != FALSE; }

bool ConfigFileIo::Close(UniqueFile& file) { return file.reset(); }

// Windows refuses to replace a read-only file, and so did the direct write
// this replaces; Wine replaces it all the same, so the check is made here.
bool ConfigFileIo::Replace(const std::string& from, const std::string& to) {
    const std::wstring target = Text::WidePath(to);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return ::MoveFileExW(Text::WidePath(from).c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool ConfigFileIo::Read(HANDLE file, char* buffer, DWORD size, DWORD& got) {
    got = 0;
    return ::ReadFile(file, buffer, size, &got, nullptr) != FALSE;
}

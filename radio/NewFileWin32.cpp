#include "radio/NewFile.h"

#include <atomic>
#include <cstdio>

#include "platform/Wide.h"

UniqueFile CreateNewFile(const std::string& start, DWORD flags, std::string& path) {
    static std::atomic<unsigned> counter{0};
    path.clear();
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[48];
        std::snprintf(name, sizeof name, "%lx-%x.tmp", static_cast<unsigned long>(::GetCurrentProcessId()),
                      counter.fetch_add(1) ^ static_cast<unsigned>(::GetTickCount()));
        const std::string candidate = start + name;
        UniqueFile made(
            ::CreateFileW(Text::WidePath(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr));
        if (made) {
            path = candidate;
            return made;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return UniqueFile();
}

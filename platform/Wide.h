#pragma once
// The one place where the program's UTF-8 text meets Windows' wide (UTF-16)
// functions. Windows only.
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace Text {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// UTF-8 to what a wide function takes; ill-formed bytes become U+FFFD.
inline std::wstring Widen(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size());
}

// A UTF-8 file path for the wide file functions. Windows refuses a path of
// MAX_PATH (260) units or more unless it is marked as a long path ("\\?\"),
// and a path of 259 characters can take twice as many units; such an
// absolute path is marked (its slashes made backslashes, as the mark asks).
inline std::wstring WidePath(std::string_view utf8) {
    std::wstring wide = Widen(utf8);
    constexpr size_t kMaxPath = 260;
    if (wide.size() < kMaxPath) return wide;
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    const bool drive = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    const bool marked = wide.compare(0, 4, L"\\\\?\\") == 0;
    const bool unc = !marked && wide.compare(0, 2, L"\\\\") == 0;
    if (drive) return L"\\\\?\\" + wide;
    if (unc) return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}

// What a wide function gave back, as UTF-8.
inline std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// Copies text into a fixed wide buffer of `capacity` units (with its NUL),
// cut at a whole character: a surrogate pair is never split.
inline void CopyWide(std::string_view utf8, wchar_t* buffer, size_t capacity) {
    if (capacity == 0) return;
    const std::wstring wide = Widen(utf8);
    size_t n = wide.size() < capacity - 1 ? wide.size() : capacity - 1;
    if (n > 0 && n < wide.size() && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF) --n;
    wide.copy(buffer, n);
    buffer[n] = L'\0';
}

}  // namespace Text

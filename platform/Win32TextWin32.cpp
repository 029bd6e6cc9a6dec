#include "platform/Win32Text.h"

#include "platform/Wide.h"

namespace Text {

std::string ModuleFileName(HMODULE module) {
    // Windows cuts a path that does not fit and says so only by filling the
    // buffer: grow until it fits (paths reach 32767 units).
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= 32768) {
        const DWORD n = ::GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) return Narrow(std::wstring_view(path.data(), n));
        path.resize(path.size() * 2);
    }
    return std::string();
}

std::string WindowText(HWND wnd) {
    const int length = ::GetWindowTextLengthW(wnd);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(wnd, &text[0], length + 1);
    return Narrow(std::wstring_view(text.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

bool EnvironmentVariable(const char* name, std::string& value) {
    const std::wstring wideName = Widen(name);
    const DWORD n = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (n == 0) return false;
    std::wstring text(n, L'\0');
    const DWORD copied = ::GetEnvironmentVariableW(wideName.c_str(), &text[0], n);
    if (copied == 0 || copied >= n) return false;
    value = Narrow(std::wstring_view(text.data(), copied));
    return true;
}

}  // namespace Text

namespace Text {

HRSRC FindResourceNamed(HMODULE module, const char* name, const char* type) {
    const std::wstring wideName = IS_INTRESOURCE(name) ? std::wstring() : Widen(name);
    const std::wstring wideType = IS_INTRESOURCE(type) ? std::wstring() : Widen(type);
    return ::FindResourceW(module, IS_INTRESOURCE(name) ? reinterpret_cast<LPCWSTR>(name) : wideName.c_str(),
                           IS_INTRESOURCE(type) ? reinterpret_cast<LPCWSTR>(type) : wideType.c_str());
}

}  // namespace Text

namespace Text {

int WINAPI MessageBoxUtf8(HWND owner, const char* text, const char* caption, UINT type) {
    return ::MessageBoxW(owner, text != nullptr ? Widen(text).c_str() : nullptr,
                         caption != nullptr ? Widen(caption).c_str() : nullptr, type);
}

}  // namespace Text

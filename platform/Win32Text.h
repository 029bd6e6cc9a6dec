#pragma once
// Texts read back from Windows' wide functions, as UTF-8. Windows only.
#include <windows.h>

#include <string>

namespace Text {

// The full path of a module's file (the program's when module is null),
// however long; empty when Windows cannot give it.
std::string ModuleFileName(HMODULE module);

// A window's text.
std::string WindowText(HWND wnd);

// An environment variable; false when it is not set.
bool EnvironmentVariable(const char* name, std::string& value);

}  // namespace Text

namespace Text {

// FindResource for a resource name and type each given either as an
// integer resource (MAKEINTRESOURCEA) or as UTF-8 text.
HRSRC FindResourceNamed(HMODULE module, const char* name, const char* type);

}  // namespace Text

namespace Text {

// MessageBox for UTF-8 texts (the signature of MessageBoxA, so that it can
// stand where that is expected).
int WINAPI MessageBoxUtf8(HWND owner, const char* text, const char* caption, UINT type);

}  // namespace Text

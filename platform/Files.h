#pragma once
// Files named by UTF-8 paths. Under Windows a narrow path would be read in
// the ANSI code page, which cannot hold every character of a user's folder
// names; these open through the wide path instead.
#include <cstdio>
#include <filesystem>
#include <string>

namespace Text {

// fopen for a UTF-8 path.
std::FILE* OpenFile(const std::string& path, const char* mode);

// _fsopen with denied writes for a UTF-8 path under Windows (another
// process may read the file, none may write it); fopen natively.
std::FILE* OpenFileDenyWrite(const std::string& path, const char* mode);

// remove and rename for UTF-8 paths; true on success.
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// The path object for a UTF-8 path (what the streams and std::filesystem take).
std::filesystem::path PathOf(const std::string& path);

}  // namespace Text

#pragma once
#include <cstddef>
#include <string>

// Small text rules of the control model and the paint manager, free of
// <windows.h> so they are tested natively.
namespace Loom {

// A tooltip's text: every "<n>" becomes a carriage return and line feed.
std::string ExpandLineBreakTags(const std::string& text);

// The resource path as stored: a backslash is appended unless the text is
// empty or already ends in "\" or "/".
std::string WithTrailingSeparator(const std::string& path);

// The directory of a program file: everything up to and including the last
// backslash (or slash); empty when there is none.
std::string DirectoryOf(const std::string& file);

// The upper-case form of a single-byte character (a-z only; other bytes,
// including those of UTF-8 sequences, are unchanged).
char UpperAscii(char c);

}  // namespace Loom

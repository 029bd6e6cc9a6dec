#pragma once

#include <string>

// Writes bytes as one line of text for the transcript: printable ASCII as
// itself, backslash as \\, CR LF TAB as \r \n \t, every other byte as \xHH.
std::string escapeBytes(const std::string& bytes);

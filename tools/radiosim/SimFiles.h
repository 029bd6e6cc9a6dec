#pragma once

#include <string>

// File helpers of the simulated radio. Failures come back as a message.
namespace SimFiles {

// Reads a whole file. `missing` is set when it does not exist.
bool read(const std::string& path, std::string& data, bool& missing, std::string& error);
// Writes a temporary file beside `path` and renames it over `path`, so that
// a reader sees the old content or the new one, never a part.
bool writeAtomically(const std::string& path, const std::string& data, std::string& error);

}  // namespace SimFiles

#pragma once
#include <string>

// The radio's terminal link as the tool sees its COM port, and the fresh
// temporary folder each end-to-end test gives the radio's files.
namespace SimTerminal {

// Opens the link as a raw terminal; -1 on failure.
int openTerminal(const std::string& link);
// Reads until `expected` has arrived or `seconds` have passed.
std::string readUntil(int fd, const std::string& expected, double seconds);
std::string readFor(int fd, double seconds);

std::string makeFolder();
void removeFolder(const std::string& folder);

}  // namespace SimTerminal

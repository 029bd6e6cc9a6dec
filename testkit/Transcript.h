#pragma once
#include <sstream>
#include <string>
#include <vector>

// The commands the simulated radio received, in order, from its transcript
// (the lines it starts with "> ").
inline std::vector<std::string> ReceivedCommands(const std::string& transcript) {
    std::vector<std::string> commands;
    std::istringstream in(transcript);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("> ", 0) == 0) commands.push_back(line.substr(2));
    return commands;
}

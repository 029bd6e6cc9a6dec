#pragma once

#include <string>

#include "SimFaults.h"

// The command line of the simulated radio.
struct SimOptions {
    static constexpr const char* kDefaultLink = "/tmp/velmora-radio";

    std::string link = kDefaultLink;
    std::string stopFile;
    std::string statePath;
    std::string transcriptPath;
    std::string firmwareOut;
    double idleExitSeconds = 0;  // 0: never
    long lineRate = 0;           // 0: unpaced
    long portRate = 0;           // 0: answers at any terminal speed
    bool echo = false;
    bool rawEcho = false;
    bool help = false;
    SimFaults faults;

    // Accepts "--name value" and "--name=value". Returns false with a message
    // on an unknown option, a missing value or a bad number.
    bool parse(int argc, const char* const* argv, std::string& error);

    static std::string usage();

private:
    void setFlag(const std::string& name);
    bool setValue(const std::string& name, const std::string& value, std::string& error);
};

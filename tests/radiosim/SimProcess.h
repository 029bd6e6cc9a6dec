#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts the real simulated radio in a fresh temporary folder and talks to
// it through its terminal link, as the tool does through its COM port.
class SimProcess {
public:
    explicit SimProcess(const std::string& folder) : folder_(folder) {}
    ~SimProcess();  // kills the radio by its id if a test left it running
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts radiosim with these arguments; true once it printed "ready LINK".
    bool start(const std::vector<std::string>& args);
    const std::string& readyLine() const { return ready_; }
    pid_t pid() const { return pid_; }

    // Creates the stop file and waits up to `seconds` for the exit.
    // Returns the exit status (-1 when it did not exit).
    int stopWithFile(const std::string& stopFile, double seconds = 5);
    int waitExit(double seconds);

    // Opens the link as a raw terminal; -1 on failure.
    static int openTerminal(const std::string& link);
    // Reads until `expected` has arrived or `seconds` have passed.
    static std::string readUntil(int fd, const std::string& expected, double seconds);
    static std::string readFor(int fd, double seconds);

    static std::string makeFolder();
    static void removeFolder(const std::string& folder);
    static std::string readFile(const std::string& path);

private:
    std::string folder_;
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string ready_;
};

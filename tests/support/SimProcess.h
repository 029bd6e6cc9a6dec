#pragma once
#include <string>

// Starts the simulated radio (a Linux program) from a test running under Wine
// and links it at the COM port's mapped path, so that "\\.\COMn" reaches it.
// The test cannot signal a Linux process, so the radio is stopped through a
// stop file it watches; the destructor does that and waits for the link to go.
//
// Environment (set by the test wrapper and ctest): VELMORA_RADIOSIM, the
// radio's Unix path; VELMORA_PORT_DIR, the Unix folder of the COM links.
class SimProcess {
public:
    // `args` are extra options for the radio, e.g. "--raw-echo" or
    // "--fault silent". Check Started() before use.
    SimProcess(int comPort, const std::string& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool Started() const { return started_; }
    int Port() const { return port_; }
    // A Unix path in the port folder, for --state, --transcript and the like.
    std::string UnixPath(const std::string& name) const { return UnixPathFor(port_, name); }
    static std::string UnixPathFor(int comPort, const std::string& name);
    // The same file as the Windows side sees it (Z:\...).
    static std::string WinePath(const std::string& unixPath);
    // The whole file, read through its Windows path; empty if it is absent.
    static std::string ReadFile(const std::string& unixPath);
    static std::string ReadWindowsFile(const std::string& windowsPath);
    // Writes the whole file through its Windows path; false when it cannot.
    static bool WriteFile(const std::string& unixPath, const std::string& content);
    static bool WriteWindowsFile(const std::string& windowsPath, const std::string& content);
    // Stops the radio now (also done by the destructor).
    void Stop();

private:
    int port_;
    std::string link_;
    std::string stopFile_;
    bool started_ = false;
};

// The COM ports this test executable may use (VELMORA_PORTS), in order.
int TestComPort(int index);

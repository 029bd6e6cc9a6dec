#pragma once
#include <string>
#include <vector>

// The simulated radio (a Linux program, VELMORA_RADIOSIM) started for a test:
// from a Windows test under Wine, which talks to it through a COM port mapped
// to its link, or natively, where the test opens the link itself. The radio
// makes its terminal link (--link) when it is ready and watches a stop file
// (--stop-file); Stop() creates that file and waits until the radio has gone.
//
// One interface, two implementations: SimProcessWin32.cpp starts the radio
// through Wine and sees it only through files (the link, the stop file);
// SimProcessNative.cpp spawns it as a child, reads its ready line and takes
// its exit status. Where a Windows test cannot see a thing, the member says
// what it answers there.
//
// Environment (set by the test wrapper and ctest): VELMORA_RADIOSIM, the
// radio's Unix path; VELMORA_PORT_DIR, the Unix folder of the COM links.
class SimProcess {
public:
    // Nothing started yet: Start() does.
    SimProcess() = default;
    // Starts the radio at once on the COM port's link in the port folder,
    // with its stop file there too, ending by itself after two idle minutes;
    // `options` are further options separated by blanks, e.g. "--raw-echo"
    // or "--fault silent". Check Started() before use.
    SimProcess(int comPort, const std::string& options);
    // Under Wine stops the radio through its stop file; natively kills a
    // radio that is still running.
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the radio with exactly these options (among them --link, and
    // --stop-file for Stop()); true once it is ready: natively once it printed
    // its ready line, under Wine once its link is there (within 10 s).
    bool Start(const std::vector<std::string>& options);
    bool Started() const { return started_; }
    // The COM port the radio serves; 0 when it was started by Start().
    int Port() const { return port_; }
    // What the radio printed when ready ("ready LINK"), natively; under Wine,
    // where a test cannot read a Linux program's output, empty.
    const std::string& ReadyLine() const { return ready_; }
    // The radio's Linux process id, natively; 0 under Wine.
    int Pid() const { return pid_; }

    // Creates the stop file and waits up to `seconds` for the radio to end.
    // Returns its exit status (0 for a clean end), -1 when it has not ended.
    // Under Wine, where a Linux program's exit status cannot be seen, 0 once
    // the radio has removed its link.
    int Stop(double seconds = 5);
    // Waits up to `seconds` for the radio to end by itself; the same answers
    // as Stop().
    int WaitExit(double seconds);

    // A Unix path in the port folder, for --state, --transcript and the like.
    std::string UnixPath(const std::string& name) const { return UnixPathFor(port_, name); }
    static std::string UnixPathFor(int comPort, const std::string& name);
    // The same file as the Windows side sees it (Z:\...).
    static std::string WinePath(const std::string& unixPath);
    // The whole file by its Unix path; empty if it is absent.
    static std::string ReadFile(const std::string& unixPath);
    // The whole file by its Windows path (natively, the path as it is).
    static std::string ReadWindowsFile(const std::string& windowsPath);
    // Writes the whole file by its Unix or Windows path; false when it cannot.
    static bool WriteFile(const std::string& unixPath, const std::string& content);
    static bool WriteWindowsFile(const std::string& windowsPath, const std::string& content);

private:
    // The value that follows `name` among the options; empty when none does.
    static std::string OptionValue(const std::vector<std::string>& options, const std::string& name);

    int port_ = 0;
    std::string link_;
    std::string stopFile_;
    bool started_ = false;
    std::string ready_;
    int pid_ = 0;
    int output_ = -1;  // natively, the read end of the radio's standard output
};

// The COM ports this test executable may use (VELMORA_PORTS), in order.
int TestComPort(int index);

// The value of `key` in the radio's state file ("key=value" lines); "<missing>"
// when the file has no such line.
std::string StateValue(const std::string& state, const std::string& key);

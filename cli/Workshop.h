#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/Fleet.h"
#include "radio/RadioFinder.h"
#include "radio/RadioJob.h"
#include "radio/RadioLink.h"
#include "radio/RadioSettings.h"
#include "serial/TrafficLog.h"

// What the runs of one command share: the profile of --write, read and
// checked once before any port opens, the radios seen so far, and the cancel
// of the whole run.
struct WorkshopRun {
    std::string profile;  // its --set values in it
    RadioClaims claims;
    // Each port's lines are kept in its result (several ports, or --json)
    // rather than written to the console as they come.
    bool keepLines = false;
    // Set by Ctrl+C, Ctrl+Break or closing the console (RunCancel.h).
    const std::atomic<bool>* cancel = nullptr;
};

// One command-line run against one radio: the same radio jobs, profile file
// and firmware download as the window, on the settings of its own. Every run
// checks its files before it opens the port, so that a request that cannot
// be carried out sends nothing to the radio. The port stays open from the
// first step to the last: a workshop run is one session.
class Workshop : public IRadioLine, public IRadioProbe {
public:
    // `options` with the port of this run in `options.port`.
    Workshop(const CliOptions& options, Console& console, TrafficLog* log, WorkshopRun& run, PortResult& result);
    ExitCode Run();

    // IRadioLine: the session's port, opened by its first step.
    Outcome Open(int port, int rate) override;
    RadioExchange& Exchange() override { return link_.Exchange(); }
    bool Lost() const override { return link_.Lost(); }
    // IRadioProbe: the search of --find.
    void Trying(int port, int rate) override;
    bool OpenPort(int port, int rate) override;
    bool Connect() override;
    void ClosePort() override;

private:
    ExitCode Read();
    ExitCode WriteProfile();
    ExitCode Firmware();
    ExitCode Find();
    // Runs one job; on failure says why and gives its exit code.
    bool Step(JobKind kind, const char* what, ExitCode& code);
    // The same, whatever the run's cancel: leaving configuration mode.
    bool Leave(ExitCode& code);
    bool Failed(const Outcome& outcome, const char* what, ExitCode& code);
    // After a read: the radio's facts into the result, and the radio claimed
    // for this port; false (said why, exit code 4) when another port has it.
    bool TakeRadio(ExitCode& code);
    bool TakeFile(const std::string& target, ExitCode& code);
    void LeaveOpenLinkRateAsItIs();
    std::string PortName() const;
    // A line of the run: its outcome on the output, an error on the error
    // output; kept in the result instead when the run's lines are kept.
    void Say(const std::string& verb, const std::string& text);
    void Complain(const std::string& text);
    const std::atomic<bool>& Cancel() const;

    CliOptions options_;
    Console& console_;
    TrafficLog* log_;
    WorkshopRun& run_;
    PortResult& result_;
    RadioLink link_;
    RadioSettings settings_;
    bool anyPortOpened_ = false;  // by the search of --find
    Outcome lastOpenFailure_;     // of the search's last port that did not open
    bool leaving_ = false;        // the Disconnect that runs whatever the cancel
    // Another port of the run reaches this radio and has it: this port
    // leaves it alone, not even taking it out of configuration mode.
    bool radioTaken_ = false;
};

// Reads the profile of --write, puts the --set values in it and checks it as
// the window checks its fields before a write; nothing goes to any radio.
// Success with the profile in `run.profile`, or the failure's code, said on
// the console: FileError for the profile, Usage for a --set value its list
// does not hold.
ExitCode PrepareProfile(const CliOptions& options, Console& console, WorkshopRun& run);

// Every port of the options, each on its own thread with its own link when
// there are several; their results in the order of the ports. Each port's
// lines (and with --json its object) go out as the port ends.
std::vector<PortResult> RunPorts(const CliOptions& options, Console& console, TrafficLog* log, WorkshopRun& run);

// The whole command line: arguments, log, run; returns the exit code.
int RunCommandLine();

#pragma once
#include <string>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ConsoleConfigView.h"
#include "radio/RadioActions.h"
#include "radio/RadioConfig.h"
#include "radio/RadioExchange.h"
#include "radio/RadioFinder.h"
#include "radio/RadioLink.h"
#include "serial/TrafficLog.h"

// One command-line run against one radio: the same radio actions, profile
// file and firmware download as the window, through a view that is not a
// window. Every run checks its files before it opens the port, so that a
// request that cannot be carried out sends nothing to the radio.
class Workshop : public IActionWindow, public IRadioProbe {
public:
    Workshop(const CliOptions& options, Console& console, TrafficLog* log);
    ExitCode Run();

    // IActionWindow
    bool OpenSelectedPort(bool firmwareRate) override;
    void ShowResult(bool success, ActionControl control) override;
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
    // Runs one radio action; on failure says why and gives its exit code.
    bool Step(void (RadioActions::*action)(), const char* what, ExitCode& code);
    ExitCode FailureCode(const char* what);
    // Reads and checks the profile of --write; nothing goes to the radio.
    ExitCode LoadProfile(std::string& bytes);
    void LeaveOpenLinkRateAsItIs();
    std::string PortName() const;

    CliOptions options_;
    Console& console_;
    TrafficLog* log_;
    RadioLink link_;  // before the actions, which use its exchange
    ConsoleConfigView view_;
    RadioConfig config_;
    RadioActions actions_;
    bool lastOutcome_ = false;
    bool openFailed_ = false;
    bool anyPortOpened_ = false;  // by the search of --find
};

// The whole command line: arguments, log, run; returns the exit code.
int RunCommandLine();

#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "radio/Outcome.h"
#include "radio/WriteVerify.h"

// Several radios from one command: what each port's run ends with, the names
// of the files read from them, the radios seen, and the report of the whole.

// What one port's run ended with. Texts from the radio are kept as it sent
// them; whoever writes them out makes them safe for the output.
struct PortResult {
    int port = 0;
    int rate = 0;
    CliAction action = CliAction::None;
    ExitCode code = ExitCode::Success;
    int64_t durationMs = 0;
    bool radioRead = false;  // the radio's facts below were read
    std::string serialNumber, hardwareVersion, firmwareVersion;
    std::string file;                         // the profile written by --read
    std::vector<VerifyMismatch> differences;  // fields the radio does not hold after --verify
    std::string reason;                       // the first error, for the summary; empty on success
    // Why it ended (CauseWord: "success", "no-answer", ...), and the command
    // and the reply the cause names (empty when none).
    std::string cause;
    std::string command, reply;
    struct Line {
        bool error;
        std::string text;
    };
    std::vector<Line> lines;  // the run's messages, in order
};

std::string PortName(int port);

// True when a part of `path` (a folder or the file) is the name of a device
// on Windows: CON, PRN, AUX, NUL, COM0-COM9 or LPT0-LPT9 (also with the
// digits ¹, ² and ³) before its first dot, in any case, whatever its folder
// and extension. Such a path opens the device, not a file.
bool NamesADevice(const std::string& path);

// The file name of --read for one radio: {port} becomes the port's name
// ("COM3"), {serial} the radio's serial number cut to what a file name may
// hold. A radio that reports no serial number (or none usable in a name, as
// one that would name a device) is named after its port; `serialMissing`
// then says so. A port's name that would name a device (COM1-COM9) reads
// "port-COM3" instead.
std::string RadioFileName(const std::string& pattern, int port, const std::string& serial, bool& serialMissing);

// The radios of one run by their serial numbers, so that two ports that reach
// one radio (two adapters wired to it) are caught before the second writes
// it, or writes its file over the first's. Threads: any port's.
class RadioClaims {
public:
    // True when no other port has claimed `serial`; an empty serial number
    // claims nothing. Otherwise the port that has it goes into `other`.
    bool Claim(const std::string& serial, int port, int& other);
    // The same for the file --read writes, as a file system that ignores
    // case takes its name: two radios whose serial numbers make one file
    // name ("VM 01", "vm/01") must not both write it.
    bool ClaimFile(const std::string& path, int port, int& other);

private:
    std::mutex lock_;
    std::map<std::string, int> ports_;
    std::map<std::string, int> files_;
};

// The exit code of several ports: 0 when every one succeeded, otherwise the
// highest code of any.
ExitCode FleetExitCode(const std::vector<PortResult>& results);

// The summary after every port has ended: how many were done and failed, and
// for each failure its port, exit code and reason.
std::string FleetSummary(const std::vector<PortResult>& results);

// One port's result as one line of JSON (without the line end). Text from the
// radio that is not valid UTF-8 has its bad bytes replaced by U+FFFD.
std::string ResultJson(const PortResult& result);

// The name of an exit code in the JSON results ("success", "no-answer", ...).
const char* OutcomeName(ExitCode code);

// The exit code of an outcome: the port 2, no answer 3, a refusal or an
// unexpected answer 4, a file or a failed check 5, a verify mismatch 7, a
// cancel 8.
ExitCode ExitCodeOf(OutcomeKind kind);

#pragma once
#include <string>
#include <vector>

// The program without a window: the options a workshop gives it, and the
// exit codes it ends with. Any argument on the command line selects this
// mode; without arguments the window opens.

// One code per kind of failure, so that a script can tell them apart.
enum class ExitCode : int {
    Success = 0,
    Usage = 1,           // options misspelled, missing their values, or in conflict
    PortNotOpened = 2,   // the port does not exist or another program has it
    NoAnswer = 3,        // the radio did not answer in time (absent, wrong rate, unplugged)
    Refused = 4,         // the radio answered, but refused a setting or answered unexpectedly
    FileError = 5,       // a profile or image that cannot be read or written, or a profile that fails its checks
    ImageInvalid = 6,    // a firmware image that cannot be valid
    VerifyMismatch = 7,  // the radio does not hold what was written
    Cancelled = 8,       // the user declined, or nobody could be asked
};

enum class CliAction { None, Help, Read, Write, Firmware, Find };

// One --set: a profile key (as the profile writes it) and its value for
// this run, in the form the profile holds it.
struct ProfileSetting {
    std::string key;
    std::string value;
};

// Ports one command may run at once: a bench of USB serial adapters, each a
// thread of its own.
constexpr size_t kMaxPorts = 32;

struct CliOptions {
    CliAction action = CliAction::None;
    int port = 0;            // COMn, the first of `ports`; 0 when not given
    std::vector<int> ports;  // every port of --port, in the order given
    int rate = 38400;        // the PC-side rate of the configuration commands
    bool rateGiven = false;
    std::string path;                  // the profile or image
    bool verify = false;               // --write ... --verify
    bool yes = false;                  // --firmware ... --yes
    bool json = false;                 // one JSON object per port on the output
    std::vector<ProfileSetting> sets;  // --write ... --set KEY=VALUE
};

// The rates the radio's serial line offers.
bool IsOfferedRate(int rate);

// Reads the arguments (without the program's name). False with a message
// naming the offending argument when they are not a valid request; nothing
// is then to be sent to any radio.
bool ParseCommandLine(const std::vector<std::string>& args, CliOptions& options, std::string& error);

// The help text: options, examples and exit codes.
std::string UsageText();

// The window program, VelmoraConfig.exe, beside the console twin whose file
// is `consoleProgram` (its full path): empty when that names no folder, as
// when the path could not be read, so that nothing is started from another
// folder (a drive's root).
std::string WindowProgramBeside(const std::string& consoleProgram);

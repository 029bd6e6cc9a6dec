#include "cli/CommandLine.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct OptionInfo {
    const char* name;
    bool takesValue;
};

constexpr OptionInfo kOptions[] = {{"--port", true},    {"--rate", true},     {"--read", true},
                                   {"--write", true},   {"--firmware", true}, {"--find", false},
                                   {"--verify", false}, {"--yes", false},     {"--help", false}};

const OptionInfo* FindOption(const std::string& name) {
    for (const OptionInfo& o : kOptions)
        if (name == o.name) return &o;
    return nullptr;
}

// Edit distance, with two swapped neighbours counted as one slip ("--raed"),
// for the suggestion after a misspelled option.
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

std::string Unknown(const std::string& arg) {
    std::string text = "unknown option '" + arg + "'";
    const OptionInfo* best = nullptr;
    size_t bestDistance = 3;
    if (arg.size() > 32) return text;  // no suggestion for a long slip
    for (const OptionInfo& o : kOptions) {
        const size_t d = Distance(arg, o.name);
        if (d < bestDistance) best = &o, bestDistance = d;
    }
    if (best) text += std::string(" (did you mean ") + best->name + "?)";
    return text;
}

// "COM3", "com3" or "3": 1 to 255; 0 for anything else.
int ReadPort(std::string text) {
    if (text.size() > 3 && (text[0] == 'C' || text[0] == 'c') && (text[1] == 'O' || text[1] == 'o') &&
        (text[2] == 'M' || text[2] == 'm'))
        text = text.substr(3);
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int n = std::atoi(text.c_str());
    return n >= 1 && n <= 255 ? n : 0;
}

int ReadRate(const std::string& text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int rate = std::atoi(text.c_str());
    return IsOfferedRate(rate) ? rate : 0;
}

CliAction ActionOf(const std::string& name) {
    if (name == "--read") return CliAction::Read;
    if (name == "--write") return CliAction::Write;
    if (name == "--firmware") return CliAction::Firmware;
    if (name == "--find") return CliAction::Find;
    if (name == "--help") return CliAction::Help;
    return CliAction::None;
}

bool Fail(std::string& error, const std::string& text) {
    error = text;
    return false;
}

bool TakeValue(const std::string& name, const std::string& value, CliOptions& options, std::string& error) {
    if (name == "--port") {
        options.port = ReadPort(value);
        if (options.port == 0) return Fail(error, "--port takes a port such as COM3, not '" + value + "'");
    } else if (name == "--rate") {
        options.rate = ReadRate(value);
        options.rateGiven = true;
        if (options.rate == 0)
            return Fail(error, "--rate takes 9600, 19200, 38400, 57600 or 115200, not '" + value + "'");
    } else {
        if (value.empty()) return Fail(error, name + " needs a file name");
        options.path = value;
    }
    return true;
}

bool CheckCombination(const CliOptions& options, std::string& error) {
    const CliAction a = options.action;
    if (a == CliAction::None) return Fail(error, "nothing to do: give --read, --write, --firmware, --find or --help");
    if (a == CliAction::Help) return true;
    if (options.verify && a != CliAction::Write) return Fail(error, "--verify goes with --write only");
    if (options.yes && a != CliAction::Firmware) return Fail(error, "--yes goes with --firmware only");
    if (a == CliAction::Firmware && options.rateGiven)
        return Fail(error, "--firmware always runs at 115200 baud; leave --rate out");
    if ((a == CliAction::Read || a == CliAction::Write || a == CliAction::Firmware) && options.port == 0)
        return Fail(error, "--port is needed, e.g. --port COM3");
    return true;
}

}  // namespace

bool IsOfferedRate(int rate) {
    return rate == 9600 || rate == 19200 || rate == 38400 || rate == 57600 || rate == 115200;
}

bool ParseCommandLine(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
    options = CliOptions();
    std::vector<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "-h" || name == "/?") name = "--help";
        const OptionInfo* option = FindOption(name);
        if (option == nullptr) {
            if (name.rfind("-", 0) == 0) return Fail(error, Unknown(args[i]));
            return Fail(error, "unexpected argument '" + args[i] + "' (options start with --)");
        }
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) return Fail(error, name + " is given twice");
        seen.push_back(name);
        const CliAction action = ActionOf(name);
        if (action != CliAction::None) {
            if (options.action != CliAction::None && action != CliAction::Help && options.action != CliAction::Help)
                return Fail(error, "one action at a time: " + name + " cannot go with the action before it");
            if (options.action != CliAction::Help) options.action = action;
        }
        if (name == "--verify") options.verify = true;
        if (name == "--yes") options.yes = true;
        if (!option->takesValue) continue;
        // A value that looks like an option is a forgotten value.
        if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) return Fail(error, name + " needs a value");
        if (!TakeValue(name, args[++i], options, error)) return false;
    }
    return CheckCombination(options, error);
}

std::string UsageText() {
    return "VelmoraConfig - configuration of the UHF data radio\n"
           "\n"
           "Without options the window opens. With options the program runs without a window:\n"
           "  VelmoraConfig --port COM3 [--rate 38400] --read out.cfg\n"
           "      reads every parameter of the radio into a profile\n"
           "  VelmoraConfig --port COM3 [--rate 38400] --write in.cfg [--verify]\n"
           "      writes a profile to the radio; --verify reads every value back and compares\n"
           "  VelmoraConfig --port COM3 --firmware image.dwn [--yes]\n"
           "      downloads a firmware image at 115200 baud; asks first unless --yes is given\n"
           "  VelmoraConfig [--port COM3] [--rate 38400] --find\n"
           "      looks for the radio on every listed port (or the one given) at every rate,\n"
           "      the given rate first, then 38400, 9600 and 115200; prints \"found: COM3, 38400\"\n"
           "  VelmoraConfig --help\n"
           "\n"
           "--rate is the PC-side rate: 9600, 19200, 38400 (the default), 57600 or 115200.\n"
           "Paths may hold any characters. Output to a console shows every character its font has,\n"
           "whatever the console's code page; output to a file or a pipe is UTF-8.\n"
           "\n"
           "Exit codes:\n"
           "  0  success\n"
           "  1  usage error: an unknown or misspelled option, a missing value, options in conflict\n"
           "  2  the port cannot be opened (absent, or in use by another program)\n"
           "  3  the radio does not answer (absent, wrong rate, unplugged)\n"
           "  4  the radio refused a setting or answered unexpectedly\n"
           "  5  file error: a profile or image that cannot be read or written, or a profile that fails its checks\n"
           "  6  the firmware image cannot be valid\n"
           "  7  verify mismatch: the radio does not hold what was written\n"
           "  8  cancelled: the download was declined, or the console could not answer\n";
}

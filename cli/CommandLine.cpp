#include "cli/CommandLine.h"

#include "cli/Fleet.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "radio/ConfigFileKeys.h"
#include "radio/Parameters.h"
#include "radio/RadioTables.h"

namespace {

struct OptionInfo {
    const char* name;
    bool takesValue;
};

constexpr OptionInfo kOptions[] = {{"--port", true},     {"--rate", true},  {"--read", true},    {"--write", true},
                                   {"--firmware", true}, {"--find", false}, {"--verify", false}, {"--yes", false},
                                   {"--set", true},      {"--json", false}, {"--help", false}};

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

// "COM3,COM4,5": each port once, none empty, at most kMaxPorts.
bool ReadPorts(const std::string& text, std::vector<int>& ports, std::string& error) {
    ports.clear();
    size_t at = 0;
    for (;;) {
        const size_t comma = text.find(',', at);
        const std::string item = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (item.empty()) {
            error = "--port has an empty item in '" + text + "'";
            return false;
        }
        const int port = ReadPort(item);
        if (port == 0) {
            error = "--port takes ports such as COM3 or COM3,COM4, not '" + item + "'";
            return false;
        }
        if (std::find(ports.begin(), ports.end(), port) != ports.end()) {
            error = "--port names COM" + std::to_string(port) + " twice";
            return false;
        }
        if (ports.size() == kMaxPorts) {
            error = "--port takes at most " + std::to_string(kMaxPorts) + " ports at once";
            return false;
        }
        ports.push_back(port);
        if (comma == std::string::npos) return true;
        at = comma + 1;
    }
}

bool SameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The profile's keys as the help names them: "Channel0-9, RXChannel0-9,
// ProtocolType, ...".
std::string ProfileKeyList() {
    std::string list;
    for (const Parameter* row : ProfileOrder()) {
        if (!list.empty()) list += ", ";
        list += row->profileKey;
        if (row->kind == ParameterKind::Frequencies) list += "0-" + std::to_string(kFrequencyRows - 1);
    }
    return list;
}

// Breaks a text into lines of at most `width` characters after `indent`.
std::string Wrapped(const std::string& text, const std::string& indent, size_t width) {
    std::string out, line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
            out += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    return out + indent + line + "\n";
}

// "KEY=VALUE" over the profile: a key the profile holds (in any case), a
// value the window would take in that field. Frequencies are stored in the
// profile's own form; list positions are checked against their lists once
// the profile they go over is known.
bool ReadSetting(const std::string& text, ProfileSetting& setting, std::string& error) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        error = "--set takes KEY=VALUE, such as SRC=12, not '" + text + "'";
        return false;
    }
    const std::string name = text.substr(0, equals);
    std::string value = text.substr(equals + 1);
    const ConfigKey* key = nullptr;
    for (const ConfigKey& k : ConfigKeysInFileOrder())
        if (SameLetters(k.text, name)) key = &k;
    if (key == nullptr) {
        error = "--set: a profile has no key '" + name + "' (" + ProfileKeyList() + ")";
        return false;
    }
    setting.key = key->text;
    const std::string what = "--set " + key->text + ": ";
    if (value.empty()) {
        error = what + "needs a value";
        return false;
    }
    if (value.size() > 32 || std::any_of(value.begin(), value.end(), [](char c) {
            return c == ',' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        })) {
        error = what + "a value is one short line without commas, not '" + value + "'";
        return false;
    }
    switch (key->kind) {
    case ConfigKey::Kind::Frequency: {
        const std::string wire = RadioTables::WireFrequency(value);
        const double mhz = wire.empty() ? 0 : RadioTables::ReadFrequency(wire);
        if (mhz < RadioTables::kMinFrequency || mhz > RadioTables::kMaxFrequency) {
            error = what + "takes a frequency from 410 to 470 MHz, not '" + value + "'";
            return false;
        }
        value = RadioTables::FormatFrequency(mhz);
        break;
    }
    case ConfigKey::Kind::Text: {
        const int maximum = ParameterOf(key->field).maxValue;
        if (!AllDigits(value) || value.size() > 3 || std::atoi(value.c_str()) > maximum) {
            error = what + "takes an address from 0 to " + std::to_string(maximum) + ", not '" + value + "'";
            return false;
        }
        break;
    }
    case ConfigKey::Kind::Position:
        // -1 leaves a list open where a profile may (the link rate).
        if (!(AllDigits(value) && value.size() <= 3) && !(ParameterOf(key->list).mayStayOpen && value == "-1")) {
            error = what + "takes the position of an entry of its list (0, 1, ...), not '" + value + "'";
            return false;
        }
        break;
    }
    setting.value = value;
    return true;
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
        if (!ReadPorts(value, options.ports, error)) return false;
        options.port = options.ports.front();
    } else if (name == "--set") {
        ProfileSetting setting;
        if (!ReadSetting(value, setting, error)) return false;
        for (const ProfileSetting& s : options.sets)
            if (s.key == setting.key) return Fail(error, "--set " + s.key + " is given twice");
        options.sets.push_back(setting);
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
    if (!options.sets.empty() && a != CliAction::Write) return Fail(error, "--set goes with --write only");
    if (a == CliAction::Firmware && options.ports.size() > 1)
        return Fail(error, "--firmware downloads to one port at a time");
    if (a == CliAction::Firmware && options.json) return Fail(error, "--json goes with --read, --write or --find");
    // One file per radio: a fixed name would be written by every port.
    if (a == CliAction::Read && options.ports.size() > 1 && options.path.find("{port}") == std::string::npos &&
        options.path.find("{serial}") == std::string::npos)
        return Fail(error, "--read with several ports needs {port} or {serial} in the file name, e.g. {serial}.cfg");
    // COM3.cfg, nul.{serial}.cfg, AUX\{port}.cfg: a device, not a file.
    if (a == CliAction::Read && NamesADevice(options.path))
        return Fail(error, "--read " + options.path +
                               ": CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 name devices, whatever the extension; "
                               "choose another name");
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
        if (name != "--set" && std::find(seen.begin(), seen.end(), name) != seen.end())
            return Fail(error, name + " is given twice");
        seen.push_back(name);
        const CliAction action = ActionOf(name);
        if (action != CliAction::None) {
            if (options.action != CliAction::None && action != CliAction::Help && options.action != CliAction::Help)
                return Fail(error, "one action at a time: " + name + " cannot go with the action before it");
            if (options.action != CliAction::Help) options.action = action;
        }
        if (name == "--verify") options.verify = true;
        if (name == "--yes") options.yes = true;
        if (name == "--json") options.json = true;
        if (!option->takesValue) continue;
        // A value that looks like an option is a forgotten value.
        if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) return Fail(error, name + " needs a value");
        if (!TakeValue(name, args[++i], options, error)) return false;
    }
    return CheckCombination(options, error);
}

std::string UsageText() {
    const std::string keys = Wrapped("the profile with these values instead of its own (its keys: " + ProfileKeyList() +
                                         "), checked as the window checks its fields",
                                     "      ", 98);
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
           "Several radios at once: --port COM3,COM4,COM5 (up to 32) runs --read, --write or --find on\n"
           "every port together, one line per port as it ends, then a summary; the exit code is 0 when\n"
           "every port succeeded, otherwise the highest code of a port. --firmware takes one port.\n"
           "  --read \"fleet\\{serial}.cfg\"  {serial} is the radio's serial number (the port's name for a\n"
           "      radio that reports none), {port} the port's name; several ports need one of them\n"
           "  --write in.cfg --set SRC=12 --set DST=200\n" +
           keys +
           "  --json  one JSON object per port on the output, one line each; messages go to the error output\n"
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
           "  8  cancelled: the download was declined, the console could not answer, or Ctrl+C, Ctrl+Break or\n"
           "     closing the console stopped the run (every radio is taken out of configuration mode first)\n";
}

std::string WindowProgramBeside(const std::string& consoleProgram) {
    const size_t cut = consoleProgram.find_last_of("\\/");
    if (cut == std::string::npos || cut == 0) return std::string();
    return consoleProgram.substr(0, cut + 1) + "VelmoraConfig.exe";
}

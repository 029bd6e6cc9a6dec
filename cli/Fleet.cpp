#include "cli/Fleet.h"

#include <algorithm>

std::string PortName(int port) { return "COM" + std::to_string(port); }

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// One part of a path: its name before the first dot (or colon), without the
// blanks Windows drops at its end.
bool IsDeviceName(const std::string& part) {
    std::string base = part.substr(0, part.find_first_of(".:"));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = Upper(c);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    if (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0) return false;
    const std::string digit = base.substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

// What a serial number keeps in a file name: letters, digits, '-', '_' and
// '.', every other byte (a separator, a wildcard, a control character, a byte
// of a character outside ASCII) as '_'; no dot at either end.
std::string FileNamePart(const std::string& serial) {
    std::string part;
    for (char c : serial) {
        const bool kept = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
                          c == '_' || c == '.';
        part += kept ? c : '_';
    }
    while (!part.empty() && part.front() == '.') part.erase(part.begin());
    while (!part.empty() && part.back() == '.') part.pop_back();
    if (part.find_first_not_of('_') == std::string::npos) part.clear();
    return part;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string Filled(const std::string& pattern, const std::string& portPart, const std::string& serialPart) {
    std::string name = pattern;
    ReplaceAll(name, "{port}", portPart);
    ReplaceAll(name, "{serial}", serialPart.empty() ? portPart : serialPart);
    return name;
}

}  // namespace

bool NamesADevice(const std::string& path) {
    size_t at = 0;
    for (;;) {
        const size_t end = path.find_first_of("\\/", at);
        if (IsDeviceName(path.substr(at, end == std::string::npos ? std::string::npos : end - at))) return true;
        if (end == std::string::npos) return false;
        at = end + 1;
    }
}

// The fixed parts of the pattern name no device (the command line refuses
// those), so a device name here comes from what was put in: a serial number
// that makes one is not used, and a port's name that makes one (COM1-COM9)
// gets a word before it, which no device name has.
std::string RadioFileName(const std::string& pattern, int port, const std::string& serial, bool& serialMissing) {
    std::string part = FileNamePart(serial);
    if (!part.empty() && NamesADevice(Filled(pattern, "port-" + PortName(port), part))) part.clear();
    serialMissing = pattern.find("{serial}") != std::string::npos && part.empty();
    std::string portPart = PortName(port);
    if (NamesADevice(Filled(pattern, portPart, part))) portPart = "port-" + portPart;
    return Filled(pattern, portPart, part);
}

bool RadioClaims::Claim(const std::string& serial, int port, int& other) {
    if (serial.empty()) return true;
    std::lock_guard<std::mutex> guard(lock_);
    const auto inserted = ports_.emplace(serial, port);
    other = inserted.first->second;
    return inserted.second || other == port;
}

bool RadioClaims::ClaimFile(const std::string& path, int port, int& other) {
    std::string key = path;
    for (char& c : key) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c == '/' ? '\\' : c;
    std::lock_guard<std::mutex> guard(lock_);
    const auto inserted = files_.emplace(key, port);
    other = inserted.first->second;
    return inserted.second || other == port;
}

ExitCode FleetExitCode(const std::vector<PortResult>& results) {
    int highest = 0;
    for (const PortResult& r : results) highest = std::max(highest, static_cast<int>(r.code));
    return static_cast<ExitCode>(highest);
}

std::string FleetSummary(const std::vector<PortResult>& results) {
    size_t failed = 0;
    std::string failures;
    for (const PortResult& r : results) {
        if (r.code == ExitCode::Success) continue;
        ++failed;
        failures += "  " + PortName(r.port) + ": exit code " + std::to_string(static_cast<int>(r.code)) + ", " +
                    (r.reason.empty() ? OutcomeName(r.code) : r.reason) + "\n";
    }
    const size_t total = results.size();
    return "summary: " + std::to_string(total) + (total == 1 ? " port, " : " ports, ") +
           std::to_string(total - failed) + " done, " + std::to_string(failed) + " failed\n" + failures;
}

const char* OutcomeName(ExitCode code) {
    // In the order of the exit codes, 0 to 8.
    static const char* const kNames[] = {"success",    "usage",         "port-not-opened", "no-answer", "refused",
                                         "file-error", "image-invalid", "verify-mismatch", "cancelled"};
    const size_t index = static_cast<size_t>(code);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "failed";
}

ExitCode ExitCodeOf(OutcomeKind kind) {
    switch (kind) {
    case OutcomeKind::Success:
        return ExitCode::Success;
    case OutcomeKind::PortAbsent:
    case OutcomeKind::PortInUse:
    case OutcomeKind::PortRefused:
        return ExitCode::PortNotOpened;
    case OutcomeKind::NoAnswer:
    case OutcomeKind::PortLost:
        return ExitCode::NoAnswer;
    case OutcomeKind::UnexpectedAnswer:
    case OutcomeKind::ValueRefused:
        return ExitCode::Refused;
    case OutcomeKind::CheckFailed:
    case OutcomeKind::FileError:
        return ExitCode::FileError;
    case OutcomeKind::VerifyMismatch:
        return ExitCode::VerifyMismatch;
    case OutcomeKind::Cancelled:
        return ExitCode::Cancelled;
    }
    return ExitCode::Refused;
}

#include "cli/Fleet.h"

#include <algorithm>

std::string PortName(int port) { return "COM" + std::to_string(port); }

namespace {

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

}  // namespace

std::string RadioFileName(const std::string& pattern, int port, const std::string& serial, bool& serialMissing) {
    std::string name = pattern;
    std::string part = FileNamePart(serial);
    serialMissing = pattern.find("{serial}") != std::string::npos && part.empty();
    if (part.empty()) part = PortName(port);
    ReplaceAll(name, "{port}", PortName(port));
    ReplaceAll(name, "{serial}", part);
    return name;
}

bool RadioClaims::Claim(const std::string& serial, int port, int& other) {
    if (serial.empty()) return true;
    std::lock_guard<std::mutex> guard(lock_);
    const auto inserted = ports_.emplace(serial, port);
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

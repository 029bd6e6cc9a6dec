#include "cli/Workshop.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/FirmwareProgress.h"
#include "cli/ProfileSettings.h"
#include "cli/RunCancel.h"
#include "radio/ConfigFile.h"
#include "radio/ConfigFileCommands.h"
#include "radio/ConfigFileKeys.h"
#include "radio/Firmware.h"
#include "radio/FirmwareImage.h"
#include "radio/RadioConfig.h"
#include "platform/LogFolder.h"
#include "serial/PortDiscovery.h"
#include "serial/PortSelection.h"
#include "platform/Files.h"
#include "platform/Wide.h"

namespace {

enum class PathKind { Missing, Folder, File };

PathKind KindOf(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Text::WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

// The profile dialog of the window, answered with the path of the command line.
class GivenPath : public IFileChooser {
public:
    explicit GivenPath(std::string path) : path_(std::move(path)) {}
    bool ChooseSavePath(std::string& path) override {
        path = path_;
        return true;
    }
    bool ChooseOpenPath(std::string& path) override {
        path = path_;
        return true;
    }

private:
    std::string path_;
};

// The download's events on the console: its progress as the output can
// show it, in place on a console, a line a tenth into a file or pipe.
class ConsoleFirmwareEvents : public Firmware::IFirmwareEvents {
public:
    ConsoleFirmwareEvents(Console& console, const Firmware::ImageFacts& facts)
        : console_(console), progress_(facts.pages, facts.length, console.OutIsConsole()) {}
    void Busy(bool on) override {
        if (on) started_ = ::GetTickCount64();
        // The progress line ends before anything else is written.
        if (!on) console_.Out(progress_.Finish());
    }
    void Progress(int value) override { console_.Out(progress_.Update(value, ::GetTickCount64() - started_)); }
    void Ended(const Outcome& outcome) override { outcome_ = outcome; }
    const Outcome& Result() const { return outcome_; }

private:
    Console& console_;
    FirmwareProgress progress_;
    ULONGLONG started_ = 0;
    Outcome outcome_;
};

}  // namespace

Workshop::Workshop(const CliOptions& options, Console& console, TrafficLog* log, WorkshopRun& run, PortResult& result)
    : options_(options), console_(console), log_(log), run_(run), result_(result) {
    RadioConfig::FillParameterLists(settings_, Language::English);
    link_.SetTrafficLog(log_);
}

std::string Workshop::PortName() const { return ::PortName(options_.port); }

const std::atomic<bool>& Workshop::Cancel() const {
    static const std::atomic<bool> never{false};
    return run_.cancel != nullptr ? *run_.cancel : never;
}

void Workshop::Say(const std::string& verb, const std::string& text) {
    if (run_.keepLines)
        result_.lines.push_back({false, verb + ": " + text});
    else
        console_.Out(verb + " " + PortName() + ": " + text + "\n");
}

void Workshop::Complain(const std::string& text) {
    if (result_.reason.empty()) {
        // The summary's reason: the first line, without "error: ".
        std::string reason = text.substr(0, text.find('\n'));
        if (reason.rfind("error: ", 0) == 0) reason.erase(0, 7);
        result_.reason = reason;
    }
    if (run_.keepLines) {
        size_t at = 0;
        while (at < text.size()) {
            const size_t lf = text.find('\n', at);
            const size_t end = lf == std::string::npos ? text.size() : lf;
            if (end > at) result_.lines.push_back({true, text.substr(at, end - at)});
            at = end + 1;
        }
    } else {
        console_.Err(text);
    }
}

// One session: the port opens for the first step and stays open until the
// run ends, so that the steps do not each pay the port's closing pause.
Outcome Workshop::Open(int port, int rate) {
    if (link_.IsOpen()) return Outcome();
    return link_.Open(port, rate);
}

// Says why the step failed, in the outcome's words, and keeps its cause for
// the results.
bool Workshop::Failed(const Outcome& outcome, const char* what, ExitCode& code) {
    code = ExitCodeOf(outcome.kind);
    result_.cause = CauseWord(outcome.kind);
    result_.command = outcome.command;
    result_.reply = outcome.reply;
    // With several adapters on a bench, the port's device tells them apart.
    Outcome named = outcome;
    if (named.port > 0) named.portDevice = PortDeviceName(named.port);
    const OutcomeText text = DescribeOutcome(named, Language::English, OutcomeReader::CommandLine);
    const std::string said = text.cause + (text.next.empty() ? "" : "; " + text.next);
    if (outcome.kind == OutcomeKind::VerifyMismatch) {
        // Everything was sent and answered; the radio does not hold it all.
        result_.differences = outcome.mismatches;
        // What the radio read back, as the console can show it.
        std::vector<VerifyMismatch> shown = outcome.mismatches;
        for (VerifyMismatch& m : shown) m.read = PrintableText(m.read);
        Complain("error: the radio on " + PortName() + " does not hold what was written\n" +
                 FormatMismatches(shown, Language::English) + "\n");
    } else if (outcome.kind == OutcomeKind::Cancelled) {
        Complain(std::string("cancelled: ") + what + ": " + said + "\n");
    } else {
        Complain(std::string("error: ") + what + ": " + said + "\n");
    }
    return false;
}

bool Workshop::Step(JobKind kind, const char* what, ExitCode& code) {
    JobRequest request;
    request.kind = kind;
    request.port = options_.port;
    request.rate = options_.rate;
    request.settings = settings_;
    request.language = Language::English;
    const std::atomic<bool> never{false};
    const JobResult result = RunRadioJob(request, *this, kind == JobKind::Disconnect && leaving_ ? never : Cancel());
    if (log_) log_->Note(OutcomeLogLine(result.outcome));
    if (!result.outcome.Succeeded()) return Failed(result.outcome, what, code);
    if (kind == JobKind::Read) settings_ = result.settings;
    return true;
}

// Back out of configuration mode, also when the run has been cancelled:
// a radio is never left in it by a cancel.
bool Workshop::Leave(ExitCode& code) {
    leaving_ = true;
    const bool left = Step(JobKind::Disconnect, "disconnect", code);
    leaving_ = false;
    return left;
}

bool Workshop::TakeRadio(ExitCode& code) {
    result_.radioRead = true;
    result_.serialNumber = settings_.Text(TextField::SerialNumber);
    result_.hardwareVersion = settings_.Text(TextField::HardwareVersion);
    result_.firmwareVersion = settings_.Text(TextField::FirmwareVersion);
    int other = 0;
    if (run_.claims.Claim(result_.serialNumber, options_.port, other)) return true;
    radioTaken_ = true;
    Complain("error: " + PortName() + " reaches the radio " + ::PortName(other) + " reaches (serial number " +
             PrintableText(result_.serialNumber) + "): two ports wired to one radio?\n");
    result_.cause = "radio-taken";
    code = ExitCode::Refused;
    return false;
}

// The file of this radio, claimed for this port; false (said why, exit
// code 5) when another port's radio has the same file, or it cannot be
// written, before anything is written.
bool Workshop::TakeFile(const std::string& target, ExitCode& code) {
    int other = 0;
    if (!run_.claims.ClaimFile(target, options_.port, other)) {
        Complain("error: read: the profile of the radio on " + PortName() + " (serial number " +
                 PrintableText(result_.serialNumber) + ") would go to " + target + ", the file of the radio on " +
                 ::PortName(other) + "; nothing was written: put {port} in the name as well\n");
    } else if (!ConfigFileCommands::CanSaveProfile(target)) {
        Complain("error: " + target +
                 " cannot be written: it is a folder, a read-only file or one another program holds\n");
    } else {
        return true;
    }
    result_.cause = CauseWord(OutcomeKind::FileError);
    code = ExitCode::FileError;
    return false;
}

ExitCode Workshop::Read() {
    const std::string pattern = WithConfigSuffix(options_.path);
    // The file is checked before the radio is asked; a name that takes the
    // serial number, not yet read, has its folder checked.
    bool serialMissing = false;
    const std::string probe = RadioFileName(pattern, options_.port, "", serialMissing);
    const bool bySerial = pattern.find("{serial}") != std::string::npos;
    if (!(bySerial ? ConfigFileCommands::CanSaveInFolderOf(probe) : ConfigFileCommands::CanSaveProfile(probe))) {
        Complain("error: " + (bySerial ? pattern : probe) +
                 " cannot be written: it is a folder, a read-only file or one another program holds, or its "
                 "folder does not exist or cannot be written\n");
        result_.cause = CauseWord(OutcomeKind::FileError);
        return ExitCode::FileError;
    }
    ExitCode code = ExitCode::Success;
    if (!Step(JobKind::Connect, "connect", code)) return code;
    bool read = Step(JobKind::Read, "read", code);
    if (read) read = TakeRadio(code);
    std::string target;
    if (read) {
        target = RadioFileName(pattern, options_.port, result_.serialNumber, serialMissing);
        read = TakeFile(target, code);
    }
    // Back out of configuration mode either way; its own failure is reported
    // after the read's, and a profile read in full is kept all the same.
    if (radioTaken_) return code;  // the session is the other port's
    ExitCode leave = ExitCode::Success;
    const bool left = Leave(leave);
    if (!read) return code;
    GivenPath chooser(target);
    ConfigFileCommands files(chooser);
    if (!files.SaveProfile(target, ExportConfigLines(settings_))) {
        Complain("error: " + target + " cannot be written\n");
        result_.cause = CauseWord(OutcomeKind::FileError);
        return ExitCode::FileError;
    }
    result_.file = target;
    Say("read", (serialMissing
                     ? "the radio reports no serial number a file name can hold, so the file is named after the port; "
                     : "") +
                    std::string("the profile is in ") + target);
    return left ? ExitCode::Success : leave;
}

// A profile that leaves the link rate open (-1, where the user chooses it:
// HUACE, SOUTH and TRANSEOT at 25.0 kHz; a radio that reports none exports
// it so) leaves the radio's as it is: the list then holds only the entry a
// read shows for a rate it cannot tell, for which nothing is sent.
void Workshop::LeaveOpenLinkRateAsItIs() {
    if (settings_.Selection(ListField::LinkBaudRate) >= 0) return;
    settings_.List(ListField::LinkBaudRate).Fill({"UNKNOW"});
    RadioConfig::Select(settings_, ListField::LinkBaudRate, 0);
}

// As in the window: Connect, Read (for what a profile does not hold, such as
// the bandwidth), the profile over it, the write's checks, Write, Disconnect.
ExitCode Workshop::WriteProfile() {
    ExitCode code = ExitCode::Success;
    if (!Step(JobKind::Connect, "connect", code)) return code;
    bool written = Step(JobKind::Read, "read", code) && TakeRadio(code);
    if (written) {
        ImportConfigText(settings_, run_.profile);
        LeaveOpenLinkRateAsItIs();
        const RadioConfig::Check check = RadioConfig::PrepareWrite(settings_, Language::English);
        if (!check.Passed()) {
            // Refused by the write's checks: the profile, not the radio.
            for (const std::string& m : check.messages) Complain("error: " + options_.path + ": " + m + "\n");
            result_.cause = CauseWord(OutcomeKind::CheckFailed);
            code = ExitCode::FileError;
            written = false;
        } else {
            written = Step(options_.verify ? JobKind::WriteAndVerify : JobKind::Write, "write", code);
        }
    }
    if (radioTaken_) return code;  // the session is the other port's
    ExitCode leave = ExitCode::Success;
    if (!Leave(leave) && written) return leave;
    if (!written) return code;
    Say("write", "the radio took " + options_.path + (options_.verify ? ", and holds every value written" : ""));
    return ExitCode::Success;
}

ExitCode Workshop::Firmware() {
    const Firmware::ImageFacts facts = Firmware::InspectImageFile(options_.path);
    if (!facts.Valid()) {
        Complain("error: " + Firmware::DescribeRefusal(options_.path, facts, Language::English) + "\n");
        result_.cause = CauseWord(OutcomeKind::FileError);
        return facts.problem == Firmware::ImageProblem::Unreadable ? ExitCode::FileError : ExitCode::ImageInvalid;
    }
    const std::string description = Firmware::DescribeImage(options_.path, facts, Language::English);
    if (options_.yes) {
        console_.Out(description.substr(0, description.rfind(" Start the update?")) + "\n");
    } else {
        bool yes = false;
        if (!console_.Ask(description + " [y/N] ", yes)) {
            console_.Err("\nerror: no answer can be read from the console; give --yes to start without asking\n");
            result_.cause = CauseWord(OutcomeKind::Cancelled);
            return ExitCode::Cancelled;
        }
        if (!yes) {
            console_.Err("cancelled: nothing was sent to the radio\n");
            result_.cause = CauseWord(OutcomeKind::Cancelled);
            return ExitCode::Cancelled;
        }
    }
    Firmware::GivenImage chooser(options_.path);
    ConsoleFirmwareEvents events(console_, facts);
    Firmware::Download download(chooser, events, *this, options_.port);
    download.log = log_;
    download.cancel = &Cancel();
    download.downloadFirmware();
    link_.Close();
    if (log_) log_->Note(OutcomeLogLine(events.Result()));
    ExitCode code = ExitCode::Success;
    if (!events.Result().Succeeded()) {
        Failed(events.Result(), "firmware", code);
        return code;
    }
    Say("firmware", std::to_string(facts.pages) + " pages downloaded");
    return ExitCode::Success;
}

void Workshop::Trying(int port, int rate) {
    // One port's search among several says only its outcome.
    if (!run_.keepLines) console_.Out("trying COM" + std::to_string(port) + " at " + std::to_string(rate) + "\n");
}

// A port whose line cannot be set up counts as one that cannot be opened: no
// radio can answer on it at any rate.
bool Workshop::OpenPort(int port, int rate) {
    const Outcome opened = link_.Open(port, rate);
    if (opened.Succeeded())
        anyPortOpened_ = true;
    else
        lastOpenFailure_ = opened;
    return opened.Succeeded();
}

bool Workshop::Connect() { return ConnectAnswered(link_.Exchange()); }

void Workshop::ClosePort() { link_.Close(); }

// Every listed port (or only --port) at every rate, the given ones first.
// The radio that answers is taken out of configuration mode again, so that
// it is left as it was found.
ExitCode Workshop::Find() {
    std::vector<int> listed;
    if (options_.port != 0) {
        listed.push_back(options_.port);
    } else if (!EnumerateSerialPorts(listed) || listed.empty()) {
        Complain("error: this computer lists no serial port\n");
        result_.cause = CauseWord(OutcomeKind::PortAbsent);
        return ExitCode::PortNotOpened;
    }
    const std::vector<int> ports = SearchPortOrder(options_.port, listed);
    const std::vector<int> rates =
        SearchRateOrder(options_.rateGiven ? options_.rate : 0, {9600, 19200, 38400, 57600, 115200});
    const FindOutcome outcome = FindRadio(*this, ports, rates, Cancel());
    ExitCode code = ExitCode::Success;
    if (outcome.kind == FindOutcome::Kind::Cancelled) {
        Complain("cancelled: find: no radio was found before the search was stopped\n");
        result_.cause = CauseWord(OutcomeKind::Cancelled);
        return ExitCode::Cancelled;
    }
    if (outcome.kind != FindOutcome::Kind::Found && !anyPortOpened_) {
        // Nothing could be asked: the port's fault, not the radio's.
        if (options_.port == 0) {
            Complain("error: find: no listed port can be opened\n");
            result_.cause = CauseWord(lastOpenFailure_.kind);
            return ExitCode::PortNotOpened;
        }
        Failed(lastOpenFailure_, "find", code);
        return code;
    }
    if (outcome.kind != FindOutcome::Kind::Found) {
        Complain("error: no radio answered on any listed port at any rate\n");
        result_.cause = CauseWord(OutcomeKind::NoAnswer);
        return ExitCode::NoAnswer;
    }
    options_.port = outcome.port;
    options_.rate = outcome.rate;
    result_.port = outcome.port;
    result_.rate = outcome.rate;
    if (!Leave(code)) return code;
    std::string found = "COM" + std::to_string(outcome.port) + ", " + std::to_string(outcome.rate);
    if (const std::string device = PortDeviceName(outcome.port); !device.empty()) found += " (" + device + ")";
    if (run_.keepLines)
        result_.lines.push_back({false, "found: " + found});
    else
        console_.Out("found: " + found + "\n");
    return ExitCode::Success;
}

ExitCode Workshop::Run() {
    result_.port = options_.port;
    result_.rate = options_.action == CliAction::Firmware ? kFirmwareBaudRate : options_.rate;
    result_.action = options_.action;
    const auto started = std::chrono::steady_clock::now();
    ExitCode code = ExitCode::Usage;
    switch (options_.action) {
    case CliAction::Read:
        code = Read();
        break;
    case CliAction::Write:
        code = WriteProfile();
        break;
    case CliAction::Firmware:
        code = Firmware();
        break;
    case CliAction::Find:
        code = Find();
        break;
    default:
        break;
    }
    link_.Close();  // the end of the session
    result_.code = code;
    if (code == ExitCode::Success) result_.cause = CauseWord(OutcomeKind::Success);
    result_.durationMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    return code;
}

namespace {

std::unique_ptr<TrafficLog> StartLog(Console& console) {
    std::string folder;
    if (!PrepareLogFolder(folder)) {
        console.Err("warning: the traffic log folder cannot be created; going on without a log\n");
        return nullptr;
    }
    TrafficLog::Options options;
    options.folder = folder;
    return std::make_unique<TrafficLog>(options);
}

}  // namespace

ExitCode PrepareProfile(const CliOptions& options, Console& console, WorkshopRun& run) {
    // Opened, such a name reads the device (a serial port waits for ever).
    if (NamesADevice(options.path)) {
        console.Err("error: " + options.path + " names a device, not a file: CON, PRN, AUX, NUL, COM1-COM9 and " +
                    "LPT1-LPT9 do, whatever the folder and the extension\n");
        return ExitCode::FileError;
    }
    const PathKind kind = KindOf(options.path);
    if (kind != PathKind::File) {
        console.Err("error: " + options.path + (kind == PathKind::Folder ? " is a folder" : " does not exist") + "\n");
        return ExitCode::FileError;
    }
    std::ifstream file(Text::PathOf(options.path), std::ios::binary);
    // A profile is 29 short lines: anything over 1 MiB is not one.
    constexpr size_t kLimit = 1024 * 1024;
    std::string bytes;
    if (file) {
        char buffer[4096];
        while (bytes.size() <= kLimit && (file.read(buffer, sizeof buffer) || file.gcount() > 0))
            bytes.append(buffer, static_cast<size_t>(file.gcount()));
    }
    if (!file.eof() || bytes.size() > kLimit) {
        console.Err("error: " + options.path + " cannot be read as a profile\n");
        return ExitCode::FileError;
    }
    RadioSettings settings;
    RadioConfig::FillParameterLists(settings, Language::English);
    if (ImportConfigText(settings, bytes).applied == 0) {
        console.Err("error: " + options.path + " holds no profile line\n");
        return ExitCode::FileError;
    }
    bytes = ApplySettings(bytes, options.sets);
    ImportConfigText(settings, bytes);
    // A list position of --set must be one its list has, as a selection in
    // the window's list must (-1 leaves the link rate open).
    for (const ProfileSetting& set : options.sets) {
        const ConfigKey* key = FindConfigKey(set.key);
        if (key == nullptr || key->kind != ConfigKey::Kind::Position) continue;
        const int wanted = std::atoi(set.value.c_str());
        if (settings.Selection(key->list) == wanted || wanted < 0) continue;
        const int count = settings.List(key->list).Count();
        console.Err("error: --set " + set.key + "=" + set.value + ": its list has " + std::to_string(count) +
                    " entries (0 to " + std::to_string(count - 1) + ")\nVelmoraConfig --help lists the options.\n");
        return ExitCode::Usage;
    }
    // The write's own checks, before the radio is touched. A profile does not
    // hold the bandwidth, which the radio keeps, and need not hold a link rate
    // (the write then leaves the radio's): 12.5 kHz stands for the bandwidth
    // here, which settles the link rate by the rule.
    if (settings.Selection(ListField::Bandwidth) < 0) RadioConfig::Select(settings, ListField::Bandwidth, 0);
    RadioConfig::Check check = RadioConfig::checkChannelFrequencies(settings, Language::English);
    if (check.Passed()) check = RadioConfig::checkRequiredFields(settings, Language::English);
    if (!check.Passed()) {
        for (const std::string& m : check.messages) console.Err("error: " + options.path + ": " + m + "\n");
        return ExitCode::FileError;
    }
    run.profile = bytes;
    return ExitCode::Success;
}

namespace {

// The lines of ports that end at the same time do not mix: each port's block
// (its lines, its JSON object) goes out whole.
class PortReporter {
public:
    PortReporter(const CliOptions& options, Console& console) : options_(options), console_(console) {}

    void Ended(const PortResult& result) {
        std::lock_guard<std::mutex> guard(lock_);
        const std::string prefix = options_.ports.size() > 1 ? PortName(result.port) + ": " : "";
        std::string out, err;
        for (const PortResult::Line& line : result.lines) {
            // With --json the output holds the objects and nothing else.
            (line.error || options_.json ? err : out) += prefix + line.text + "\n";
        }
        if (!out.empty()) console_.Out(out);
        if (!err.empty()) console_.Err(err);
        if (options_.json && !console_.Out(ResultJson(result) + "\n")) outputFailed_ = true;
    }
    bool OutputFailed() const { return outputFailed_; }

private:
    const CliOptions& options_;
    Console& console_;
    std::mutex lock_;
    bool outputFailed_ = false;
};

}  // namespace

std::vector<PortResult> RunPorts(const CliOptions& options, Console& console, TrafficLog* log, WorkshopRun& run) {
    std::vector<PortResult> results(options.ports.empty() ? 1 : options.ports.size());
    PortReporter reporter(options, console);
    auto runPort = [&](size_t i) {
        CliOptions own = options;
        own.port = options.ports.empty() ? options.port : options.ports[i];
        // Each port's bytes under its own name, in the one log of the run.
        std::unique_ptr<TrafficLog> portLog = log && i > 0 ? std::make_unique<TrafficLog>(*log) : nullptr;
        {
            Workshop workshop(own, console, portLog ? portLog.get() : log, run, results[i]);
            workshop.Run();
        }
        if (run.keepLines) reporter.Ended(results[i]);
    };
    if (results.size() == 1) {
        runPort(0);
    } else {
        std::vector<std::thread> threads;
        for (size_t i = 0; i < results.size(); ++i) threads.emplace_back(runPort, i);
        for (std::thread& t : threads) t.join();
    }
    if (reporter.OutputFailed()) {
        console.Err("error: the results cannot be written to the output (is its disk full?)\n");
        for (PortResult& r : results)
            if (static_cast<int>(r.code) < static_cast<int>(ExitCode::FileError)) r.code = ExitCode::FileError;
    }
    return results;
}

int RunCommandLine() {
    Console console;
    std::vector<std::string> args;
    std::string error;
    if (!ProgramArguments(args, error)) {
        console.Err("error: " + error + "\n");
        return static_cast<int>(ExitCode::FileError);
    }
    CliOptions options;
    if (!ParseCommandLine(args, options, error)) {
        console.Err("error: " + error + "\nVelmoraConfig --help lists the options.\n");
        return static_cast<int>(ExitCode::Usage);
    }
    if (options.action == CliAction::Help) {
        if (console.Out(UsageText())) return static_cast<int>(ExitCode::Success);
        console.Err("error: the help cannot be written to the output (is its disk full?)\n");
        return static_cast<int>(ExitCode::FileError);
    }
    if (options.json) console.KeepOutputClean();
    WorkshopRun run;
    run.keepLines = options.ports.size() > 1 || options.json;
    // From here on Ctrl+C, Ctrl+Break and closing the console cancel the run.
    const ConsoleCancel cancelling;
    run.cancel = &RunCancelFlag();
    if (options.action == CliAction::Write) {
        const ExitCode prepared = PrepareProfile(options, console, run);
        if (prepared != ExitCode::Success) return static_cast<int>(prepared);
    }
    std::unique_ptr<TrafficLog> log = StartLog(console);
    if (log) {
        std::string all;
        for (const std::string& a : args) all += (all.empty() ? "" : " ") + a;
        log->Note("command line: " + all);
    }
    const std::vector<PortResult> results = RunPorts(options, console, log.get(), run);
    ExitCode code = FleetExitCode(results);
    if (options.ports.size() > 1) {
        const std::string summary = FleetSummary(results);
        if (options.json)
            console.Err(summary);
        else
            console.Out(summary);
    }
    // The results a script reads are lost (with --json said above).
    if (!options.json && console.OutputFailed()) {
        console.Err("error: the results cannot be written to the output (is its disk full?)\n");
        if (static_cast<int>(code) < static_cast<int>(ExitCode::FileError)) code = ExitCode::FileError;
    }
    if (log) log->Note("exit code " + std::to_string(static_cast<int>(code)));
    return static_cast<int>(code);
}

#include "cli/Workshop.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "cli/FirmwareProgress.h"
#include "radio/ConfigFile.h"
#include "radio/ConfigFileCommands.h"
#include "radio/Firmware.h"
#include "radio/FirmwareImage.h"
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
    void Outcome(bool success) override { success_ = success; }
    void Cancelled() override { success_ = false; }
    bool Succeeded() const { return success_; }

private:
    Console& console_;
    FirmwareProgress progress_;
    ULONGLONG started_ = 0;
    bool success_ = false;
};

}  // namespace

Workshop::Workshop(const CliOptions& options, Console& console, TrafficLog* log)
    : options_(options),
      console_(console),
      log_(log),
      config_(view_),
      actions_(view_, config_, link_.Exchange(), *this) {
    view_.config = &config_;
    config_.FillParameterLists();
    link_.SetTrafficLog(log_);
}

std::string Workshop::PortName() const { return "COM" + std::to_string(options_.port); }

bool Workshop::OpenSelectedPort(bool firmwareRate) {
    openFailed_ = !link_.Open(options_.port, options_.rate, firmwareRate);
    return !openFailed_;
}

void Workshop::ShowResult(bool success, ActionControl) {
    lastOutcome_ = success;
    link_.Close();
}

ExitCode Workshop::FailureCode(const char* what) {
    if (openFailed_) {
        console_.Err("error: " + PortName() + " cannot be opened (no such port, or another program is using it)\n");
        return ExitCode::PortNotOpened;
    }
    if (!link_.Exchange().IsReplyComplete()) {
        console_.Err(std::string("error: ") + what + ": the radio on " + PortName() + " at " +
                     std::to_string(options_.rate) + " baud does not answer\n");
        return ExitCode::NoAnswer;
    }
    console_.Err(std::string("error: ") + what + ": the radio answered \"" + link_.Exchange().ReplyLine() + "\"\n");
    return ExitCode::Refused;
}

bool Workshop::Step(void (RadioActions::*action)(), const char* what, ExitCode& code) {
    lastOutcome_ = false;
    openFailed_ = false;
    view_.errors.clear();
    (actions_.*action)();
    if (lastOutcome_) return true;
    if (!actions_.LastMismatches().empty()) {
        code = ExitCode::VerifyMismatch;  // every setting was answered; the caller names the fields not held
    } else if (!view_.errors.empty()) {
        // Refused by the write's own checks before anything was sent: the
        // last reply belongs to another command. The caller names the fields.
        code = ExitCode::FileError;
    } else {
        code = FailureCode(what);
    }
    return false;
}

ExitCode Workshop::Read() {
    const std::string target = WithConfigSuffix(options_.path);
    if (!ConfigFileCommands::CanSaveProfile(target)) {
        console_.Err("error: " + target +
                     " cannot be written: it is a folder, a read-only file or one another program holds, or its "
                     "folder does not exist or cannot be written\n");
        return ExitCode::FileError;
    }
    ExitCode code = ExitCode::Success;
    if (!Step(&RadioActions::EnterConfigMode, "connect", code)) return code;
    const bool read = Step(&RadioActions::ReadFromRadio, "read", code);
    // Back out of configuration mode either way; its own failure is reported
    // after the read's, and a profile read in full is kept all the same.
    ExitCode leave = ExitCode::Success;
    const bool left = Step(&RadioActions::ExitConfigMode, "disconnect", leave);
    if (!read) return code;
    GivenPath chooser(target);
    ConfigFileCommands files(view_, *this, chooser);
    if (!files.SaveProfile(target, ExportConfigLines(view_))) {
        console_.Err("error: " + target + " cannot be written\n");
        return ExitCode::FileError;
    }
    console_.Out("read " + PortName() + ": the profile is in " + target + "\n");
    return left ? ExitCode::Success : leave;
}

ExitCode Workshop::LoadProfile(std::string& bytes) {
    const PathKind kind = KindOf(options_.path);
    if (kind != PathKind::File) {
        console_.Err("error: " + options_.path + (kind == PathKind::Folder ? " is a folder" : " does not exist") +
                     "\n");
        return ExitCode::FileError;
    }
    std::ifstream file(Text::PathOf(options_.path), std::ios::binary);
    // A profile is 29 short lines: anything over 1 MiB is not one.
    constexpr size_t kLimit = 1024 * 1024;
    if (file) {
        char buffer[4096];
        while (bytes.size() <= kLimit && (file.read(buffer, sizeof buffer) || file.gcount() > 0))
            bytes.append(buffer, static_cast<size_t>(file.gcount()));
    }
    if (!file.eof() || bytes.size() > kLimit) {
        console_.Err("error: " + options_.path + " cannot be read as a profile\n");
        return ExitCode::FileError;
    }
    if (ImportConfigText(view_, bytes).applied == 0) {
        console_.Err("error: " + options_.path + " holds no profile line\n");
        return ExitCode::FileError;
    }
    // The write's own checks, before the radio is touched. A profile does not
    // hold the bandwidth, which the radio keeps, and need not hold a link rate
    // (the write then leaves the radio's): 12.5 kHz stands for the bandwidth
    // here, which settles the link rate by the rule.
    if (view_.GetSelection(ListField::Bandwidth) < 0) view_.SelectItem(ListField::Bandwidth, 0);
    if (!config_.checkChannelFrequencies() || !config_.checkRequiredFields()) {
        for (const std::string& e : view_.errors) console_.Err("error: " + options_.path + ": " + e + "\n");
        return ExitCode::FileError;
    }
    return ExitCode::Success;
}

// A profile that leaves the link rate open (-1, where the user chooses it:
// HUACE, SOUTH and TRANSEOT at 25.0 kHz; a radio that reports none exports
// it so) leaves the radio's as it is: the list then holds only the entry a
// read shows for a rate it cannot tell, for which nothing is sent.
void Workshop::LeaveOpenLinkRateAsItIs() {
    if (view_.GetSelection(ListField::LinkBaudRate) >= 0) return;
    view_.FillList(ListField::LinkBaudRate, {"UNKNOW"});
    view_.SelectItem(ListField::LinkBaudRate, 0);
}

// As in the window: Connect, Read (for what a profile does not hold, such as
// the bandwidth), the profile over it, Write, Disconnect.
ExitCode Workshop::WriteProfile() {
    std::string bytes;
    const ExitCode loaded = LoadProfile(bytes);
    if (loaded != ExitCode::Success) return loaded;
    ExitCode code = ExitCode::Success;
    if (!Step(&RadioActions::EnterConfigMode, "connect", code)) return code;
    bool written = Step(&RadioActions::ReadFromRadio, "read", code);
    if (written) {
        ImportConfigText(view_, bytes);
        LeaveOpenLinkRateAsItIs();
        written = Step(options_.verify ? &RadioActions::WriteAndVerify : &RadioActions::WriteToRadio, "write", code);
        if (!actions_.LastMismatches().empty()) {
            // Everything was sent and answered; the radio does not hold it all.
            console_.Err("error: the radio on " + PortName() + " does not hold what was written\n" +
                         FormatMismatches(actions_.LastMismatches(), Language::English) + "\n");
            code = ExitCode::VerifyMismatch;
        } else {
            // Refused by the write's checks: the profile, not the radio.
            for (const std::string& e : view_.errors) console_.Err("error: " + options_.path + ": " + e + "\n");
            if (!view_.errors.empty()) code = ExitCode::FileError;
        }
    }
    ExitCode leave = ExitCode::Success;
    if (!Step(&RadioActions::ExitConfigMode, "disconnect", leave) && written) return leave;
    if (!written) return code;
    console_.Out("write " + PortName() + ": the radio took " + options_.path +
                 (options_.verify ? ", and holds every value written\n" : "\n"));
    return ExitCode::Success;
}

ExitCode Workshop::Firmware() {
    const Firmware::ImageFacts facts = Firmware::InspectImageFile(options_.path);
    if (!facts.Valid()) {
        console_.Err("error: " + Firmware::DescribeRefusal(options_.path, facts, Language::English) + "\n");
        return facts.problem == Firmware::ImageProblem::Unreadable ? ExitCode::FileError : ExitCode::ImageInvalid;
    }
    const std::string description = Firmware::DescribeImage(options_.path, facts, Language::English);
    if (options_.yes) {
        console_.Out(description.substr(0, description.rfind(" Start the update?")) + "\n");
    } else {
        bool yes = false;
        if (!console_.Ask(description + " [y/N] ", yes)) {
            console_.Err("\nerror: no answer can be read from the console; give --yes to start without asking\n");
            return ExitCode::Cancelled;
        }
        if (!yes) {
            console_.Err("cancelled: nothing was sent to the radio\n");
            return ExitCode::Cancelled;
        }
    }
    Firmware::GivenImage chooser(options_.path);
    ConsoleFirmwareEvents events(console_, facts);
    Firmware::Download download(chooser, events, *this, link_.Exchange(), link_);
    download.log = log_;
    lastOutcome_ = false;
    openFailed_ = false;
    download.downloadFirmware();
    link_.Close();
    if (!events.Succeeded()) {
        options_.rate = kFirmwareBaudRate;
        return FailureCode("firmware");
    }
    console_.Out("firmware " + PortName() + ": " + std::to_string(facts.pages) + " pages downloaded\n");
    return ExitCode::Success;
}

void Workshop::Trying(int port, int rate) {
    console_.Out("trying COM" + std::to_string(port) + " at " + std::to_string(rate) + "\n");
}

// A port whose line cannot be set up counts as one that cannot be opened: no
// radio can answer on it at any rate.
bool Workshop::OpenPort(int port, int rate) {
    const bool opened = link_.Open(port, rate);
    anyPortOpened_ = anyPortOpened_ || opened;
    return opened;
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
        console_.Err("error: this computer lists no serial port\n");
        return ExitCode::PortNotOpened;
    }
    const std::vector<int> ports = SearchPortOrder(options_.port, listed);
    const std::vector<int> rates =
        SearchRateOrder(options_.rateGiven ? options_.rate : 0, {9600, 19200, 38400, 57600, 115200});
    const std::atomic<bool> cancel{false};
    const FindOutcome outcome = FindRadio(*this, ports, rates, cancel);
    if (outcome.kind != FindOutcome::Kind::Found && !anyPortOpened_) {
        // Nothing could be asked: the port's fault, not the radio's.
        console_.Err("error: " + (options_.port != 0 ? PortName() : std::string("no listed port")) +
                     " cannot be opened (no such port, or another program is using it)\n");
        return ExitCode::PortNotOpened;
    }
    if (outcome.kind != FindOutcome::Kind::Found) {
        console_.Err("error: no radio answered on any listed port at any rate\n");
        return ExitCode::NoAnswer;
    }
    options_.port = outcome.port;
    options_.rate = outcome.rate;
    ExitCode code = ExitCode::Success;
    if (!Step(&RadioActions::ExitConfigMode, "disconnect", code)) return code;
    console_.Out("found: COM" + std::to_string(outcome.port) + ", " + std::to_string(outcome.rate) + "\n");
    return ExitCode::Success;
}

ExitCode Workshop::Run() {
    switch (options_.action) {
    case CliAction::Read:
        return Read();
    case CliAction::Write:
        return WriteProfile();
    case CliAction::Firmware:
        return Firmware();
    case CliAction::Find:
        return Find();
    default:
        return ExitCode::Usage;
    }
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
        console.Out(UsageText());
        return static_cast<int>(ExitCode::Success);
    }
    std::unique_ptr<TrafficLog> log = StartLog(console);
    ExitCode code;
    {
        Workshop workshop(options, console, log.get());
        if (log)
            log->Note("command line: " + [&] {
                std::string all;
                for (const std::string& a : args) all += (all.empty() ? "" : " ") + a;
                return all;
            }());
        code = workshop.Run();
        if (log) log->Note("exit code " + std::to_string(static_cast<int>(code)));
    }
    return static_cast<int>(code);
}

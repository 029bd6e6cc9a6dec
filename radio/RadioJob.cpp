#include "radio/RadioJob.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "radio/CommandSet.h"
#include "radio/Parameters.h"

namespace {

// One command of a Write: the row and channel it sets, and its text.
struct Setting {
    const Parameter* row;
    int channel;
    std::string command;
};

std::vector<Setting> SettingsToSend(const RadioSettings& settings) {
    std::vector<Setting> commands;
    for (const Parameter* row : WriteOrder()) {
        for (int i = 1; i <= row->Channels(); ++i) {
            const int channel = row->kind == ParameterKind::Frequencies ? i : 0;
            const std::string command = row->Setting(channel, row->wire(*row, settings, channel));
            if (!command.empty()) commands.push_back({row, channel, command});
        }
    }
    return commands;
}

// The job's side of the line: every command goes through here, so that the
// cancel is looked at before each, the progress counted, and the cause of a
// failure known from the last command and its reply.
class Sequence : public IReadContext {
public:
    Sequence(IRadioLine& line, const std::atomic<bool>& cancel, IJobProgress* progress, RadioSettings& settings)
        : line_(line), cancel_(cancel), progress_(progress), settings_(settings) {}

    void SetTotal(int total) { total_ = total; }
    int Sent() const { return sent_; }
    bool WasCancelled() const { return cancelled_; }

    // IReadContext
    bool Ask(const std::string& query) override { return Send(query, nullptr); }
    std::string Line() const override { return line_.Exchange().ReplyLine(); }
    bool ReplyContains(const char* words) const override { return line_.Exchange().ReplyContains(words); }
    void Pause(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    RadioSettings& Settings() override { return settings_; }

    // A command whose reply must hold `expected` ("OK" for a setting).
    bool Send(const std::string& command, const char* expected) {
        if (cancel_.load()) cancelled_ = true;
        if (cancelled_) return false;
        ++sent_;
        if (progress_ != nullptr) progress_->Step(sent_, total_);
        last_ = command;
        expected_ = expected;
        answered_ = line_.Exchange().SendCommand(command.c_str());
        if (answered_)
            unansweredSince_.clear();
        else if (unansweredSince_.empty())
            unansweredSince_ = command;
        return answered_ && (expected == nullptr || line_.Exchange().ReplyContains(expected));
    }

    // A command sent whatever the cancel says (leaving configuration mode).
    void SendRegardless(const char* command) { line_.Exchange().SendCommand(command); }

    // Why the last command failed.
    Outcome Failure() const {
        Outcome o;
        if (cancelled_) {
            o.kind = OutcomeKind::Cancelled;
        } else if (!answered_) {
            // A Read goes on past a command the radio did not answer (the link
            // rate's rule): the radio fell silent at the first of them.
            o = ReplyOutcome(line_.Lost() ? OutcomeKind::PortLost : OutcomeKind::NoAnswer, 0, 0, unansweredSince_, "");
        } else {
            const OutcomeKind kind = expected_ != nullptr && std::string(expected_) == "OK"
                                         ? OutcomeKind::ValueRefused
                                         : OutcomeKind::UnexpectedAnswer;
            o = ReplyOutcome(kind, 0, 0, last_, Line());
        }
        return o;
    }

private:
    IRadioLine& line_;
    const std::atomic<bool>& cancel_;
    IJobProgress* progress_;
    RadioSettings& settings_;
    int sent_ = 0;
    int total_ = 0;
    bool cancelled_ = false;
    std::string last_;
    // The first of the commands gone unanswered since the last answer.
    std::string unansweredSince_;
    const char* expected_ = nullptr;
    bool answered_ = true;
};

Outcome ModeCommand(Sequence& s, const JobRequest& request, const std::atomic<bool>& cancel) {
    const bool connect = request.kind == JobKind::Connect;
    s.SetTotal(1);
    const bool ok = s.Send(connect ? CommandSet::kEnterConfig : CommandSet::kExitConfig,
                           connect ? CommandSet::kEnterConfigReply : CommandSet::kExitConfigReply);
    Outcome o = ok ? Outcome() : s.Failure();
    o.total = 1;
    if (s.WasCancelled()) return o;
    // Cancelled while the radio was asked: it may be in configuration mode
    // now, and is taken out again.
    if (connect && cancel.load()) {
        s.SendRegardless(CommandSet::kExitConfig);
        o = Outcome();
        o.kind = OutcomeKind::Cancelled;
        o.total = 1;
        return o;
    }
    o.done = ok ? 1 : 0;
    return o;
}

Outcome Read(Sequence& s) {
    s.SetTotal(ReadCommandCount());
    bool ok = true;
    for (const Parameter* row : ReadOrder()) {
        ok = row->read(*row, s, ok);
        if (s.WasCancelled()) break;
    }
    Outcome o = s.WasCancelled() || !ok ? s.Failure() : Outcome();
    o.done = s.Sent();
    o.total = ReadCommandCount();
    return o;
}

Outcome Write(Sequence& s, const JobRequest& request, bool verify) {
    const std::vector<Setting> commands = SettingsToSend(request.settings);
    const int count = static_cast<int>(commands.size());
    s.SetTotal(verify ? 2 * count : count);
    int taken = 0;
    // A Write's outcome counts the settings the radio took, of all it had.
    const auto failed = [&] {
        Outcome o = s.Failure();
        o.done = taken;
        o.total = count;
        return o;
    };
    for (const Setting& setting : commands) {
        if (!s.Send(setting.command, "OK")) return failed();
        ++taken;
    }
    Outcome o;
    o.done = taken;
    o.total = count;
    if (!verify) return o;
    for (const Setting& setting : commands) {
        const Parameter& row = *setting.row;
        if (!s.Ask(row.Query(setting.channel))) return failed();
        const std::string written = row.shown(row, request.settings, setting.channel);
        const std::string read = row.readBack(row, request.settings, setting.channel, s.Line());
        if (!SameValue(row.verify, written, read))
            o.mismatches.push_back({row.NameOf(setting.channel, request.language), written, read});
    }
    if (!o.mismatches.empty()) o.kind = OutcomeKind::VerifyMismatch;
    return o;
}

}  // namespace

int WriteCommandCount(const RadioSettings& settings) { return static_cast<int>(SettingsToSend(settings).size()); }

OutcomeAction ActionOf(JobKind kind) {
    switch (kind) {
    case JobKind::Connect:
        return OutcomeAction::Connect;
    case JobKind::Disconnect:
        return OutcomeAction::Disconnect;
    case JobKind::Read:
        return OutcomeAction::Read;
    case JobKind::Write:
        return OutcomeAction::Write;
    case JobKind::WriteAndVerify:
        return OutcomeAction::WriteAndVerify;
    }
    return OutcomeAction::None;
}

std::string JobProgressText(JobKind kind, int command, int total, bool cancelling, Language language) {
    const bool chinese = language == Language::Chinese;
    if (cancelling) return chinese ? "正在取消..." : "Cancelling...";
    const char* verb = "";
    switch (kind) {
    case JobKind::Connect:
        verb = chinese ? "连接中" : "Connecting";
        break;
    case JobKind::Disconnect:
        verb = chinese ? "断开中" : "Disconnecting";
        break;
    case JobKind::Read:
        verb = chinese ? "读取中" : "Reading";
        break;
    case JobKind::Write:
        verb = chinese ? "写入中" : "Writing";
        break;
    case JobKind::WriteAndVerify:
        // The second half of its commands reads the settings back.
        verb = command * 2 > total ? (chinese ? "校验中" : "Verifying") : (chinese ? "写入中" : "Writing");
        break;
    }
    if (total <= 0) return verb;
    return std::string(verb) + " " + std::to_string(command) + "/" + std::to_string(total);
}

JobResult RunRadioJob(const JobRequest& request, IRadioLine& line, const std::atomic<bool>& cancel,
                      IJobProgress* progress) {
    JobResult result;
    result.settings = request.settings;
    Outcome& o = result.outcome;
    if (cancel.load()) {
        o.kind = OutcomeKind::Cancelled;
    } else {
        o = line.Open(request.port, request.rate);
    }
    if (o.Succeeded()) {
        Sequence s(line, cancel, progress, result.settings);
        switch (request.kind) {
        case JobKind::Connect:
        case JobKind::Disconnect:
            o = ModeCommand(s, request, cancel);
            break;
        case JobKind::Read:
            o = Read(s);
            break;
        case JobKind::Write:
        case JobKind::WriteAndVerify:
            o = Write(s, request, request.kind == JobKind::WriteAndVerify);
            break;
        }
    }
    o.action = ActionOf(request.kind);
    o.port = request.port;
    o.rate = request.rate;
    return result;
}

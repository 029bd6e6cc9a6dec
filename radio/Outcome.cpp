#include "radio/Outcome.h"

#include <cstdio>

namespace {

struct Pair {
    const char* english;
    const char* chinese;
    const char* In(Language language) const { return language == Language::Chinese ? chinese : english; }
};

// What each kind says, and the one next step a technician can take. %P is
// the port, %R the rate, %C the command, %A the reply, %E the system error,
// %D the detail, %N and %T the commands done and in all.
struct KindText {
    OutcomeKind kind;
    const char* word;
    Pair cause;
    Pair next;
    const char* nextOnCommandLine;  // English only; nullptr: as in the window
};

const KindText kTexts[] = {
    {OutcomeKind::Success, "success", {"", ""}, {"", ""}, nullptr},
    {OutcomeKind::PortAbsent,
     "port-absent",
     {"%P is not there", "%P 不存在"},
     {"plug the adapter in, or choose its port", "请插好串口适配器，或选择它的端口"},
     "plug the adapter in, or give its port with --port"},
    {OutcomeKind::PortInUse,
     "port-in-use",
     {"another program is using %P", "%P 正被其他程序占用"},
     {"close that program, or choose another port", "请关闭该程序，或选择其他端口"},
     "close that program, or give another port"},
    {OutcomeKind::PortRefused,
     "port-refused",
     {"%P refused to open (system error %E)", "%P 无法打开（系统错误 %E）"},
     {"check the port's driver and rights, or choose another port", "请检查端口驱动和权限，或选择其他端口"},
     "check the port's driver and rights, or give another port"},
    {OutcomeKind::NoAnswer,
     "no-answer",
     {"no answer from the radio on %P at %R baud to %C", "%P 上的电台在 %R 波特率下对 %C 没有应答"},
     {"check the cable, the power and the rate, or use Find Radio", "请检查电缆、电源和波特率，或使用“查找电台”"},
     "check the cable, the power and --rate, or run --find"},
    {OutcomeKind::PortLost,
     "port-lost",
     {"%P stopped working during %C (unplugged?)", "%P 在 %C 时停止工作（已拔出？）"},
     {"plug the adapter back in and try again", "请重新插好串口适配器后再试"},
     nullptr},
    {OutcomeKind::UnexpectedAnswer,
     "unexpected-answer",
     {"the radio answered %C with \"%A\"", "电台对 %C 的应答无法识别：“%A”"},
     {"check the rate and that a radio of this kind is connected", "请检查波特率及所连接的电台型号"},
     "check --rate and that a radio of this kind is connected"},
    {OutcomeKind::ValueRefused,
     "value-refused",
     {"the radio refused %C (it answered \"%A\")", "电台拒绝了 %C（应答“%A”）"},
     {"Read the radio to see what it takes, then write again", "请先读取电台，确认其可接受的值后重新写入"},
     "--read the radio to see what it takes, then write again"},
    {OutcomeKind::CheckFailed,
     "check-failed",
     {"%D", "%D"},
     {"correct the field; nothing was sent to the radio", "请改正该项；尚未向电台发送任何内容"},
     "correct the profile; nothing was sent to the radio"},
    {OutcomeKind::Cancelled,
     "cancelled",
     {"cancelled after %N of %T commands", "已取消（已完成 %N/%T 条命令）"},
     {"", ""},
     nullptr},
    {OutcomeKind::VerifyMismatch,
     "verify-mismatch",
     {"the radio does not hold %N of the values written", "电台没有保存 %N 项写入的值"},
     {"write again; if they still differ, the radio refuses those values",
      "请重新写入；若仍不一致，说明电台不接受这些值"},
     nullptr},
    {OutcomeKind::FileError,
     "file-error",
     {"%D cannot be read or written", "无法读写 %D"},
     {"check the file, its folder and your rights to them", "请检查该文件、所在文件夹及访问权限"},
     nullptr},
};

const KindText& TextOf(OutcomeKind kind) {
    for (const KindText& t : kTexts)
        if (t.kind == kind) return t;
    return kTexts[0];
}

std::string PortName(int port) { return port > 0 ? "COM" + std::to_string(port) : std::string("the port"); }

std::string Fill(const char* pattern, const Outcome& o, Language language) {
    const bool chinese = language == Language::Chinese;
    std::string text;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            text += *p;
            continue;
        }
        switch (*++p) {
        case 'P':
            text += o.port > 0 ? PortName(o.port) : (chinese ? "端口" : "the port");
            if (o.port > 0 && !o.portDevice.empty()) text += " (" + o.portDevice + ")";
            break;
        case 'R':
            text += std::to_string(o.rate);
            break;
        case 'C':
            text += o.command.empty() ? (chinese ? "命令" : "a command") : o.command;
            break;
        case 'A':
            text += o.reply;
            break;
        case 'E':
            text += std::to_string(o.systemError);
            break;
        case 'D':
            text += o.detail;
            break;
        case 'N':
            text +=
                std::to_string(o.kind == OutcomeKind::VerifyMismatch ? static_cast<int>(o.mismatches.size()) : o.done);
            break;
        case 'T':
            text += std::to_string(o.total);
            break;
        default:
            text += '%';
            text += *p;
            break;
        }
    }
    return text;
}

std::string Number(int n) { return std::to_string(n); }

}  // namespace

std::string PrintableText(const std::string& text, size_t limit) {
    std::string shown;
    for (unsigned char c : text) {
        if (shown.size() >= limit) {
            shown += "...";
            break;
        }
        shown += c == '\r' || c == '\n' ? ' ' : (c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
    }
    return shown;
}

Outcome PortOutcome(OutcomeKind kind, int port, int rate, uint32_t systemError) {
    Outcome o;
    o.kind = kind;
    o.port = port;
    o.rate = rate;
    o.systemError = systemError;
    return o;
}

Outcome ReplyOutcome(OutcomeKind kind, int port, int rate, const std::string& command, const std::string& reply) {
    Outcome o;
    o.kind = kind;
    o.port = port;
    o.rate = rate;
    std::string bare = command;
    while (!bare.empty() && (bare.back() == '\r' || bare.back() == '\n')) bare.pop_back();
    o.command = PrintableText(bare);
    o.reply = PrintableText(reply);
    return o;
}

const char* CauseWord(OutcomeKind kind) { return TextOf(kind).word; }

OutcomeText DescribeOutcome(const Outcome& outcome, Language language, OutcomeReader reader) {
    const bool chinese = language == Language::Chinese;
    const KindText& t = TextOf(outcome.kind);
    const char* next = reader == OutcomeReader::CommandLine && !chinese && t.nextOnCommandLine != nullptr
                           ? t.nextOnCommandLine
                           : t.next.In(language);
    OutcomeText text{Fill(t.cause.In(language), outcome, language), Fill(next, outcome, language)};
    if (outcome.kind == OutcomeKind::Cancelled) {
        const bool writing = outcome.action == OutcomeAction::Write || outcome.action == OutcomeAction::WriteAndVerify;
        if (writing) {
            text.cause = chinese
                             ? "已取消：电台已接受 " + Number(outcome.done) + "/" + Number(outcome.total) + " 项设置"
                             : "cancelled: the radio took " + Number(outcome.done) + " of " + Number(outcome.total) +
                                   " settings";
            text.next = chinese ? "需要重新写入" : "a new Write is needed";
        } else if (outcome.action == OutcomeAction::Read && reader == OutcomeReader::Window) {
            text.next = chinese ? "各项保持原样" : "the fields are as they were";
        }
    }
    if (outcome.inBootLoader && !outcome.Succeeded()) {
        text.next = chinese ? "电台停留在引导程序中，可以重新升级"
                            : "the radio waits in its boot loader: run the download again";
    }
    return text;
}

std::string ComposeResultText(const std::string& caption, bool success, Language language) {
    if (language == Language::Chinese) return caption + (success ? "成功" : "失败");
    return caption + (success ? " Success" : " Failure");
}

const char* ActionName(OutcomeAction action) {
    switch (action) {
    case OutcomeAction::Connect:
        return "Connect";
    case OutcomeAction::Disconnect:
        return "Disconnect";
    case OutcomeAction::Read:
        return "Read";
    case OutcomeAction::Write:
        return "Write";
    case OutcomeAction::WriteAndVerify:
        return "Write and Verify";
    case OutcomeAction::Firmware:
        return "Firmware Update";
    case OutcomeAction::Import:
        return "Import Config";
    case OutcomeAction::Export:
        return "Export Config";
    case OutcomeAction::Find:
        return "Find Radio";
    case OutcomeAction::None:
        break;
    }
    return "action";
}

std::string OutcomeLogLine(const Outcome& outcome) {
    std::string line = std::string("outcome: ") + ActionName(outcome.action) + ": " + CauseWord(outcome.kind);
    if (outcome.Succeeded()) return line;
    const OutcomeText text = DescribeOutcome(outcome, Language::English);
    if (!text.cause.empty()) line += ": " + text.cause;
    return line;
}

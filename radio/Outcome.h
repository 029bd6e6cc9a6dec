#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "radio/RadioSettings.h"
#include "radio/WriteVerify.h"

// How an action with the radio ended, and why: the one value the window's
// strip, the traffic log, the command line's exit code and its JSON all read.
// Decided where the cause is known (the port's system error, the exchange,
// the reply), never rebuilt from flags afterwards.
enum class OutcomeKind {
    Success,
    PortAbsent,        // no such port (an adapter unplugged, a wrong number)
    PortInUse,         // another program (or another copy of this one) has it
    PortRefused,       // it opens, but refuses access or the line's settings
    NoAnswer,          // no whole reply to `command` within its bound
    PortLost,          // the port stopped working during the action (removed)
    UnexpectedAnswer,  // a reply that is not the answer to `command`
    ValueRefused,      // the radio answered a setting without "OK"
    CheckFailed,       // a check stopped the action before anything was sent
    Cancelled,         // the user stopped it
    VerifyMismatch,    // written and answered, but the radio does not hold it all
    FileError,         // a profile or image that cannot be read or written
};

// What the outcome is of.
enum class OutcomeAction { None, Connect, Disconnect, Read, Write, WriteAndVerify, Firmware, Import, Export, Find };

// The longest reply an outcome keeps, in characters.
constexpr size_t kOutcomeReplyLength = 60;

struct Outcome {
    OutcomeKind kind = OutcomeKind::Success;
    OutcomeAction action = OutcomeAction::None;
    int port = 0;              // the COM port, 0 when none was opened
    std::string portDevice;    // the device behind it as Windows names it, for a reader to set; empty: unknown
    int rate = 0;              // the rate used
    std::string command;       // the command that failed, printable, without its "\r"
    std::string reply;         // what the radio answered to it, printable and cut short
    uint32_t systemError = 0;  // the system's error code for a port failure, 0 when none
    std::string detail;        // a failed check's messages; a file's path
    std::vector<VerifyMismatch> mismatches;
    // How many commands were sent, the failed one included (a Write: the
    // settings the radio took; a download: its pages), and how many the
    // action had in all.
    int done = 0;
    int total = 0;
    // A firmware download had entered the boot loader when it failed.
    bool inBootLoader = false;

    bool Succeeded() const { return kind == OutcomeKind::Success; }
};

// A text from the radio made safe to show: every byte outside printable
// ASCII becomes '.', carriage returns and line feeds a blank, and anything
// past `limit` characters is cut and marked with "...".
std::string PrintableText(const std::string& text, size_t limit = kOutcomeReplyLength);

// Outcomes made at the places that know the cause.
Outcome PortOutcome(OutcomeKind kind, int port, int rate, uint32_t systemError);
Outcome ReplyOutcome(OutcomeKind kind, int port, int rate, const std::string& command, const std::string& reply);

// A word per kind for scripts ("success", "no-answer", ...): stable, never translated.
const char* CauseWord(OutcomeKind kind);

// What the strip, a message and the command line say of an outcome: the
// cause (with the port, rate, command or reply it names) and one next step.
struct OutcomeText {
    std::string cause;
    std::string next;
};
// The window names its own menu items and boxes in the next step, the
// command line its options.
enum class OutcomeReader { Window, CommandLine };
OutcomeText DescribeOutcome(const Outcome& outcome, Language language, OutcomeReader reader = OutcomeReader::Window);

// The status text of an action: its caption followed by " Success" or
// " Failure", or in Chinese by "成功" or "失败" (no blank).
std::string ComposeResultText(const std::string& caption, bool success, Language language);

// The action's name in English ("Read", "Write and Verify").
const char* ActionName(OutcomeAction action);

// The outcome as one line of the traffic log, in English: the action, the
// cause word, the cause and the command and reply it names.
std::string OutcomeLogLine(const Outcome& outcome);

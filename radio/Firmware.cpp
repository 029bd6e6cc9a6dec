#include "radio/Firmware.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

#include "serial/TrafficLog.h"
#include "platform/Files.h"

namespace Firmware {
namespace {

// Waits at least `ms`: the radio needs the whole pause, but a plain sleep
// overshoots by up to a millisecond under Wine, about 1 % of a download. So
// the pause sleeps one millisecond short and yields through the rest.
void Pause(int ms) {
    if (ms <= 0) return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    if (ms > 1) std::this_thread::sleep_for(std::chrono::milliseconds(ms - 1));
    while (std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
}

// Reads one page; false when fewer than 256 bytes are left.
bool ReadPage(std::ifstream& file, unsigned char* page) {
    file.read(reinterpret_cast<char*>(page), kPageSize);
    return file.gcount() == static_cast<std::streamsize>(kPageSize);
}

// The file's length; stream offsets are 64-bit on both targets, so images
// over 2 GiB are measured right.
bool FileLength(std::ifstream& file, uint64_t& length) {
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    file.seekg(0, std::ios::beg);
    if (!file || end < 0) return false;
    length = static_cast<uint64_t>(end);
    return true;
}

}  // namespace

uint64_t PageCount(uint64_t fileLength) {
    if (!IsLongEnough(fileLength)) return 0;
    return 1 + (fileLength - kSecondPageOffset) / kPageSize;
}

int Progress(uint64_t bytesSent, uint64_t fileLength) {
    if (fileLength <= kSkipped) return 0;
    return static_cast<int>(bytesSent * 10000 / (fileLength - kSkipped));
}

uint64_t SecondsLeft(int value, uint64_t elapsedMs) {
    if (value <= 0 || value >= 10000) return 0;
    return (elapsedMs * static_cast<uint64_t>(10000 - value) / static_cast<uint64_t>(value) + 999) / 1000;
}

std::string ProgressText(int value, uint64_t elapsedMs, Language language) {
    value = value < 0 ? 0 : (value > 10000 ? 10000 : value);
    const bool chinese = language == Language::Chinese;
    std::string text = std::to_string(value / 100) + "%";
    const uint64_t left = SecondsLeft(value, elapsedMs);
    if (left == 0) return text;
    char clock[32];
    std::snprintf(clock, sizeof clock, "%llu:%02llu", static_cast<unsigned long long>(left / 60),
                  static_cast<unsigned long long>(left % 60));
    return text + (chinese ? "，剩余 " : ", ") + clock + (chinese ? "" : " left");
}

uint16_t PageChecksum(const unsigned char* page) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < kPageSize; ++i) sum += page[i];
    return static_cast<uint16_t>(sum);  // at most 65280: always fits
}

void BuildBlock(const unsigned char* page, unsigned char* block) {
    std::memcpy(block, page, kPageSize);
    uint16_t sum = PageChecksum(page);
    block[kPageSize] = static_cast<unsigned char>(sum >> 8);
    block[kPageSize + 1] = static_cast<unsigned char>(sum & 0xFF);
}

Download::Download(IFirmwareChooser& chooser, IFirmwareEvents& events, IRadioLine& line, int port)
    : chooser(chooser), events(events), line(line), port(port) {}

bool Download::Exchange(const char* command, const char* expected) {
    lastCommand = command;
    lastAnswered = line.Exchange().SendCommand(command);
    return lastAnswered && line.Exchange().ReplyContains(expected);
}

bool Download::SendPage(const unsigned char* page) {
    if (!Exchange(kWritePage, kWritePageReply)) return false;
    unsigned char block[kBlockSize];
    BuildBlock(page, block);
    ++pagesSent;
    if (log) log->ExpectPage();
    RadioExchange& exchange = line.Exchange();
    lastCommand = "page " + std::to_string(pagesSent);
    lastAnswered = exchange.SendAndWait(block, kBlockSize);
    if (log) log->Page(pagesSent, kBlockSize, PageChecksum(page), lastAnswered ? exchange.ReplyLine() : std::string());
    return lastAnswered && exchange.ReplyContains(kPageReply);
}

::Outcome Download::Failure() const {
    const OutcomeKind kind =
        !lastAnswered ? (line.Lost() ? OutcomeKind::PortLost : OutcomeKind::NoAnswer) : OutcomeKind::UnexpectedAnswer;
    return ReplyOutcome(kind, 0, 0, lastCommand, lastAnswered ? line.Exchange().ReplyLine() : std::string());
}

::Outcome Download::FileFailure() const {
    ::Outcome o;
    o.kind = OutcomeKind::FileError;
    o.detail = path;
    return o;
}

::Outcome Download::SendPages(std::ifstream& file, uint64_t length) {
    ::Outcome cancelled;
    cancelled.kind = OutcomeKind::Cancelled;
    if (CancelRequested()) return cancelled;
    if (!Exchange(kBootStart, kBootStartReply)) return Failure();
    // From here on the radio runs its boot loader until a download ends.
    inBootLoader = true;
    unsigned char page[kPageSize];
    if (CancelRequested()) return cancelled;
    if (!ReadPage(file, page)) return FileFailure();
    if (!SendPage(page)) return Failure();
    file.seekg(static_cast<std::streamoff>(kSecondPageOffset));
    if (!file) return FileFailure();
    uint64_t sent = kPageSize;
    while (ReadPage(file, page)) {
        // The owner may stop a download that runs for minutes: looked at
        // before every page, so it ends within one page's exchanges.
        if (CancelRequested()) return cancelled;
        if (!SendPage(page)) return Failure();
        sent += kPageSize;
        events.Progress(Progress(sent, length));
        Pause(pagePauseMs);
    }
    line.Exchange().Send(reinterpret_cast<const unsigned char*>(kFinish), static_cast<uint32_t>(std::strlen(kFinish)));
    Pause(finishPauseMs);
    return ::Outcome();
}

bool ChooseImage(IFirmwareChooser& chooser, IImageCheck* check, int pagePauseMs, int finishPauseMs, std::string& path) {
    if (!chooser.ChooseFirmwareFile(path)) return false;
    if (check == nullptr) return true;
    const ImageFacts facts = InspectImageFile(path, pagePauseMs, finishPauseMs);
    if (!facts.Valid()) {
        check->RefuseImage(path, facts);
        return false;
    }
    return check->ConfirmImage(path, facts);
}

void Download::downloadFirmware() {
    path.clear();
    if (!ChooseImage(chooser, check, pagePauseMs, finishPauseMs, path)) return;
    pagesSent = 0;
    inBootLoader = false;
    events.Busy(true);
    ::Outcome outcome;
    {
        std::ifstream file(Text::PathOf(path), std::ios::binary);
        uint64_t length = 0;
        if (!file || !FileLength(file, length) || !IsLongEnough(length)) {
            outcome = FileFailure();
        } else {
            outcome = line.Open(port, kFirmwareBaudRate);
            if (outcome.Succeeded()) outcome = SendPages(file, length);
            // The pages of the image, which `done` counts against.
            const uint64_t pages = PageCount(length);
            outcome.total = pages > INT_MAX ? INT_MAX : static_cast<int>(pages);
        }
    }
    outcome.action = OutcomeAction::Firmware;
    outcome.port = port;
    outcome.rate = kFirmwareBaudRate;
    outcome.inBootLoader = inBootLoader;
    outcome.done = static_cast<int>(pagesSent);
    events.Ended(outcome);
    events.Busy(false);
}

void Download::ReportFailure() {
    ::Outcome outcome = FileFailure();
    outcome.action = OutcomeAction::Firmware;
    outcome.port = port;
    outcome.rate = kFirmwareBaudRate;
    outcome.inBootLoader = inBootLoader;
    events.Ended(outcome);
    events.Busy(false);
}

}  // namespace Firmware

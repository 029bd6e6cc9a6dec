#pragma once
#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>

#include "radio/FirmwareImage.h"
#include "radio/Outcome.h"
#include "radio/RadioLine.h"
#include "serial/PortSelection.h"

class TrafficLog;

// A firmware image (*.dwn) goes to the radio's boot loader page by page:
// the first 256 bytes, then, skipping to offset 4096, every whole page of
// 256 bytes; a partial last page is not sent. Nothing in the file is
// interpreted. Each page travels as a block of 258 bytes: the page and the
// 16-bit sum of its bytes, high byte first.
namespace Firmware {

constexpr uint32_t kPageSize = 256;
constexpr uint32_t kBlockSize = kPageSize + 2;
constexpr uint64_t kSecondPageOffset = 4096;
constexpr uint64_t kSkipped = kSecondPageOffset - kPageSize;  // 3840 bytes never sent

// Boot loader dialogue: texts sent without any terminator.
constexpr const char* kBootStart = "boot_start";
constexpr const char* kBootStartReply = "boot start";
constexpr const char* kWritePage = "write page";
constexpr const char* kWritePageReply = "get page";
constexpr const char* kPageReply = "write OK";
constexpr const char* kFinish = "ISP finish";

// Files of this length or less are refused before anything is sent.
inline bool IsLongEnough(uint64_t fileLength) { return fileLength > kSecondPageOffset; }
// Pages a file of that length sends: 1 + floor((length - 4096) / 256).
uint64_t PageCount(uint64_t fileLength);
// 0 to 10000: bytes sent in whole pages x 10000 / (length - 3840), in 64-bit
// arithmetic so that no file length wraps it.
int Progress(uint64_t bytesSent, uint64_t fileLength);
uint16_t PageChecksum(const unsigned char* page);
// The seconds left at the pace so far, rounded up: `value` of 10000 done
// after `elapsedMs`; 0 before the first page and at the end.
uint64_t SecondsLeft(int value, uint64_t elapsedMs);
// What the window's bar says: "37%, 1:12 left" ("37%，剩余 1:12").
std::string ProgressText(int value, uint64_t elapsedMs, Language language);
// The 258-byte block of one page.
void BuildBlock(const unsigned char* page, unsigned char* block);

// What the download tells the window: busy on and off, progress after each
// page, and how it ended (a download stopped by its owner: cancelled); busy
// off follows. Called on the worker thread; the window handles each before
// the call returns. The port is closed by whoever owns the line, after Ended.
class IFirmwareEvents {
public:
    virtual void Busy(bool on) = 0;
    virtual void Progress(int value) = 0;
    virtual void Ended(const ::Outcome& outcome) = 0;

protected:
    ~IFirmwareEvents() = default;
};

// Where the image comes from: the file dialog in the window, a path in tests.
class IFirmwareChooser {
public:
    // False when the user cancels.
    virtual bool ChooseFirmwareFile(std::string& path) = 0;

protected:
    ~IFirmwareChooser() = default;
};

// An image chosen before the download starts (by the window's own dialog, or
// on the command line): the choice is that path.
class GivenImage : public IFirmwareChooser {
public:
    explicit GivenImage(std::string path) : path_(std::move(path)) {}
    bool ChooseFirmwareFile(std::string& path) override {
        path = path_;
        return true;
    }

private:
    std::string path_;
};

// Shows what is known of the chosen image before the boot loader is entered:
// a file that cannot be an image is refused, a valid one must be confirmed.
class IImageCheck {
public:
    // True when the user wants the download to start.
    virtual bool ConfirmImage(const std::string& path, const ImageFacts& facts) = 0;
    virtual void RefuseImage(const std::string& path, const ImageFacts& facts) = 0;

protected:
    ~IImageCheck() = default;
};

// How long a download pauses after each page and after "ISP finish".
constexpr int kPagePauseMs = 50;
constexpr int kFinishPauseMs = 100;

// The image a download is to send: the chooser's file, and when `check` is
// set, inspected with the given pauses, refused when it cannot be an image
// and otherwise put to the user. True when the download may start with `path`.
bool ChooseImage(IFirmwareChooser& chooser, IImageCheck* check, int pagePauseMs, int finishPauseMs, std::string& path);

// The download itself, run on the firmware worker thread.
class Download {
public:
    // Over the line, on COM `port` at the boot loader's rate (115200).
    Download(IFirmwareChooser& chooser, IFirmwareEvents& events, IRadioLine& line, int port);
    // The whole dialogue; a cancelled choice does nothing at all. The first
    // exchange that fails ends it: no "ISP finish", no retry; its outcome
    // says whether the boot loader had been entered (the radio then waits in
    // it for a download). When `cancel` is set, the download stops before the
    // next page (or before "boot_start"): no "ISP finish", nothing more to
    // the radio, and the outcome is cancelled.
    void downloadFirmware();

    // For a download that broke off without reporting its end (an exception
    // the worker caught): a failure, then busy off, so that the window is
    // never left busy.
    void ReportFailure();

    // How long the download pauses after each page and after "ISP finish".
    int pagePauseMs = kPagePauseMs;
    int finishPauseMs = kFinishPauseMs;
    // Set by the owner (the worker's cancelRequested) to stop a running
    // download; read at every page. None: the download cannot be cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // When set, the chosen file is inspected first: refused or not confirmed,
    // the download ends there, before busy and before the port is opened.
    IImageCheck* check = nullptr;
    // When set, each page is logged as one line instead of its raw bytes.
    TrafficLog* log = nullptr;

private:
    bool CancelRequested() const { return cancel && cancel->load(); }
    ::Outcome SendPages(std::ifstream& file, uint64_t length);
    bool SendPage(const unsigned char* page);
    bool Exchange(const char* command, const char* expected);
    // Why the last exchange failed.
    ::Outcome Failure() const;
    // The image could not be read to its end.
    ::Outcome FileFailure() const;

    IFirmwareChooser& chooser;
    IFirmwareEvents& events;
    IRadioLine& line;
    int port;
    uint64_t pagesSent = 0;
    bool inBootLoader = false;
    std::string path;  // the image chosen
    std::string lastCommand;
    bool lastAnswered = true;
};

}  // namespace Firmware

#pragma once
#include <windows.h>

#include <mutex>
#include <optional>

#include "radio/Firmware.h"
#include "radio/RadioLink.h"

// Where the download leaves its outcome for the window thread to take: the
// window's message then only says it is there, so a message from anywhere
// else carries nothing to act on. Any thread.
class OutcomeSlot {
public:
    void Put(const Outcome& outcome);
    // False when there is none (taken already, or never put).
    bool Take(Outcome& outcome);

private:
    std::mutex lock_;
    std::optional<Outcome> outcome_;
};

// The download's events as the window's own message, sent synchronously: the
// worker waits until the window thread has handled each one. A window that is
// already destroyed answers nothing and the send returns at once.
class WindowFirmwareEvents : public Firmware::IFirmwareEvents {
public:
    // `link` is closed before the window is told the outcome, on the worker,
    // so that the outcome shows when the port is free; the outcome goes into
    // `slot` before the window is told.
    WindowFirmwareEvents(HWND window, RadioLink* link, OutcomeSlot* slot) : window_(window), link_(link), slot_(slot) {}
    void Busy(bool on) override;
    void Progress(int value) override;
    void Ended(const Outcome& outcome) override;

private:
    HWND window_;
    RadioLink* link_;
    OutcomeSlot* slot_;
};

// The open-file dialog of the download, owned by the window: "*.dwn" files,
// starting in the program's folder; the file must exist.
class FirmwareFileDialog : public Firmware::IFirmwareChooser {
public:
    FirmwareFileDialog(HWND owner, bool chinese) : owner_(owner), chinese_(chinese) {}
    bool ChooseFirmwareFile(std::string& path) override;

private:
    HWND owner_;
    bool chinese_;
};

// The image's facts and the boot loader warning in a Yes/No box owned by the
// window (Yes starts the download); an image that cannot be valid in an
// error box.
class FirmwareImageBox : public Firmware::IImageCheck {
public:
    FirmwareImageBox(HWND owner, bool chinese) : owner_(owner), chinese_(chinese) {}
    bool ConfirmImage(const std::string& path, const Firmware::ImageFacts& facts) override;
    void RefuseImage(const std::string& path, const Firmware::ImageFacts& facts) override;

private:
    HWND owner_;
    bool chinese_;
};

// Answers the messages other threads have sent to the calling thread's windows,
// and takes no posted message from the queue. The window passes it to
// FirmwareWorker::Stop, so that a download waiting for the window to handle
// its event can end while the window thread waits for the worker.
void AnswerSentMessages();

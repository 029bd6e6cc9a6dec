#pragma once
#include <windows.h>

#include "radio/Firmware.h"

// The download's events as the window's own message, sent synchronously: the
// worker waits until the window thread has handled each one. A window that is
// already destroyed answers nothing and the send returns at once.
class WindowFirmwareEvents : public Firmware::IFirmwareEvents {
public:
    // `outcomeControl` goes with the outcome kinds: the control whose caption
    // names the download in the status strip.
    WindowFirmwareEvents(HWND window, WPARAM outcomeControl) : window_(window), control_(outcomeControl) {}
    void Busy(bool on) override;
    void Progress(int value) override;
    void Outcome(bool success) override;
    // A download stopped by the window (as it closes) is shown as a failure:
    // the outcome display is also what closes the port.
    void Cancelled() override;

private:
    HWND window_;
    WPARAM control_;
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

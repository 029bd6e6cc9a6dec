#pragma once
#include <windows.h>

#include "radio/Firmware.h"

// The download's events as the window's own message, sent synchronously: the
// worker waits until the window thread has handled each one.
class WindowFirmwareEvents : public Firmware::IFirmwareEvents {
public:
    // `outcomeControl` goes with the outcome kinds: the control whose caption
    // names the download in the status strip.
    WindowFirmwareEvents(HWND window, WPARAM outcomeControl) : window_(window), control_(outcomeControl) {}
    void Busy(bool on) override;
    void Progress(int value) override;
    void Outcome(bool success) override;

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

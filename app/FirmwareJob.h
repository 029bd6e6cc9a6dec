#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/FirmwareWindow.h"
#include "radio/Firmware.h"
#include "radio/FirmwareWorker.h"
#include "radio/RadioLink.h"
#include "serial/TrafficLog.h"

// The main window's firmware download: the image is chosen and confirmed on
// the window thread (Choose), the download runs on the worker thread over
// the window's link and reports to the window through its own message
// (kWmAppUiEvent, sent: the worker waits for each to be handled).
class FirmwareJob {
public:
    FirmwareJob(HWND window, RadioLink& link);
    ~FirmwareJob() { Cancel(); }
    FirmwareJob(const FirmwareJob&) = delete;
    FirmwareJob& operator=(const FirmwareJob&) = delete;

    void SetTrafficLog(TrafficLog* log) { log_ = log; }
    // The worker has a download waiting or running, or is gone.
    bool IsPendingOrGone() const { return worker_ == nullptr || worker_->firmwarePending.load(); }
    // Shows the file dialog and the image's question (owned by the window);
    // true and the image's path when one was chosen and confirmed.
    bool Choose(bool chinese, std::string& path) const;
    // Hands the confirmed image to the worker, which downloads it over COM
    // `port` at the boot loader's rate.
    void Launch(const std::string& path, int port);
    // Asks a running download to stop (its writes are dropped, so the
    // exchange in progress fails at once) and ends the worker, answering the
    // messages it sends meanwhile: nothing waits on a thread that waits on it.
    void Cancel();
    // The last download's outcome, once the window has been told of it.
    bool TakeOutcome(Outcome& outcome) { return outcome_.Take(outcome); }

private:
    void Run();

    HWND window_;
    RadioLink& link_;
    TrafficLog* log_ = nullptr;
    // Written on the window thread, read by the worker after firmwarePending.
    std::string path_;
    int port_ = 0;
    OutcomeSlot outcome_;
    std::unique_ptr<FirmwareWorker> worker_;
};

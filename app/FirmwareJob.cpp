#include "app/FirmwareJob.h"

#include "app/FirmwareWindow.h"

FirmwareJob::FirmwareJob(HWND window, RadioLink& link) : window_(window), link_(link) {
    worker_ = std::make_unique<FirmwareWorker>([this] { Run(); });
    worker_->Start();
}

bool FirmwareJob::Choose(bool chinese, std::string& path) const {
    FirmwareFileDialog chooser(window_, chinese);
    FirmwareImageBox check(window_, chinese);
    return Firmware::ChooseImage(chooser, &check, Firmware::kPagePauseMs, Firmware::kFinishPauseMs, path);
}

void FirmwareJob::Launch(const std::string& path, int port) {
    if (worker_ == nullptr) return;
    path_ = path;
    port_ = port;
    link_.DropWrites(false);
    worker_->firmwarePending = true;  // publishes path_ to the worker
}

void FirmwareJob::Run() {
    Firmware::GivenImage chooser(path_);  // the image the window chose and confirmed
    WindowFirmwareEvents events(window_, &link_, &outcome_);
    Firmware::Download download(chooser, events, link_, port_);
    download.cancel = &worker_->cancelRequested;
    download.log = log_;
    try {
        download.downloadFirmware();
    } catch (...) {
        // Never left busy: the outcome and busy-off still reach the window.
        download.ReportFailure();
    }
}

void FirmwareJob::Cancel() {
    if (worker_ == nullptr) return;
    link_.DropWrites(true);
    worker_->Stop(&AnswerSentMessages);
    worker_.reset();
}

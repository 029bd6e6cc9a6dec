#include "radio/FirmwareWorker.h"

#include <chrono>

FirmwareWorker::FirmwareWorker(std::function<void()> downloadFirmware, std::function<void()> reportFailure)
    : download_(std::move(downloadFirmware)), reportFailure_(std::move(reportFailure)) {}

FirmwareWorker::~FirmwareWorker() { Stop(); }

void FirmwareWorker::Start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = false;
        ended_ = false;
    }
    cancelRequested.store(false);
    thread_ = std::thread([this] { Loop(); });
}

void FirmwareWorker::Stop(const std::function<void()>& whileWaiting) {
    cancelRequested.store(true);
    {
        std::unique_lock<std::mutex> guard(lock_);
        stop_ = true;
        wake_.notify_all();
        // The download may be waiting for the caller's thread to handle an
        // event: answer while waiting instead of blocking in a join.
        while (!ended_) {
            if (whileWaiting) {
                guard.unlock();
                whileWaiting();
                guard.lock();
                wake_.wait_for(guard, std::chrono::milliseconds(kAnswerPeriodMs), [this] { return ended_; });
            } else {
                wake_.wait(guard, [this] { return ended_; });
            }
        }
    }
    if (thread_.joinable()) thread_.join();
}

void FirmwareWorker::RunDownload() {
    try {
        download_();
    } catch (...) {
        // Nothing may escape the thread, and a download that broke off must
        // not leave the window busy: report it as failed.
        try {
            if (reportFailure_) reportFailure_();
        } catch (...) {}
    }
}

void FirmwareWorker::Loop() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!stop_) {
        if (firmwarePending.load()) {
            guard.unlock();
            RunDownload();
            firmwarePending.store(false);
            guard.lock();
        }
        wake_.wait_for(guard, std::chrono::milliseconds(kPollMs), [this] { return stop_; });
    }
    ended_ = true;
    wake_.notify_all();
}

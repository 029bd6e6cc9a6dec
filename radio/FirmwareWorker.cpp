#include "radio/FirmwareWorker.h"

#include <chrono>

FirmwareWorker::FirmwareWorker(std::function<void()> downloadFirmware) : download_(std::move(downloadFirmware)) {}

FirmwareWorker::~FirmwareWorker() { Stop(); }

void FirmwareWorker::Start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = false;
    }
    thread_ = std::thread([this] { Loop(); });
}

void FirmwareWorker::Stop() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void FirmwareWorker::Loop() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!stop_) {
        if (firmwarePending.load()) {
            guard.unlock();
            try {
                download_();
            } catch (...) {
                // Nothing may escape the thread; the download has reported
                // its outcome or will be asked for again.
            }
            firmwarePending.store(false);
            guard.lock();
        }
        wake_.wait_for(guard, std::chrono::milliseconds(kPollMs), [this] { return stop_; });
    }
}

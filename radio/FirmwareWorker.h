#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The main window's worker thread: it polls `firmwarePending` every 50 ms and,
// when it is set, runs the firmware download and clears it. The window sets
// the flag on its own thread; the worker changes the window only through its
// messages. The owner stops the worker before the window it works for is
// gone, so a download never outlives its window.
class FirmwareWorker {
public:
    explicit FirmwareWorker(std::function<void()> downloadFirmware);
    ~FirmwareWorker();
    FirmwareWorker(const FirmwareWorker&) = delete;
    FirmwareWorker& operator=(const FirmwareWorker&) = delete;

    void Start();
    // Waits for a running download to end, then ends the thread.
    void Stop();

    std::atomic<bool> firmwarePending{false};
    static constexpr int kPollMs = 50;

private:
    void Loop();

    std::function<void()> download_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

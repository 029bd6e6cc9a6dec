#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The main window's worker thread: it polls `firmwarePending` every 50 ms and,
// when it is set, runs the firmware download and clears it. The window sets
// the flag on its own thread; the worker changes the window only through its
// messages, which it sends and waits for.
//
// Stopping without a deadlock: the download sends its events to the window
// and waits until the window thread has handled each, so a window thread
// that simply waited for the worker would wait for a thread that waits for
// it. Stop therefore never only waits: it first asks a running download to
// cancel (`cancelRequested`, read by the download at every page), then, until
// the thread has ended, calls `whileWaiting` every few milliseconds. The
// window passes a function that answers the messages sent to its thread
// (AnswerSentMessages), so the download's last events are handled and the
// worker ends within about one page's exchanges.
//
// Order of destruction: the worker uses the window's port and exchange, so the
// owner declares it after them (it is stopped first). The destructor's Stop
// answers nothing; an owner whose window thread sends to the worker's window
// calls Stop with its answer function before that.
//
// An exception thrown by the download is caught at the thread's boundary and
// reported through `reportFailure` (the download's failure outcome and busy
// off), so the window is never left busy.
class FirmwareWorker {
public:
    explicit FirmwareWorker(std::function<void()> downloadFirmware, std::function<void()> reportFailure = nullptr);
    ~FirmwareWorker();
    FirmwareWorker(const FirmwareWorker&) = delete;
    FirmwareWorker& operator=(const FirmwareWorker&) = delete;

    // Starts the thread (again after a Stop); clears a cancel request.
    void Start();
    // Asks a running download to cancel at its next page and the loop to end,
    // then waits until the thread has ended, calling `whileWaiting` (if any)
    // at least every 5 ms meanwhile. Call it from the thread that started the
    // worker, never from the download itself.
    void Stop(const std::function<void()>& whileWaiting = nullptr);

    std::atomic<bool> firmwarePending{false};
    // Set by Stop; the download reads it at every page.
    std::atomic<bool> cancelRequested{false};
    static constexpr int kPollMs = 50;
    static constexpr int kAnswerPeriodMs = 5;

private:
    void Loop();
    void RunDownload();

    std::function<void()> download_;
    std::function<void()> reportFailure_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool ended_ = true;  // the thread has left its loop (or never ran)
    std::thread thread_;
};

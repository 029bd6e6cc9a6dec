#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "radio/RadioJob.h"
#include "radio/RadioLink.h"

// The main window's radio actions off its thread: one job at a time runs on
// a thread of its own over the window's link, which it holds until it ends.
// It reaches the window only through posted kWmAppUiEvent messages: its
// progress (kUiJobProgress, at most one waiting at a time) and its end
// (kUiJobDone), once the port is closed again (which takes the line's pause),
// so that the outcome shows when the port is free for the next action. The
// window applies the result on its own thread; nothing here touches a
// control, a window or the window's settings.
class RadioJobThread : private IJobProgress {
public:
    RadioJobThread(HWND window, RadioLink& link) : window_(window), link_(link) {}
    ~RadioJobThread() { Stop(); }
    RadioJobThread(const RadioJobThread&) = delete;
    RadioJobThread& operator=(const RadioJobThread&) = delete;

    // Starts the job; false while one runs or has not been finished.
    bool Start(JobRequest request);
    // A job runs, or its end has not been taken yet (Finish).
    bool IsRunning() const { return running_; }
    // Asks the job to stop before its next command; the command in flight
    // ends within its bound. Asking twice is asking once.
    void Cancel() { cancel_.store(true); }
    bool CancelRequested() const { return cancel_.load(); }
    // After kUiJobDone: waits for the thread (it has ended or is about to),
    // makes room for the next job and hands out its result, once: false
    // when the job has not ended (a message from elsewhere, or taken already).
    bool Finish(JobResult& result);
    // Cancels and waits for the thread: the window closing. Within the bound
    // of one command and the port's pause.
    void Stop();
    // The command being sent and the number in all, for the progress.
    int Command() const { return command_.load(); }
    int Total() const { return total_.load(); }
    JobKind Kind() const { return kind_; }
    // The progress message has been handled: the next step may post again.
    void ProgressShown() { progressPosted_.store(false); }

private:
    void Step(int command, int total) override;

    HWND window_;
    RadioLink& link_;
    std::thread thread_;
    bool running_ = false;  // window thread only
    JobKind kind_ = JobKind::Read;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> progressPosted_{false};
    std::atomic<int> command_{0}, total_{0};
    std::mutex lock_;  // guards result_ and hasResult_: the job's end
    JobResult result_;
    bool hasResult_ = false;
};

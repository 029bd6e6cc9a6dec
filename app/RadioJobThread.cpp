#include "app/RadioJobThread.h"

#include <utility>

#include "app/UiEvents.h"

bool RadioJobThread::Start(JobRequest request) {
    if (running_ || thread_.joinable()) return false;
    running_ = true;
    kind_ = request.kind;
    cancel_.store(false);
    progressPosted_.store(false);
    command_.store(0);
    total_.store(0);
    {
        std::lock_guard<std::mutex> guard(lock_);
        hasResult_ = false;
    }
    thread_ = std::thread([this, request = std::move(request)] {
        JobResult result;
        try {
            result = RunRadioJob(request, link_, cancel_, this);
        } catch (...) {
            // Nothing may escape the thread: the job ends as a failure of its
            // last command rather than never.
            result.outcome.kind = OutcomeKind::NoAnswer;
            result.outcome.action = ActionOf(request.kind);
        }
        // The line's closing pause is the job thread's, not the window's.
        link_.Close();
        {
            std::lock_guard<std::mutex> guard(lock_);
            result_ = std::move(result);
            hasResult_ = true;
        }
        ::PostMessageW(window_, kWmAppUiEvent, 0, kUiJobDone);
    });
    return true;
}

void RadioJobThread::Step(int command, int total) {
    command_.store(command);
    total_.store(total);
    // One progress message waits at a time: the window reads the newest step.
    if (!progressPosted_.exchange(true)) ::PostMessageW(window_, kWmAppUiEvent, 0, kUiJobProgress);
}

bool RadioJobThread::Finish(JobResult& result) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!running_ || !hasResult_) return false;
        result = std::move(result_);
        hasResult_ = false;
    }
    if (thread_.joinable()) thread_.join();
    running_ = false;
    return true;
}

void RadioJobThread::Stop() {
    cancel_.store(true);
    if (thread_.joinable()) thread_.join();
    running_ = false;
}

#pragma once
#include <windows.h>

#include <atomic>
#include <thread>

#include "platform/UniqueHandle.h"

// Asks a window's thread, from a thread of its own, every 20 ms, whether it
// answers (WM_NULL, sent with a bound): what a user's click or Windows' "Not
// Responding" check waits for. Keeps how many were asked, how many went
// unanswered within the bound, and the longest wait.
class WindowPinger {
public:
    WindowPinger(HWND window, DWORD boundMs);
    ~WindowPinger() { Stop(); }
    WindowPinger(const WindowPinger&) = delete;
    WindowPinger& operator=(const WindowPinger&) = delete;

    // Ends the pinging; the figures are whole after it. Called on the
    // window's thread, it answers the last ping while it waits.
    void Stop();
    int Asked() const { return asked_.load(); }
    int Unanswered() const { return unanswered_.load(); }
    double LongestMs() const { return longestMs_.load(); }

private:
    UniqueHandle stop_, done_;
    std::atomic<int> asked_{0}, unanswered_{0};
    std::atomic<double> longestMs_{0};
    std::thread thread_;
};

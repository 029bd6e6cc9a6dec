#include "cli/RunCancel.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// How long a closing console waits for the run: the system ends the process
// five seconds after the event whatever the handler does.
constexpr auto kCloseWait = std::chrono::milliseconds(4500);

std::mutex gLock;
std::condition_variable gEnded;
bool gRunning = false;

BOOL WINAPI Handler(DWORD event) { return OnConsoleEvent(event) ? TRUE : FALSE; }

}  // namespace

std::atomic<bool>& RunCancelFlag() {
    static std::atomic<bool> flag{false};
    return flag;
}

ConsoleCancel::ConsoleCancel() {
    {
        std::lock_guard<std::mutex> guard(gLock);
        gRunning = true;
    }
    ::SetConsoleCtrlHandler(&Handler, TRUE);
}

ConsoleCancel::~ConsoleCancel() {
    {
        std::lock_guard<std::mutex> guard(gLock);
        gRunning = false;
    }
    gEnded.notify_all();
    ::SetConsoleCtrlHandler(&Handler, FALSE);
}

bool OnConsoleEvent(unsigned long event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        RunCancelFlag().store(true);
        return true;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
        RunCancelFlag().store(true);
        // Returning ends the process: first let the run finish.
        std::unique_lock<std::mutex> guard(gLock);
        gEnded.wait_for(guard, kCloseWait, [] { return !gRunning; });
        return true;
    }
    default:
        return false;
    }
}

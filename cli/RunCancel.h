#pragma once
#include <atomic>

// The cancel of a whole command-line run: Ctrl+C, Ctrl+Break or closing the
// console sets it, and every port's job stops between two commands, leaves
// configuration mode and reports itself cancelled; the results and the
// summary are still written.
//
// Thread: the flag is read by every port's thread; the system runs the
// console handler on a thread of its own.

// The flag every job of the run reads.
std::atomic<bool>& RunCancelFlag();

// While it lives, the console's events cancel the run. Its end says the run
// is over: a console being closed waits for that (a little under the five
// seconds the system gives) before the process ends, so that every radio has
// left configuration mode and every result is out.
class ConsoleCancel {
public:
    ConsoleCancel();
    ~ConsoleCancel();
    ConsoleCancel(const ConsoleCancel&) = delete;
    ConsoleCancel& operator=(const ConsoleCancel&) = delete;
};

// The handler's own entry point, as the system calls it: true when the
// event is taken (Ctrl+C, Ctrl+Break, close, log-off, shut-down), which sets
// the flag; the closing kinds then wait for the run's end.
bool OnConsoleEvent(unsigned long event);

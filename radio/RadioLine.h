#pragma once
#include "radio/Outcome.h"
#include "radio/RadioExchange.h"

// The line to one radio as a radio job uses it: a port to open at a rate,
// the exchange that sends a command and waits for its reply, and whether the
// port has stopped working since it opened. RadioLink is the real one (a COM
// port and its thread); the tests script one.
//
// Threads: one job at a time calls it, from the job's thread.
class IRadioLine {
public:
    // Opens the port at the rate and starts taking bytes. Success, or the
    // port's failure (absent, in use, refused) with the system's error. A
    // line that keeps a session (the command line) answers Success while
    // that port is open.
    virtual Outcome Open(int port, int rate) = 0;
    virtual RadioExchange& Exchange() = 0;
    // The port failed a read or write since it opened: the adapter was
    // removed or its driver gave up. Missing replies are then no radio's.
    virtual bool Lost() const = 0;

protected:
    ~IRadioLine() = default;
};

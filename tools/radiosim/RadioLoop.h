#pragma once

#include <signal.h>

#include <cstdint>
#include <deque>
#include <string>

#include "LinePacer.h"
#include "RadioSim.h"
#include "SimOptions.h"
#include "TranscriptFile.h"

// The simulated radio's main loop: moves bytes between the pseudo-terminal
// and the interpreter at the simulated line rate, and writes the transcript,
// the state file and the firmware image. Runs until the stop file appears,
// a signal arrives or the radio has been idle too long.
class RadioLoop {
public:
    // `sim` may be null for --raw-echo. `signalMask` is the mask to wait with,
    // in which SIGINT and SIGTERM are open; `stopSignal` is set by their handler.
    RadioLoop(const SimOptions& options, int master, RadioSim* sim, TranscriptFile& transcript,
              const sigset_t& signalMask, volatile sig_atomic_t& stopSignal);

    // Returns why it stopped ("stop file", "signal", "idle", or an error).
    std::string run();

    static int64_t now();  // monotonic nanoseconds

private:
    struct TimedByte {
        int64_t at;
        uint8_t byte;
    };

    bool readInput(int64_t now, std::string& failure);
    void feedDue(int64_t now);
    void takeReplies(int64_t receivedAt);
    bool writeDue(int64_t now, std::string& failure);
    void saveOutputs();
    bool stopRequested(int64_t now, std::string& why);
    int64_t nextDeadline(int64_t now) const;

    const SimOptions& options_;
    int master_;
    RadioSim* sim_;
    TranscriptFile& transcript_;
    const sigset_t& signalMask_;
    volatile sig_atomic_t& stopSignal_;
    LinePacer pacer_;
    std::deque<TimedByte> inbound_;   // received, not yet counted as received
    std::deque<TimedByte> outbound_;  // reply bytes with the time to write them
    bool writeBlocked_ = false;
    int64_t lastReceived_ = 0;  // arrival of the last byte, for --idle-exit
    int64_t lastActivity_ = 0;  // last byte in or out, for the page time-out
    int64_t lastStopCheck_ = 0;
};

#pragma once
#include <atomic>

#include "radio/Outcome.h"
#include "radio/RadioLine.h"
#include "radio/RadioSettings.h"

// The radio actions as jobs: each a whole sequence over the line, run to its
// end on the calling thread (the window's job thread, a command-line port's
// thread), touching nothing but its own copy of the settings. Commands go in
// the radio's order; each step only while the ones before succeeded.
//
// Cancel is looked at before every command: a job stops between two
// commands, never inside one, so the command in flight ends within its
// bound. A cancelled Connect takes the radio out of configuration mode again.
enum class JobKind { Connect, Disconnect, Read, Write, WriteAndVerify };

// Told before each command (n of m, n from 1), on the job's thread.
class IJobProgress {
public:
    virtual void Step(int command, int total) = 0;

protected:
    ~IJobProgress() = default;
};

struct JobRequest {
    JobKind kind = JobKind::Read;
    int port = 0;
    int rate = 0;
    // Write: what is sent (already checked and normalised: RadioConfig::
    // PrepareWrite). Read: the starting point, which the Read fills.
    RadioSettings settings;
    // The language of the names in a Verify's differences.
    Language language = Language::English;
};

struct JobResult {
    Outcome outcome;
    // A Read's settings: whole only when it succeeded; a caller applies
    // nothing else (a Read that failed or was cancelled leaves the fields).
    RadioSettings settings;
};

// Opens the line at the request's port and rate, runs the job and gives its
// outcome. The line is left open: whoever owns it closes it.
JobResult RunRadioJob(const JobRequest& request, IRadioLine& line, const std::atomic<bool>& cancel,
                      IJobProgress* progress = nullptr);

// The commands a Write of these settings sends, in order (what Verify reads back).
int WriteCommandCount(const RadioSettings& settings);

OutcomeAction ActionOf(JobKind kind);

// What the strip says of a running job: "Reading 12/30" ("读取中 12/30");
// "Cancelling..." once a cancel is asked for.
std::string JobProgressText(JobKind kind, int command, int total, bool cancelling, Language language);

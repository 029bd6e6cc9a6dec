// The simulated radio: a Linux program that answers the configuration tool
// over a pseudo-terminal, as the radio does over its serial line.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "PtyLink.h"
#include "Session.h"
#include "RadioLoop.h"
#include "RadioSim.h"
#include "SimFiles.h"
#include "SimOptions.h"
#include "TranscriptFile.h"

namespace {

volatile sig_atomic_t g_stopSignal = 0;

void onStopSignal(int signal) { g_stopSignal = signal; }

int fail(const std::string& message) {
    std::fprintf(stderr, "radiosim: %s\n", message.c_str());
    return 2;
}

bool loadState(const std::string& path, RadioState& state, std::string& error) {
    state = RadioState::factoryDefault();
    if (path.empty()) return true;
    std::string text;
    bool missing = false;
    if (!SimFiles::read(path, text, missing, error)) return missing;
    RadioState::LoadResult result = RadioState::fromText(text, state);
    if (!result.ok) error = path + ":" + std::to_string(result.line) + ": " + result.message;
    return result.ok;
}

// SIGINT and SIGTERM stay blocked except while the loop waits, so that a
// signal always wakes the wait instead of slipping in just before it.
sigset_t installSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    sigset_t block, waitMask;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    sigprocmask(SIG_BLOCK, &block, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    return waitMask;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) return fail(error + "\n" + SimOptions::usage());
    if (options.help) {
        std::fputs(SimOptions::usage().c_str(), stdout);
        return 0;
    }
    RadioState state;
    if (!loadState(options.statePath, state, error)) return fail(error);
    TranscriptFile transcript;
    if (!options.transcriptPath.empty() && !transcript.open(options.transcriptPath, error)) return fail(error);

    if (!BecomeSessionLeader()) return fail("no session of its own");
    sigset_t waitMask = installSignals();
    // Reply bytes are timed to fractions of a millisecond at high line rates.
    prctl(PR_SET_TIMERSLACK, 1000UL);
    // A stop file left over from an earlier run would end this one at once.
    if (!options.stopFile.empty()) ::unlink(options.stopFile.c_str());

    PtyLink pty;
    if (!pty.open(options.link, error)) return fail(error);
    TakeControllingTerminal(pty.slave());
    std::unique_ptr<RadioSim> sim;
    if (!options.rawEcho) sim = std::make_unique<RadioSim>(state, options.faults, options.echo);
    std::printf("ready %s\n", options.link.c_str());
    std::fflush(stdout);

    RadioLoop loop(options, pty.master(), sim.get(), transcript, waitMask, g_stopSignal);
    std::string why = loop.run();
    transcript.append("! stopped: " + why);
    // The link goes last: whoever waits for it to go finds the state saved.
    if (sim && !options.statePath.empty() &&
        !SimFiles::writeAtomically(options.statePath, sim->state().toText(), error))
        return fail(error);
    pty.unlink();
    bool clean = why == "stop file" || why == "signal" || why == "idle";
    return clean ? 0 : fail(why);
}

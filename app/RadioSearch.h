#pragma once
#include <windows.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "radio/RadioFinder.h"
#include "radio/RadioLink.h"

// The radio search of the main window: started on the window thread, run on
// its own thread over the window's link, which it holds until it ends. It
// reaches the window only through posted kWmAppUiEvent messages (a step, the
// end), so the window keeps painting and Escape reaches it.
class RadioSearch : private IRadioProbe {
public:
    RadioSearch(HWND window, RadioLink& link) : window_(window), link_(link) {}
    ~RadioSearch() { Stop(); }
    RadioSearch(const RadioSearch&) = delete;
    RadioSearch& operator=(const RadioSearch&) = delete;

    // Starts the search over the ports and rates in the order given; false
    // when one still runs.
    bool Start(std::vector<int> ports, std::vector<int> rates);
    // The search runs or has ended without its end being taken (Finish).
    bool IsRunning() const { return running_; }
    bool HasEnded() const { return ended_.load(); }
    // Asks the search to stop at its next step.
    void Cancel() { cancel_ = true; }
    // Waits for an ended search's thread and gives its outcome; the tick
    // count of the end is kept for EndedAt.
    FindOutcome Finish();
    // Cancels and waits for the thread.
    void Stop();
    // The port and rate being tried now.
    int TryingPort() const { return tryingPort_.load(); }
    int TryingRate() const { return tryingRate_.load(); }
    // The tick count at the last search's end.
    const std::optional<DWORD>& EndedAt() const { return endedAt_; }

private:
    // IRadioProbe, called on the search thread.
    void Trying(int port, int rate) override;
    // A port whose line cannot be set up counts as one that cannot be opened:
    // no radio can answer on it at any rate.
    bool OpenPort(int port, int rate) override { return link_.Open(port, rate).Succeeded(); }
    bool Connect() override { return ConnectAnswered(link_.Exchange()); }
    void ClosePort() override { link_.Close(); }

    HWND window_;
    RadioLink& link_;
    bool running_ = false;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> ended_{false};
    std::atomic<int> tryingPort_{0}, tryingRate_{0};
    std::optional<DWORD> endedAt_;
    FindOutcome outcome_;  // written by the search thread before it ends
};
